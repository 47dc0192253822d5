#include "player/MediaRecovery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zavi {
namespace {

using Answer = std::optional<Delay>;
constexpr Answer kLeave = std::nullopt;

Answer After(int ms) {
    return Delay(ms);
}

TEST(ParseMediaEvent, NamesThePageScriptUses) {
    EXPECT_EQ(ParseMediaEvent("playing"), MediaEvent::Playing);
    EXPECT_EQ(ParseMediaEvent("pause"), MediaEvent::ListenerPause);
    EXPECT_EQ(ParseMediaEvent("ended"), MediaEvent::Ended);
    EXPECT_EQ(ParseMediaEvent("error"), MediaEvent::Failed);
    EXPECT_EQ(ParseMediaEvent("stalled"), MediaEvent::Stalled);
    EXPECT_EQ(ParseMediaEvent("loaded"), MediaEvent::Loaded);
    EXPECT_EQ(ParseMediaEvent("play"), std::nullopt);
    EXPECT_EQ(ParseMediaEvent(""), std::nullopt);
    EXPECT_EQ(ParseMediaEvent("Playing"), std::nullopt);
}

// A station that stays down: each failed attempt doubles the wait, up to ten seconds.
TEST(MediaRecovery, BacksOffFromOneSecondDoublingToTen) {
    MediaRecovery recovery;
    EXPECT_EQ(recovery.OnEvent("a", MediaEvent::Playing), kLeave);
    const std::vector<Answer> expected{After(1000),  After(2000),  After(4000), After(8000),
                                       After(10000), After(10000), After(10000)};
    EXPECT_EQ(recovery.OnEvent("a", MediaEvent::Ended), expected[0]);
    for (std::size_t attempt = 1; attempt < expected.size(); ++attempt) {
        EXPECT_EQ(recovery.OnEvent("a", MediaEvent::Failed), expected[attempt]) << attempt;
    }
}

// Only a return that lasts starts the back-off afresh: a restart that plays a few seconds
// left over and ends again is still the same outage.
TEST(MediaRecovery, PlayingForTenSecondsStartsTheBackOffAfresh) {
    const TimePoint t0{};
    MediaRecovery recovery;
    recovery.OnEvent("a", MediaEvent::Playing, t0);
    recovery.OnEvent("a", MediaEvent::Failed, t0);
    recovery.OnEvent("a", MediaEvent::Failed, t0);
    EXPECT_EQ(recovery.OnEvent("a", MediaEvent::Failed, t0), After(4000));
    EXPECT_EQ(recovery.OnEvent("a", MediaEvent::Playing, t0 + Delay(5000)), kLeave);
    EXPECT_EQ(recovery.OnEvent("a", MediaEvent::Ended, t0 + Delay(14999)), After(8000));
    EXPECT_EQ(recovery.OnEvent("a", MediaEvent::Playing, t0 + Delay(20000)), kLeave);
    EXPECT_EQ(recovery.OnEvent("a", MediaEvent::Ended, t0 + Delay(30000)), After(1000));
}

MediaReport Report(MediaEvent event, bool live = true) {
    MediaReport report{event};
    report.live = live;
    return report;
}

// A live playlist that got its end marker replays its last seconds at each restart: that
// is no return, and is stopped (restarted later) however it is seen, loaded or playing.
TEST(MediaRecovery, AFinishedRecordingAfterALiveStreamIsNotAReturn) {
    const TimePoint t0{};
    MediaRecovery recovery;
    recovery.OnEvent("a", Report(MediaEvent::Playing), t0);
    EXPECT_EQ(recovery.OnEvent("a", Report(MediaEvent::Ended, false), t0 + Delay(60000)),
              After(1000));
    EXPECT_EQ(recovery.OnEvent("a", Report(MediaEvent::Loaded, false), t0 + Delay(61000)),
              After(2000));
    EXPECT_EQ(recovery.OnEvent("a", Report(MediaEvent::Playing, false), t0 + Delay(63000)),
              After(4000));
    EXPECT_EQ(recovery.OnEvent("a", Report(MediaEvent::Loaded), t0 + Delay(67000)), kLeave);
    EXPECT_EQ(recovery.OnEvent("a", Report(MediaEvent::Playing), t0 + Delay(67100)), kLeave);
    // A page that plays a recording from the start is left to it.
    EXPECT_EQ(recovery.OnEvent("b", Report(MediaEvent::Playing, false), t0), kLeave);
    EXPECT_EQ(recovery.OnEvent("b", Report(MediaEvent::Loaded, false), t0), kLeave);
}

// A hung connection: an element that should be playing and has stood still for ten
// seconds is restarted; one that is merely slow is left alone.
TEST(MediaRecovery, TenSecondsWithoutProgressIsStuck) {
    const struct {
        int idleMs;
        Answer answer;
    } cases[] = {{5000, kLeave}, {9999, kLeave}, {10000, After(1000)}, {40000, After(1000)}};
    for (const auto& c : cases) {
        MediaRecovery recovery;
        recovery.OnEvent("a", MediaEvent::Playing);
        MediaReport stalled{MediaEvent::Stalled};
        stalled.idle = Delay(c.idleMs);
        EXPECT_EQ(recovery.OnEvent("a", stalled, {}), c.answer) << c.idleMs;
        EXPECT_EQ(recovery.Recovering(), c.answer.has_value()) << c.idleMs;
    }
    MediaRecovery paused;
    paused.OnEvent("a", MediaEvent::Playing);
    paused.OnEvent("a", MediaEvent::ListenerPause);
    MediaReport stalled{MediaEvent::Stalled};
    stalled.idle = Delay(60000);
    EXPECT_EQ(paused.OnEvent("a", stalled, {}), kLeave);
}

// What never played is tried again only when the page asked it to play (fresh): the
// station's stream was not there yet. A player library's element is never restarted.
TEST(MediaRecovery, AStreamThatNeverCameIsTriedAgainAndALibrarysIsLeftToIt) {
    MediaRecovery recovery;
    MediaReport fresh{MediaEvent::Failed};
    fresh.fresh = true;
    EXPECT_EQ(recovery.OnEvent("a", fresh, {}), After(1000));
    EXPECT_EQ(recovery.OnEvent("a", fresh, {}), After(2000));
    EXPECT_TRUE(recovery.Recovering());
    EXPECT_EQ(recovery.OnEvent("a", MediaEvent::ListenerPause), kLeave);
    EXPECT_EQ(recovery.OnEvent("a", fresh, {}), kLeave);
    EXPECT_TRUE(recovery.ListenerPaused());

    MediaReport library{MediaEvent::Ended};
    library.library = true;
    EXPECT_EQ(recovery.OnEvent("m", Report(MediaEvent::Playing), {}), kLeave);
    EXPECT_EQ(recovery.OnEvent("m", library, {}), kLeave);
    library.fresh = true;
    EXPECT_EQ(recovery.OnEvent("n", library, {}), kLeave);
    EXPECT_EQ(recovery.Tracked(), 2u);
}

struct Case {
    const char* name;
    std::vector<MediaEvent> events;
    Answer last;
};

// What the last of a sequence of events leads to.
TEST(MediaRecovery, RestartsOnlyWhatWasPlayingAndNotPausedByTheListener) {
    using E = MediaEvent;
    const Case cases[] = {
        {"never played, fails", {E::Failed}, kLeave},
        {"never played, ends", {E::Ended}, kLeave},
        {"paused before it played", {E::ListenerPause, E::Failed}, kLeave},
        {"playing, ends", {E::Playing, E::Ended}, After(1000)},
        {"playing, fails", {E::Playing, E::Failed}, After(1000)},
        {"paused, then the stream drops", {E::Playing, E::ListenerPause, E::Ended}, kLeave},
        {"paused, then fails", {E::Playing, E::ListenerPause, E::Failed}, kLeave},
        {"paused while a restart was due", {E::Playing, E::Ended, E::ListenerPause}, kLeave},
        {"paused during the outage, which goes on",
         {E::Playing, E::Ended, E::ListenerPause, E::Failed},
         kLeave},
        {"resumed by the listener, then drops",
         {E::Playing, E::ListenerPause, E::Playing, E::Ended},
         After(1000)},
    };
    for (const Case& c : cases) {
        MediaRecovery recovery;
        Answer answer = After(-1);
        for (const MediaEvent event : c.events) {
            answer = recovery.OnEvent("a", event);
        }
        EXPECT_EQ(answer, c.last) << c.name;
    }
}

TEST(MediaRecovery, KeepsEachElementApart) {
    MediaRecovery recovery;
    recovery.OnEvent("frame1:1", MediaEvent::Playing);
    recovery.OnEvent("frame1:2", MediaEvent::Playing);
    recovery.OnEvent("frame1:2", MediaEvent::ListenerPause);
    EXPECT_EQ(recovery.OnEvent("frame1:1", MediaEvent::Ended), After(1000));
    EXPECT_EQ(recovery.OnEvent("frame1:2", MediaEvent::Ended), kLeave);
    EXPECT_EQ(recovery.OnEvent("frame1:1", MediaEvent::Failed), After(2000));
    EXPECT_EQ(recovery.OnEvent("frame2:1", MediaEvent::Failed), kLeave);
}

TEST(MediaRecovery, ForgetsThePageAndHoldsNoMoreThanItsLimit) {
    MediaRecovery recovery;
    for (std::size_t i = 0; i < MediaRecovery::kMostElements + 10; ++i) {
        recovery.OnEvent("f:" + std::to_string(i), MediaEvent::Playing);
    }
    EXPECT_EQ(recovery.Tracked(), MediaRecovery::kMostElements);
    EXPECT_EQ(recovery.OnEvent("f:0", MediaEvent::Ended), After(1000));
    EXPECT_EQ(recovery.OnEvent("f:70", MediaEvent::Ended), kLeave);  // past the limit

    recovery.Forget();
    EXPECT_EQ(recovery.Tracked(), 0u);
    EXPECT_EQ(recovery.OnEvent("f:0", MediaEvent::Failed), kLeave);
}

}  // namespace
}  // namespace zavi
