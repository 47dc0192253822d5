#include "EngineRestart.h"

namespace zavi {

Delay EngineRestart::Stopped(TimePoint now) {
    if (m_stopped && now - m_restarted >= kSteady) {
        m_backoff.Reset();
    }
    const Delay delay = m_backoff.Next();
    m_stopped = true;
    m_restarted = now + delay;
    return delay;
}

}  // namespace zavi
