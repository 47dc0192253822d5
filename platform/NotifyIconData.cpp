#include "NotifyIconData.h"

#include <algorithm>

namespace zavi {

std::uint32_t NotifyIconData::Read32(std::size_t offset) const {
    return static_cast<std::uint32_t>(m_bytes[offset]) |
           (static_cast<std::uint32_t>(m_bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(m_bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(m_bytes[offset + 3]) << 24);
}

void NotifyIconData::Write32(std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        m_bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::string NotifyIconData::szTip() const {
    const auto first = m_bytes.begin() + kNotifyIconTipOffset;
    return std::string(first, first + kNotifyIconTipLength);
}

void NotifyIconData::WriteTip(const std::string& tip) {
    std::string field = tip;
    field.push_back('\0');
    field.resize(kNotifyIconTipLength, ' ');
    std::copy(field.begin(), field.end(), m_bytes.begin() + kNotifyIconTipOffset);
}

NotifyIconData BuildNotifyIconData(std::uint32_t hWnd, std::uint32_t uID, std::uint32_t uFlags,
                                   std::uint32_t uCallbackMessage, std::uint32_t hIcon,
                                   const std::string& tip) {
    NotifyIconData record;
    record.Write32(0, kNotifyIconDataSize);
    record.Write32(4, hWnd);
    record.Write32(8, uID);
    record.Write32(12, uFlags);
    record.Write32(16, uCallbackMessage);
    record.Write32(20, hIcon);
    record.WriteTip(tip);
    return record;
}

}  // namespace zavi
