#include "EngineRestart.h"

#include <algorithm>

namespace zavi {

EngineRestart::Delay EngineRestart::Stopped(TimePoint now) {
    if (m_stopped && now - m_restarted >= kSteady) {
        m_next = kFirstDelay;
    }
    const Delay delay = m_next;
    m_next = std::min(m_next * 2, kLongestDelay);
    m_stopped = true;
    m_restarted = now + delay;
    return delay;
}

}  // namespace zavi
