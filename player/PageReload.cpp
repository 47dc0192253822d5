#include "PageReload.h"

namespace zavi {

void PageReload::OnSound(bool playing, TimePoint now) {
    if (playing == m_playing) {
        return;
    }
    if (!playing && now - m_since >= kRealReturn) {
        Back();
    }
    m_playing = playing;
    m_heard = m_heard || playing;
    m_since = now;
}

bool PageReload::Due(TimePoint now, bool listenerPaused, bool recovering) {
    if (m_playing && now - m_since >= kRealReturn) {
        Back();
    }
    if (!m_heard || m_playing || listenerPaused || recovering || now - m_since < kSilence ||
        (m_reloaded && now - m_lastReload < m_gap.Current())) {
        return false;
    }
    if (m_reloaded) {
        m_gap.Next();
    }
    m_reloaded = true;
    m_lastReload = now;
    return true;
}

void PageReload::Back() {
    m_reloaded = false;
    m_gap.Reset();
}

}  // namespace zavi
