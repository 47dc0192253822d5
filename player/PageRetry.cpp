#include "PageRetry.h"

#include <algorithm>

namespace zavi {

PageRetry::Delay PageRetry::Failed(PageFailure failure) {
    const Delay longest =
        failure == PageFailure::ClientError ? kLongestAfterClientError : kLongestDelay;
    const Delay delay = std::min(m_next, longest);
    m_next = std::min(delay * 2, longest);
    return delay;
}

}  // namespace zavi
