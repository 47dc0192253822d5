// The notification-area icon record the platform defines, in its 8-bit-character form: 88
// bytes, little-endian, built byte by byte so it is the same on every compiler and word
// size.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zavi {

constexpr std::size_t kNotifyIconDataSize = 88;
constexpr std::size_t kNotifyIconTipOffset = 24;
constexpr std::size_t kNotifyIconTipLength = 64;

constexpr std::uint32_t kNifMessage = 0x1;
constexpr std::uint32_t kNifIcon = 0x2;
constexpr std::uint32_t kNifTip = 0x4;
constexpr std::uint32_t kNimAdd = 0;
constexpr std::uint32_t kNimDelete = 2;

class NotifyIconData {
  public:
    using Bytes = std::array<std::uint8_t, kNotifyIconDataSize>;

    NotifyIconData() : m_bytes{} {}

    const Bytes& bytes() const { return m_bytes; }

    std::uint32_t cbSize() const { return Read32(0); }
    std::uint32_t hWnd() const { return Read32(4); }
    std::uint32_t uID() const { return Read32(8); }
    std::uint32_t uFlags() const { return Read32(12); }
    std::uint32_t uCallbackMessage() const { return Read32(16); }
    std::uint32_t hIcon() const { return Read32(20); }
    // All 64 bytes of the tip field, the NUL and its padding included.
    std::string szTip() const;

    void Write32(std::size_t offset, std::uint32_t value);
    void WriteTip(const std::string& tip);

  private:
    std::uint32_t Read32(std::size_t offset) const;

    Bytes m_bytes;
};

// Fills a record for Shell_NotifyIconA: the tip is followed by one NUL, padded with spaces
// to the 64-byte field and cut at 64 bytes, so tips must keep to 63 characters.
NotifyIconData BuildNotifyIconData(std::uint32_t hWnd, std::uint32_t uID, std::uint32_t uFlags,
                                   std::uint32_t uCallbackMessage, std::uint32_t hIcon,
                                   const std::string& tip);

}  // namespace zavi
