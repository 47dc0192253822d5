// EngineRestart: when a page whose web process ended under it (a crash, or out of memory)
// is loaded again in a new one. WebKitGTK's web process has been seen to crash in the
// middle of a Media Source Extensions stream (hls.js); the listener should hear the
// station again, not an error. After 1 s the first time, then 2, 4 ... up to 5 minutes
// while the page keeps crashing within a minute of each new load; a page that ran for a
// minute starts the delays afresh.
#pragma once

#include "Backoff.h"

namespace zavi {

class EngineRestart {
  public:
    static constexpr Delay kFirstDelay{1000};
    static constexpr Delay kLongestDelay{300000};
    static constexpr Delay kSteady{60000};

    // The web process ended: after how long the page is to be loaded again.
    Delay Stopped(TimePoint now);

  private:
    bool m_stopped = false;
    TimePoint m_restarted{};  // when the last new load was due
    Backoff m_backoff{kFirstDelay, kLongestDelay};
};

}  // namespace zavi
