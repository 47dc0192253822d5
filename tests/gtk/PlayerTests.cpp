#include <gtest/gtest.h>

#include "GtkTestSupport.h"
#include "LoopbackServer.h"
#include "ProgramWindowsTest.h"
#include "StationConfig.h"
#include "player/PlayerDefinition.h"
#include "player/StationAddress.h"
#include "splash/SplashDefinition.h"

namespace zavi {
namespace {

class PlayerTest : public test::ProgramWindowsTest {
  protected:
    // Starts the program's windows as the program does and lets the hand-off bring the
    // player, then waits for it to be on the screen.
    static forms::VelostanZaviRadio& StartAndHandOff() {
        ZaviRadioSplash().Show();
        HandOff();
        EXPECT_TRUE(VelostanZaviRadioInstance().IsLoaded());
        auto& player = VelostanZaviRadio();
        EXPECT_TRUE(
            test::PumpUntil([&] { return gtk_widget_get_mapped(player.hWnd()) != FALSE; }, 3000));
        return player;
    }
    // One tick of the start-up window's hand-off timer.
    static void HandOff() { zavi::VelostanZaviRadio().Show(); }
    static int StationGets(const test::LoopbackServer& server) {
        return server.GetsFor(kStationPagePath);
    }
    static void ExpectEverythingGone(const test::PumpResult& after) {
        EXPECT_FALSE(VelostanZaviRadioInstance().IsLoaded());
        EXPECT_FALSE(ZaviRadioSplashInstance().IsLoaded());
        EXPECT_TRUE(after.quitRequested);
        EXPECT_EQ(after.exitCode, 0);
        EXPECT_TRUE(test::PumpUntil(
            [] { return test::ViewableWindowsTitled("Velostan Radio") == 0; }, 3000));
    }
};

TEST_F(PlayerTest, HasItsDefinedWindowAndControls) {
    auto& player = StartAndHandOff();
    GtkWindow* window = GTK_WINDOW(player.hWnd());
    const int dpi = player.Dpi();
    EXPECT_STREQ(gtk_window_get_title(window), "Velostan Zavi Radio Player");
    // Fixed size, managed (a title bar with a minimize box), in the taskbar.
    EXPECT_FALSE(test::FactsOf(player.hWnd()).overrideRedirect);
    EXPECT_FALSE(gtk_window_get_resizable(window));
    EXPECT_FALSE(gtk_window_get_skip_taskbar_hint(window));
    EXPECT_TRUE(gtk_window_get_decorated(window));
    GdkWindow* gdkWindow = gtk_widget_get_window(player.hWnd());
    EXPECT_EQ(gdk_window_get_width(gdkWindow), TwipsToPixels(player::kClientWidth, dpi));
    EXPECT_EQ(gdk_window_get_height(gdkWindow), TwipsToPixels(player::kClientHeight, dpi));
    EXPECT_EQ(gdk_window_get_width(gdkWindow), 532);
    EXPECT_EQ(gdk_window_get_height(gdkWindow), 334);

    // Centred in the work area.
    GdkRectangle work{};
    gdk_monitor_get_workarea(gdk_display_get_monitor(gdk_display_get_default(), 0), &work);
    const auto offCentre = [&] {
        const GdkRectangle outer = test::FactsOf(player.hWnd()).outer;
        return std::max(
            std::abs((outer.x - work.x) - (work.x + work.width - outer.x - outer.width)),
            std::abs((outer.y - work.y) - (work.y + work.height - outer.y - outer.height)));
    };
    // The window manager frames it first; then it is centred, frame and all. Before the
    // frame comes it can look centred for a moment, and then move by the frame's height.
    test::PumpUntil(
        [&] { return test::FactsOf(player.hWnd()).outer.height > 334 && offCentre() <= 2; }, 5000);
    EXPECT_LE(offCentre(), 2);

    // The view is larger than the client area, which cuts it off; the button lies above it.
    const GdkRectangle view = test::BoundsIn(player.WebBrowser2().Widget());
    const GdkRectangle button = test::BoundsIn(player.Command1().Widget());
    const PixelRect page = ToPixels(player::kWebBrowser2.bounds, dpi);
    EXPECT_EQ((PixelRect{view.x, view.y, view.width, view.height}), page);
    EXPECT_EQ((PixelRect{view.x, view.y, view.width, view.height}), (PixelRect{0, 0, 665, 353}));
    EXPECT_EQ((PixelRect{button.x, button.y, button.width, button.height}),
              ToPixels(player::kCommand1.bounds, dpi));
    EXPECT_EQ((PixelRect{button.x, button.y, button.width, button.height}),
              (PixelRect{8, 0, 9, 13}));
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(player.Command1().Widget())), "X");
    // Overlay layers stack in the order they were added: the button's is the upper.
    GList* layers = gdk_window_peek_children(gdkWindow);
    const int viewIndex =
        g_list_index(layers, gtk_widget_get_parent_window(player.WebBrowser2().Widget()));
    const int buttonIndex =
        g_list_index(layers, gtk_widget_get_parent_window(player.Command1().Widget()));
    ASSERT_GE(viewIndex, 0);
    ASSERT_GE(buttonIndex, 0);
    EXPECT_LT(buttonIndex, viewIndex);  // GDK lists the topmost child first
    EXPECT_NE(player.Icon(), nullptr);
}

TEST_F(PlayerTest, LoadHidesTheSplashAndRequestsThePageOnceLaterTicksLeaveItAlone) {
    test::LoopbackServer server(test::PortOf(kStationHost));
    ASSERT_TRUE(server.Listening());
    auto& player = StartAndHandOff();
    EXPECT_FALSE(gtk_widget_get_visible(ZaviRadioSplash().hWnd()));
    EXPECT_TRUE(ZaviRadioSplashInstance().IsLoaded());  // hidden, still sweeping
    EXPECT_TRUE(test::PumpUntil([&] { return StationGets(server) == 1; }, test::kFirstLoadMs))
        << "requests seen: " << server.RequestLines().size();

    // Another window of the user's is in front: the next tick must not pull the player up.
    GtkWidget* other = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(other), "other");
    gtk_widget_show(other);
    gtk_window_present(GTK_WINDOW(other));
    ASSERT_TRUE(
        test::PumpUntil([&] { return gtk_window_is_active(GTK_WINDOW(other)) != FALSE; }, 3000));
    HandOff();
    test::PumpFor(500);
    EXPECT_TRUE(gtk_window_is_active(GTK_WINDOW(other)));
    EXPECT_FALSE(gtk_window_is_active(GTK_WINDOW(player.hWnd())));

    // A minimized player stays minimized.
    gtk_window_iconify(GTK_WINDOW(player.hWnd()));
    const auto iconified = [&] {
        return (gdk_window_get_state(gtk_widget_get_window(player.hWnd())) &
                GDK_WINDOW_STATE_ICONIFIED) != 0;
    };
    ASSERT_TRUE(test::PumpUntil(iconified, 3000));
    HandOff();
    test::PumpFor(500);
    EXPECT_TRUE(iconified());
    EXPECT_EQ(StationGets(server), 1);
    EXPECT_EQ(server.RequestLines().size(), 1u);
    gtk_widget_destroy(other);
}

TEST_F(PlayerTest, ClickingXUnloadsBothWindowsEndsTheLoopAndNothingComesBack) {
    auto& player = StartAndHandOff();
    gtk_button_clicked(GTK_BUTTON(player.Command1().Widget()));
    EXPECT_FALSE(VelostanZaviRadioInstance().IsLoaded());
    // Past the next hand-off tick: the timers went with the start-up window.
    ExpectEverythingGone(test::PumpFor(2300));
    EXPECT_FALSE(VelostanZaviRadioInstance().IsLoaded());
}

TEST_F(PlayerTest, ClosingThePlayerAnyOtherWayEndsTheProgramToo) {
    // The close box, Alt+F4 and the taskbar all ask the window to close.
    gtk_window_close(GTK_WINDOW(StartAndHandOff().hWnd()));
    ExpectEverythingGone(test::PumpFor(100));

    // As the window manager asks it: a delete event.
    test::SendDeleteEvent(StartAndHandOff().hWnd());
    ExpectEverythingGone(test::PumpFor(100));
}

TEST_F(PlayerTest, TabGoesFromTheViewToTheButtonAndBack) {
    auto& player = StartAndHandOff();
    GtkWidget* window = player.hWnd();
    GtkWidget* button = player.Command1().Widget();
    gtk_window_present(GTK_WINDOW(window));
    test::PumpUntil([&] { return gtk_window_is_active(GTK_WINDOW(window)) != FALSE; }, 3000);
    // The view is first in the tab order and takes the focus the window is given.
    EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(window)), player.WebBrowser2().Widget());
    gtk_widget_grab_focus(button);
    ASSERT_TRUE(player.Command1().HasFocus());
    EXPECT_TRUE(gtk_widget_child_focus(window, GTK_DIR_TAB_FORWARD));
    EXPECT_TRUE(player.WebBrowser2().HasFocus());
    gtk_widget_grab_focus(player.WebBrowser2().Widget());
    // The view hands the focus on once the page has none left to give.
    EXPECT_TRUE(test::PumpUntil(
        [&] {
            gtk_widget_child_focus(window, GTK_DIR_TAB_FORWARD);
            test::PumpFor(50);
            return player.Command1().HasFocus();
        },
        5000));
}

std::string Title(forms::VelostanZaviRadio& player) {
    const char* title = webkit_web_view_get_title(player.WebBrowser2().View());
    return title != nullptr ? title : "";
}

constexpr const char* kWaitingTitle = "Zavi Radio - waiting for the station";

// A host that is not there yet (a login before the network is up): the program's own page
// says it waits, never the engine's error text, and the page is loaded once it is there.
TEST_F(PlayerTest, AStationHostThatRefusesConnectionsIsTriedAgainUntilItAnswers) {
    auto& player = StartAndHandOff();
    EXPECT_TRUE(test::PumpUntil([&] { return Title(player) == kWaitingTitle; }, 3000))
        << Title(player);
    EXPECT_FALSE(test::PumpFor(2500).quitRequested);
    EXPECT_TRUE(gtk_widget_get_visible(player.hWnd()));
    test::LoopbackServer server(test::PortOf(kStationHost));
    ASSERT_TRUE(server.Listening());
    EXPECT_TRUE(test::PumpUntil([&] { return StationGets(server) == 1; }, test::kFirstLoadMs));
    EXPECT_TRUE(test::PumpUntil([&] { return Title(player).empty(); }, 3000)) << Title(player);
    test::PumpFor(2500);
    EXPECT_EQ(StationGets(server), 1);
    gtk_button_clicked(GTK_BUTTON(player.Command1().Widget()));
    ExpectEverythingGone(test::PumpFor(100));
}

// An HTTP error is no page: neither a host's 503 while it restarts nor a 404 is shown,
// and each is tried again, one request a try.
TEST_F(PlayerTest, AnHttpErrorIsTriedAgainWithTheWaitingPageShown) {
    test::LoopbackServer server(test::PortOf(kStationHost));
    ASSERT_TRUE(server.Listening());
    server.FailNext(1, 503);
    auto& player = StartAndHandOff();
    EXPECT_TRUE(test::PumpUntil([&] { return StationGets(server) == 1; }, 5000));
    EXPECT_TRUE(test::PumpUntil([&] { return Title(player) == kWaitingTitle; }, 3000));
    server.FailNext(1, 404);
    EXPECT_TRUE(test::PumpUntil([&] { return StationGets(server) == 3; }, 10000));
    EXPECT_TRUE(test::PumpUntil([&] { return Title(player).empty(); }, 3000)) << Title(player);
    test::PumpFor(2500);
    EXPECT_EQ(StationGets(server), 3);
}

TEST_F(PlayerTest, AWebEngineThatStopsBeforeAnyPageCameIsReportedAndEndsTheProgramWithCodeOne) {
    test::LoopbackServer server(test::PortOf(kStationHost));
    ASSERT_TRUE(server.Listening());
    server.AnswerNothing();  // no page ever comes
    auto& player = StartAndHandOff();
    test::ErrorDialogAnswerer answerer;
    webkit_web_view_terminate_web_process(player.WebBrowser2().View());
    EXPECT_TRUE(test::PumpUntil([&] { return !answerer.Texts().empty(); }, 5000));
    ASSERT_EQ(answerer.Texts().size(), 1u);
    EXPECT_EQ(answerer.Texts()[0].rfind("The web engine could not be started", 0), 0u)
        << answerer.Texts()[0];
    EXPECT_NE(answerer.Texts()[0].find(" Source : VLZaviRadio"), std::string::npos);
    EXPECT_EQ(answerer.Titles(), std::vector<std::string>{"zaviradio10.01.29"});
    const test::PumpResult after = test::PumpFor(100);
    EXPECT_TRUE(after.quitRequested);
    EXPECT_EQ(after.exitCode, 1);
}

// The engine's page process crashed under the station's page (seen with hls.js): a new one
// loads the page again, with no error, and the program plays on.
TEST_F(PlayerTest, APageWhoseWebProcessEndsIsLoadedAgainInANewOne) {
    test::LoopbackServer server(test::PortOf(kStationHost));
    ASSERT_TRUE(server.Listening());
    auto& player = StartAndHandOff();
    WebKitWebView* view = player.WebBrowser2().View();
    ASSERT_TRUE(test::PumpUntil(
        [&] { return StationGets(server) == 1 && !webkit_web_view_is_loading(view); }, 10000));
    test::ErrorDialogAnswerer answerer;
    webkit_web_view_terminate_web_process(view);
    EXPECT_TRUE(test::PumpUntil([&] { return StationGets(server) == 2; }, 5000));
    const test::PumpResult after = test::PumpFor(500);
    EXPECT_FALSE(after.quitRequested);
    EXPECT_TRUE(answerer.Texts().empty());
    EXPECT_TRUE(gtk_widget_get_visible(player.hWnd()));
    gtk_button_clicked(GTK_BUTTON(player.Command1().Widget()));
    ExpectEverythingGone(test::PumpFor(100));
}

}  // namespace
}  // namespace zavi
