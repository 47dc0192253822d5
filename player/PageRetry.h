// PageRetry: when a station page that did not load is loaded again. At a login the network
// may come up after the program; a host may answer 503 while it restarts. The page is
// tried again soon, then less and less often, and an answer that the page is not there
// (a 4xx: it may have moved) much less often than a host that did not answer at all.
#pragma once

#include "../platform/PageKeeper.h"
#include "Backoff.h"

namespace zavi {

class PageRetry {
  public:
    static constexpr Delay kFirstDelay{2000};
    static constexpr Delay kLongestDelay{30000};
    static constexpr Delay kLongestAfterClientError{300000};

    // A page that has not come by then never will.
    static constexpr Delay kLoadTimeout{30000};

    Delay Failed(PageFailure failure);
    // The network came back: whatever failed is worth trying at once.
    static Delay NetworkReturned() { return Delay{0}; }
    // The page came: the next failure starts the back-off afresh.
    void Loaded() { m_backoff.Reset(); }

  private:
    Backoff m_backoff{kFirstDelay, kLongestAfterClientError};
};

}  // namespace zavi
