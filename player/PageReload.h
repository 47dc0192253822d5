// PageReload: the last resort for a page that had been heard and went silent. A page whose
// player library feeds its element itself (hls.js, video.js's streaming, dash.js) cannot
// be restarted from a source, and such libraries often give up for good when the station
// is down for a while; loading the page again starts the library afresh. Never while
// sound plays, never after a pause by the listener, never while the program is bringing
// an element back itself; at most once per 15 s, doubling to 5 minutes while the station
// stays down.
#pragma once

#include "Backoff.h"

namespace zavi {

class PageReload {
  public:
    // Silent this long (after it had been heard): the page is loaded again.
    static constexpr Delay kSilence{15000};
    static constexpr Delay kFirstGap{15000};
    static constexpr Delay kLongestGap{300000};
    // Heard this long: the station is back, and the gap starts afresh.
    static constexpr Delay kRealReturn{10000};

    // The page's view began or stopped making sound.
    void OnSound(bool playing, TimePoint now);
    // Whether the page is to be loaded again now, given whether the listener paused it or
    // the program is bringing an element back itself; if so, the reload counts as done.
    bool Due(TimePoint now, bool listenerPaused, bool recovering);

  private:
    // The station was heard for a while: an outage to come starts the gaps afresh.
    void Back();

    bool m_heard = false;
    bool m_playing = false;
    TimePoint m_since{};  // of the sound, or of the silence
    TimePoint m_lastReload{};
    bool m_reloaded = false;
    Backoff m_gap{kFirstGap, kLongestGap};
};

}  // namespace zavi
