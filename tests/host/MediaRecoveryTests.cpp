#include "player/MediaRecovery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zavi {
namespace {

using Delay = MediaRecovery::Delay;
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

TEST(MediaRecovery, PlayingAgainStartsTheBackOffAfresh) {
    MediaRecovery recovery;
    recovery.OnEvent("a", MediaEvent::Playing);
    recovery.OnEvent("a", MediaEvent::Failed);
    recovery.OnEvent("a", MediaEvent::Failed);
    EXPECT_EQ(recovery.OnEvent("a", MediaEvent::Failed), After(4000));
    EXPECT_EQ(recovery.OnEvent("a", MediaEvent::Playing), kLeave);
    EXPECT_EQ(recovery.OnEvent("a", MediaEvent::Ended), After(1000));
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
