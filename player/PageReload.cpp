#include "PageReload.h"

#include <algorithm>

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
        (m_reloaded && now - m_lastReload < m_gap)) {
        return false;
    }
    if (m_reloaded) {
        m_gap = std::min(m_gap * 2, kLongestGap);
    }
    m_reloaded = true;
    m_lastReload = now;
    return true;
}

void PageReload::Back() {
    m_reloaded = false;
    m_gap = kFirstGap;
}

}  // namespace zavi
