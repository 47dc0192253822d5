// ProgressSweep: walks a bar from its minimum to its maximum, one whole value per step,
// with at least kWait before every step. It is driven by timer ticks and takes at most one
// step per tick, so the window's thread goes back to its messages between steps instead of
// waiting. Time comes from the caller, so tests can run it on a clock of their own.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace zavi {

struct SweepLimits {
    float min;
    float max;
};

class ProgressSweep {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kWait = std::chrono::milliseconds(10);

    // One tick at `now`. `readLimits` is called only when a tick begins a sweep. Returns the
    // value for the bar when this tick is due for a step. A sweep whose minimum lies above
    // its maximum is over at once, with no step and no wait.
    std::optional<std::int16_t> Tick(Clock::time_point now,
                                     const std::function<SweepLimits()>& readLimits);

    bool InSweep() const { return m_inSweep; }

  private:
    bool m_inSweep = false;
    // Wider than the bar's values, so a sweep that ends at 32767 can step past its end.
    std::int32_t m_next = 0;
    std::int32_t m_end = 0;
    Clock::time_point m_lastStep{};
};

}  // namespace zavi
