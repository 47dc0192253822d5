#include "ProgressSweep.h"

#include "../platform/Conversions.h"

namespace zavi {

std::optional<std::int16_t> ProgressSweep::Tick(Clock::time_point now,
                                                const std::function<SweepLimits()>& readLimits) {
    if (!m_inSweep) {
        const SweepLimits limits = readLimits();
        m_end = ToInteger16(limits.max);
        m_next = ToInteger16(limits.min);
        m_inSweep = m_next <= m_end;
        m_lastStep = now;  // the wait before the first value runs from here
        return std::nullopt;
    }
    if (now - m_lastStep < kWait) {
        return std::nullopt;
    }
    const auto value = static_cast<std::int16_t>(m_next);
    m_lastStep = now;
    ++m_next;
    m_inSweep = m_next <= m_end;
    return value;
}

}  // namespace zavi
