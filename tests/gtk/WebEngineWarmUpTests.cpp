#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "GtkTestSupport.h"
#include "LoopbackServer.h"
#include "ProgramWindowsTest.h"
#include "StationConfig.h"
#include "platform/gtk/WebEngineWarmUp.h"
#include "player/StationAddress.h"

namespace zavi {
namespace {

using WarmUpTest = test::ProgramWindowsTest;

TEST_F(WarmUpTest, MakesOneSpareViewAMomentLaterSetUpAsThePlayersAndAsksTheStationNothing) {
    test::LoopbackServer station(test::PortOf(kStationHost));
    ASSERT_TRUE(station.Listening());
    EXPECT_FALSE(WebEngineWarmUp::TakeSpare()) << "no warm-up, no spare";
    {
        const WebEngineWarmUp warmUp;
        EXPECT_FALSE(WebEngineWarmUp::TakeSpare()) << "the start-up window is drawn first";
        test::PumpFor(600);
        std::optional<WebViewParts> spare = WebEngineWarmUp::TakeSpare();
        ASSERT_TRUE(spare);
        EXPECT_FALSE(WebEngineWarmUp::TakeSpare()) << "taken once";

        WebKitWebView* view = spare->view.get();
        EXPECT_STREQ(webkit_web_view_get_uri(view), "about:blank");
        EXPECT_EQ(webkit_web_view_get_context(view), spare->context.get());
        // The page's storage kept, as a browser keeps it; nothing cached on disk.
        EXPECT_FALSE(webkit_web_context_is_ephemeral(spare->context.get()));
        EXPECT_EQ(webkit_web_context_get_cache_model(spare->context.get()),
                  WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
        EXPECT_EQ(webkit_web_view_get_user_content_manager(view), spare->content.get());
        EXPECT_EQ(
            webkit_website_policies_get_autoplay_policy(webkit_web_view_get_website_policies(view)),
            WEBKIT_AUTOPLAY_ALLOW);
        // A second warm-up while one runs makes nothing more.
        const WebEngineWarmUp another;
        test::PumpFor(400);
        EXPECT_FALSE(WebEngineWarmUp::TakeSpare());
    }
    EXPECT_EQ(station.RequestLines().size(), 0u);
}

TEST_F(WarmUpTest, ThePlayerTakesTheSpareAndItsPageIsAskedForOnce) {
    test::LoopbackServer station(test::PortOf(kStationHost));
    ASSERT_TRUE(station.Listening());
    const WebEngineWarmUp warmUp;
    test::PumpFor(600);
    auto& player = VelostanZaviRadio();
    EXPECT_FALSE(WebEngineWarmUp::TakeSpare()) << "the player took it";
    // The view says its new address once the engine has taken the load on (later than the
    // request, on a busy machine).
    const auto uri = [&] {
        const char* address = webkit_web_view_get_uri(player.WebBrowser2().View());
        return std::string(address != nullptr ? address : "");
    };
    EXPECT_TRUE(test::PumpUntil(
        [&] {
            return station.GetsFor(kStationPagePath) == 1 &&
                   uri().find(kStationPagePath) != std::string::npos;
        },
        test::kFirstLoadMs))
        << uri();
    test::PumpFor(200);
    EXPECT_EQ(station.GetsFor(kStationPagePath), 1);
}

}  // namespace
}  // namespace zavi
