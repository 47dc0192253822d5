#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PageProtocol.h"
#include "platform/TipText.h"
#include "player/RadioControls.h"
#include "player/StationKeeper.h"

namespace zavi {
namespace {

using namespace std::chrono_literals;
const TimePoint kStart{};

std::vector<std::string> Captions(const std::vector<MenuEntry>& menu) {
    std::vector<std::string> captions;
    for (const MenuEntry& entry : menu) {
        captions.push_back(MenuText(entry.caption, entry.argument));
    }
    return captions;
}

TEST(RadioControlsTest, TheMenuSaysWhatPlaysAndOffersWhatTheListenerCanDo) {
    RadioControls radio(100, false);
    EXPECT_EQ(Captions(radio.Menu(kStart, false, false)),
              (std::vector<std::string>{"Pause", "Mute", "Sleep timer", "Start at login"}));
    radio.SetPageTitle("Radio Nepal");
    EXPECT_EQ(MenuText(radio.Tip(kStart, "Velostan Radio").caption, radio.Tip(kStart, "").argument),
              "Radio Nepal");
    radio.SetNowPlaying("Kantipur FM", "Samachar");  // the media session says it best
    radio.TogglePause();
    EXPECT_EQ(Captions(radio.Menu(kStart, true, true)),
              (std::vector<std::string>{"Kantipur FM - Samachar", "Play", "Mute", "Louder",
                                        "Softer", "Sleep timer", "Start at login"}));
    EXPECT_TRUE(radio.State().paused);
    radio.PageGone();
    EXPECT_EQ(radio.NowPlaying(), "");
    // Play asks silent media back once.
    radio.TogglePause();
    EXPECT_TRUE(radio.State().resume);
    radio.Told();
    EXPECT_FALSE(radio.State().resume);
    // A pause the listener made in the page is the radio's: the menu offers Play, and Play
    // asks the page's media back.
    radio.PagePaused(true);
    EXPECT_EQ(Captions(radio.Menu(kStart, false, false))[0], "Play");
    EXPECT_FALSE(radio.State().paused);
    radio.TogglePause();
    EXPECT_FALSE(radio.Paused());
    EXPECT_TRUE(radio.State().resume);
}

TEST(RadioControlsTest, SilenceTheListenerMadeIsNoSilenceToMend) {
    RadioControls radio(5, false);
    StationKeeper keeper(radio, [] {});
    const auto silentSince = TimePoint{} + 1min;
    keeper.OnSound(true, TimePoint{});
    keeper.OnSound(false, silentSince);
    radio.Scroll(-1, kStart);  // the volume at nothing
    EXPECT_FALSE(keeper.ReloadDue(silentSince + 10min));
    radio.Scroll(1, kStart);
    radio.ToggleMute();
    EXPECT_FALSE(keeper.ReloadDue(silentSince + 10min));
    radio.ToggleMute();
    EXPECT_TRUE(keeper.ReloadDue(silentSince + 10min));
}

TEST(RadioControlsTest, TheWheelStepsTheVolumeWithinItsRangeAndShowsItAWhile) {
    RadioControls radio(90, false);
    for (const auto& [steps, volume] :
         std::vector<std::pair<int, int>>{{1, 95}, {5, 100}, {-3, 85}, {-40, 0}}) {
        radio.Scroll(steps, kStart);
        EXPECT_EQ(radio.State().volume, volume);
    }
    EXPECT_EQ(MenuText(radio.Menu(kStart, false, false)[0].caption,
                       radio.Menu(kStart, false, false)[0].argument),
              "Volume: 0 %");
    EXPECT_EQ(radio.NextTick(kStart), RadioControls::kLevelShown);
    radio.Tick(kStart + RadioControls::kLevelShown);
    EXPECT_EQ(radio.NextTick(kStart + RadioControls::kLevelShown), std::nullopt);
    EXPECT_EQ(Captions(radio.Menu(kStart + 3s, false, false))[0], "Pause");
}

TEST(RadioControlsTest, TheSleepTimerFadesForTenSecondsThenPauses) {
    RadioControls radio(80, false);
    radio.SetSleep(15, kStart);
    EXPECT_EQ(Captions(radio.Menu(kStart + 61s, false, false))[2], "Sleep timer: 14 min left");
    const auto end = kStart + 15min;
    EXPECT_FALSE(radio.Tick(end - 11s));
    EXPECT_EQ(radio.State().volume, 80);
    EXPECT_TRUE(radio.Tick(end - 5s));
    EXPECT_EQ(radio.State().volume, 40);
    EXPECT_EQ(radio.NextTick(end - 5s), RadioControls::kFadeStep);
    EXPECT_TRUE(radio.Tick(end));
    EXPECT_TRUE(radio.Paused());
    EXPECT_EQ(radio.State().volume, 80);  // the listener's own level for the next Play
    EXPECT_EQ(radio.NextTick(end), std::nullopt);
}

TEST(PageProtocolTest, TheScriptIsHandedItsSettingsAndMessagesAreAnswered) {
    const page::ScriptSettings settings{
        page::Transport::External, page::ScriptPart::All, "report", "listen", "token",
        {true, 45, false, false}};
    const std::string call = page::ScriptCall("(function (s) {})", settings);
    for (const char* part : {"\"transport\":\"external\"", "\"part\":\"all\"",
                             "\"mostElements\":64", "\"stillMs\":5000", "\"separator\":\"\\u001f\"",
                             "\"element\":1", "\"paused\":true", "\"volume\":0.45"}) {
        EXPECT_NE(call.find(part), std::string::npos) << part;
    }
    RadioControls radio(100, false);
    int heard = 0;
    StationKeeper keeper(radio, [&] { ++heard; });
    const auto now = TimePoint{};
    EXPECT_EQ(page::Answer(keeper,
                           "media\x1f"
                           "a:1\x1fplaying\x1ftrue\x1f"
                           "false\x1f"
                           "false\x1f"
                           "0",
                           now),
              -1);
    EXPECT_EQ(page::Answer(keeper,
                           "media\x1f"
                           "a:1\x1f"
                           "ended\x1ftrue\x1f"
                           "false\x1f"
                           "false\x1f"
                           "0",
                           now),
              1000);
    EXPECT_EQ(page::Answer(keeper,
                           "media\x1f"
                           "a:1\x1f"
                           "ended",
                           now),
              -1);  // fields missing
    EXPECT_EQ(page::Answer(keeper,
                           "media\x1f\x1f"
                           "ended\x1ftrue\x1f"
                           "false\x1f"
                           "false\x1f"
                           "0",
                           now),
              -1);
    const int before = heard;
    EXPECT_EQ(page::Answer(keeper, "title\x1fKantipur\x1f", now), 0);
    EXPECT_EQ(radio.NowPlaying(), "Kantipur");
    EXPECT_EQ(heard, before + 1);
}

TEST(TipTextTest, ATipIsCutAtAWholeCharacter) {
    // "नेपाली" is न े प ा ल ी: a vowel sign never dangles, nor a conjunct's half.
    const std::u16string nepali = u"\u0928\u0947\u092A\u093E\u0932\u0940";
    EXPECT_EQ(CutAtCharacter(nepali, 6), nepali);
    EXPECT_EQ(CutAtCharacter(nepali, 4), nepali.substr(0, 4));
    EXPECT_EQ(CutAtCharacter(nepali, 3), nepali.substr(0, 2));
    EXPECT_EQ(CutAtCharacter(nepali, 1), u"");
    const std::u16string conjunct = u"\u0915\u094D\u0937\u093E";  // क्षा
    EXPECT_EQ(CutAtCharacter(conjunct, 2), u"");
    EXPECT_EQ(CutAtCharacter(u"ab\U0001F4FB", 3), u"ab");  // not inside a surrogate pair
}

}  // namespace
}  // namespace zavi
