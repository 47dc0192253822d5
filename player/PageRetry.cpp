#include "PageRetry.h"

namespace zavi {

Delay PageRetry::Failed(PageFailure failure) {
    return m_backoff.Next(failure == PageFailure::ClientError ? kLongestAfterClientError
                                                              : kLongestDelay);
}

}  // namespace zavi
