#include "splash/ProgressSweep.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/ProgramError.h"

namespace zavi {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

// Drives a sweep on a clock of the test's own, a tick every `tickEvery`, and keeps what
// the bar would have been given and when.
class SweepDriver {
  public:
    explicit SweepDriver(SweepLimits limits) : m_limits(limits) {}

    void TickFor(ProgressSweep::Clock::duration span, ProgressSweep::Clock::duration tickEvery) {
        const auto end = m_now + span;
        while (m_now < end) {
            Tick();
            m_now += tickEvery;
        }
    }
    std::optional<std::int16_t> Tick() {
        const auto value = m_sweep.Tick(m_now, [this] {
            ++limitReads;
            return m_limits;
        });
        if (value) {
            values.push_back(*value);
            times.push_back(m_now);
        }
        return value;
    }
    // Ticks every millisecond from a sweep's beginning to its last step.
    void SweepOnce() {
        Tick();
        for (int i = 0; i < 1'000'000 && m_sweep.InSweep(); ++i) {
            m_now += milliseconds(1);
            Tick();
        }
        m_now += milliseconds(1);
    }
    void Advance(ProgressSweep::Clock::duration span) { m_now += span; }
    void SetLimits(SweepLimits limits) { m_limits = limits; }
    const ProgressSweep& Sweep() const { return m_sweep; }

    std::vector<std::int16_t> values;
    std::vector<ProgressSweep::Clock::time_point> times;
    int limitReads = 0;

  private:
    ProgressSweep m_sweep;
    SweepLimits m_limits;
    ProgressSweep::Clock::time_point m_now{};
};

std::vector<std::int16_t> Range(int first, int last) {
    std::vector<std::int16_t> values;
    for (int v = first; v <= last; ++v) {
        values.push_back(static_cast<std::int16_t>(v));
    }
    return values;
}

TEST(ProgressSweep, GivesZeroToHundredInOrderWithTheWaitBeforeEveryValue) {
    SweepDriver driver({0.0f, 100.0f});
    // Ticks every millisecond, as the timer asks for: only one in ten is due for a step.
    driver.TickFor(milliseconds(1011), milliseconds(1));
    EXPECT_EQ(driver.values, Range(0, 100));
    ASSERT_EQ(driver.times.size(), 101u);
    EXPECT_EQ(driver.times.front().time_since_epoch(), milliseconds(10));
    for (std::size_t i = 1; i < driver.times.size(); ++i) {
        EXPECT_EQ(driver.times[i] - driver.times[i - 1], milliseconds(10)) << "step " << i;
    }
    EXPECT_EQ(driver.limitReads, 1);
    EXPECT_FALSE(driver.Sweep().InSweep());
}

TEST(ProgressSweep, ATickThatComesEarlyDoesNothingOneThatIsDueStepsOnce) {
    SweepDriver driver({0.0f, 100.0f});
    EXPECT_FALSE(driver.Tick());  // begins the sweep
    driver.Advance(microseconds(9999));
    EXPECT_FALSE(driver.Tick());
    driver.Advance(microseconds(1));
    EXPECT_EQ(driver.Tick(), std::int16_t{0});
    EXPECT_FALSE(driver.Tick());  // the wait starts again from each step
    // A late tick takes one step, not the ones it missed.
    driver.Advance(milliseconds(500));
    EXPECT_EQ(driver.Tick(), std::int16_t{1});
    EXPECT_FALSE(driver.Tick());
    EXPECT_EQ(driver.values, Range(0, 1));
}

TEST(ProgressSweep, SlowTicksStillGiveEveryValueOnePerTick) {
    SweepDriver driver({0.0f, 100.0f});
    // A coarse 15.6 ms platform timer: every tick is due, so 101 ticks after the first.
    driver.TickFor(microseconds(15600 * 102), microseconds(15600));
    EXPECT_EQ(driver.values, Range(0, 100));
}

TEST(ProgressSweep, RepeatsFromTheMinimumAndReadsTheLimitsOncePerSweep) {
    SweepDriver driver({3.0f, 5.0f});
    driver.SweepOnce();
    EXPECT_EQ(driver.values, Range(3, 5));
    EXPECT_EQ(driver.limitReads, 1);
    // Limits changed during a sweep apply from the next one on.
    EXPECT_FALSE(driver.Tick());  // begins sweep two
    EXPECT_EQ(driver.limitReads, 2);
    driver.SetLimits({7.0f, 8.0f});
    for (int i = 0; i < 3; ++i) {
        driver.Advance(milliseconds(10));
        driver.Tick();
    }
    EXPECT_EQ(driver.limitReads, 2);
    EXPECT_FALSE(driver.Sweep().InSweep());
    driver.SweepOnce();
    EXPECT_EQ(driver.limitReads, 3);
    EXPECT_EQ(driver.values, (std::vector<std::int16_t>{3, 4, 5, 3, 4, 5, 7, 8}));
}

TEST(ProgressSweep, AMinimumAboveTheMaximumMakesNoStepAndNoWait) {
    SweepDriver driver({10.0f, 9.0f});
    for (int i = 0; i < 50; ++i) {
        EXPECT_FALSE(driver.Tick());
        EXPECT_FALSE(driver.Sweep().InSweep());
        driver.Advance(milliseconds(20));
    }
    EXPECT_TRUE(driver.values.empty());
    EXPECT_EQ(driver.limitReads, 50);  // every tick is a whole, empty sweep
}

TEST(ProgressSweep, ASingleValueRangeGivesThatValueAfterOneWait) {
    SweepDriver driver({42.0f, 42.0f});
    driver.SweepOnce();
    EXPECT_EQ(driver.values, Range(42, 42));
    EXPECT_FALSE(driver.Sweep().InSweep());
}

TEST(ProgressSweep, FractionalLimitsAreRoundedHalfToEven) {
    struct Case {
        SweepLimits limits;
        int first;
        int last;
    };
    for (const Case& c :
         {Case{{0.5f, 2.5f}, 0, 2}, Case{{1.5f, 3.5f}, 2, 4}, Case{{-0.5f, 1.4f}, 0, 1},
          Case{{-1.5f, 0.6f}, -2, 1}, Case{{2.49f, 4.51f}, 2, 5}}) {
        SweepDriver driver(c.limits);
        driver.SweepOnce();
        ASSERT_FALSE(driver.values.empty()) << c.limits.min << ".." << c.limits.max;
        EXPECT_EQ(driver.values.front(), c.first) << c.limits.min;
        EXPECT_EQ(driver.values.back(), c.last) << c.limits.max;
    }
}

TEST(ProgressSweep, EndsCleanlyAtTheTopOfTheSixteenBitRange) {
    SweepDriver driver({32765.0f, 32767.0f});
    driver.SweepOnce();
    EXPECT_EQ(driver.values, Range(32765, 32767));
    EXPECT_FALSE(driver.Sweep().InSweep());
    // The next sweep starts from the minimum again.
    driver.TickFor(milliseconds(11), milliseconds(1));
    ASSERT_EQ(driver.values.size(), 4u);
    EXPECT_EQ(driver.values.back(), 32765);
}

TEST(ProgressSweep, ALimitOutsideSixteenBitsRaisesOverflow) {
    for (const SweepLimits limits : {SweepLimits{0.0f, 32768.0f}, SweepLimits{-32769.0f, 0.0f}}) {
        SweepDriver driver(limits);
        EXPECT_THROW(driver.Tick(), ProgramError);
    }
}

}  // namespace
}  // namespace zavi
