// The program's waits and moments. Decisions take the time as a value, never read a clock,
// so that tests can give them any.
#pragma once

#include <chrono>

namespace zavi {

using Clock = std::chrono::steady_clock;
using Delay = std::chrono::milliseconds;
using TimePoint = Clock::time_point;

}  // namespace zavi
