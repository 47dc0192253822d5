// Backoff: a wait that starts short and doubles with each use, up to a longest, until the
// trouble it waits out is over. Each decision keeps its own rule for when that is.
#pragma once

#include <algorithm>

#include "../platform/Clock.h"

namespace zavi {

class Backoff {
  public:
    constexpr Backoff(Delay first, Delay longest) : m_first(first), m_longest(longest) {}

    // The wait to use now; the next is twice as long, up to the longest (or up to a
    // shorter longest for this trouble).
    Delay Next() { return Next(m_longest); }
    Delay Next(Delay longest) {
        const Delay delay = std::min(m_next, longest);
        m_next = std::min(delay * 2, longest);
        return delay;
    }
    // The wait Next would give, without using it.
    Delay Current() const { return m_next; }
    void Reset() { m_next = m_first; }

  private:
    Delay m_first;
    Delay m_longest;
    Delay m_next = m_first;
};

}  // namespace zavi
