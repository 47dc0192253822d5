#include <gtest/gtest.h>

#include <vector>

#include "player/EngineRestart.h"
#include "player/PageReload.h"
#include "player/PageRetry.h"

namespace zavi {
namespace {

using Delay = std::chrono::milliseconds;

std::vector<long long> Delays(PageRetry& retry, PageFailure failure, int count) {
    std::vector<long long> delays;
    for (int i = 0; i < count; ++i) {
        delays.push_back(retry.Failed(failure).count());
    }
    return delays;
}

TEST(PageRetry, BacksOffFromTwoSecondsToThirtyOrFiveMinutesForAMissingPage) {
    PageRetry retry;
    EXPECT_EQ(Delays(retry, PageFailure::Unreachable, 6),
              (std::vector<long long>{2000, 4000, 8000, 16000, 30000, 30000}));
    retry.Loaded();
    EXPECT_EQ(Delays(retry, PageFailure::ServerError, 2), (std::vector<long long>{2000, 4000}));
    retry.Loaded();
    EXPECT_EQ(Delays(retry, PageFailure::ClientError, 10),
              (std::vector<long long>{2000, 4000, 8000, 16000, 32000, 64000, 128000, 256000, 300000,
                                      300000}));
    // The host comes back but answers nothing: back within thirty seconds again.
    EXPECT_EQ(retry.Failed(PageFailure::Unreachable), Delay(30000));
}

TimePoint At(int seconds) {
    return TimePoint{} + std::chrono::seconds(seconds);
}

// The last resort: a page that had been heard and went silent is loaded again after 15 s,
// then no more often than every 15, 30, 60 s ... 5 min while the station stays down.
TEST(PageReload, LoadsASilentPageAgainWithGapsDoublingToFiveMinutes) {
    PageReload reload;
    EXPECT_FALSE(reload.Due(At(100), false, false));  // never heard: nothing to bring back
    reload.OnSound(true, At(0));
    EXPECT_FALSE(reload.Due(At(100), false, false));  // sound plays
    reload.OnSound(false, At(100));
    EXPECT_FALSE(reload.Due(At(114), false, false));
    std::vector<int> reloads;
    for (int t = 114; t < 1200; ++t) {
        if (reload.Due(At(t), false, false)) {
            reloads.push_back(t);
        }
    }
    EXPECT_EQ(reloads, (std::vector<int>{115, 130, 160, 220, 340, 580, 880, 1180}));
}

TEST(PageReload, NeverAfterTheListenersPauseOrWhileTheProgramBringsAnElementBack) {
    PageReload reload;
    reload.OnSound(true, At(0));
    reload.OnSound(false, At(10));
    EXPECT_FALSE(reload.Due(At(60), true, false));
    EXPECT_FALSE(reload.Due(At(60), false, true));
    EXPECT_TRUE(reload.Due(At(60), false, false));
}

TEST(PageReload, ALastingReturnStartsTheGapsAfresh) {
    PageReload reload;
    reload.OnSound(true, At(0));
    reload.OnSound(false, At(10));
    EXPECT_TRUE(reload.Due(At(25), false, false));
    EXPECT_TRUE(reload.Due(At(40), false, false));  // next gap 30 s
    reload.OnSound(true, At(41));                   // back, but only for a moment
    reload.OnSound(false, At(45));
    EXPECT_FALSE(reload.Due(At(69), false, false));
    EXPECT_TRUE(reload.Due(At(70), false, false));  // the 30 s gap still holds; next 60
    reload.OnSound(true, At(71));
    reload.OnSound(false, At(90));  // heard for 19 s: a real return
    EXPECT_FALSE(reload.Due(At(104), false, false));
    EXPECT_TRUE(reload.Due(At(105), false, false));
    EXPECT_TRUE(reload.Due(At(120), false, false));
}

// A page whose web process keeps crashing soon after each new load waits longer each time;
// one that ran for a minute is loaded again after a second once more.
TEST(EngineRestart, WaitsASecondDoublingToFiveMinutesWhileThePageKeepsCrashing) {
    EngineRestart restart;
    std::vector<long long> delays;
    int t = 0;
    for (int i = 0; i < 11; ++i) {
        const Delay delay = restart.Stopped(At(t));
        delays.push_back(delay.count());
        t += static_cast<int>(delay.count() / 1000) + 59;  // it crashes again 59 s in
    }
    EXPECT_EQ(delays, (std::vector<long long>{1000, 2000, 4000, 8000, 16000, 32000, 64000, 128000,
                                              256000, 300000, 300000}));
    EXPECT_EQ(restart.Stopped(At(t + 1)), Delay(1000));  // it ran for 60 s this time
    EXPECT_EQ(restart.Stopped(At(t + 2)), Delay(2000));
}

}  // namespace
}  // namespace zavi
