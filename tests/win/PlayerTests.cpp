#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "LoopbackServer.h"
#include "StationConfig.h"
#include "ProgramWindowsTest.h"
#include "WineTestSupport.h"
#include "platform/ProgramError.h"
#include "player/PlayerDefinition.h"
#include "player/StationAddress.h"
#include "player/VelostanZaviRadio.h"
#include "splash/SplashDefinition.h"
#include "splash/ZaviRadioSplash.h"

namespace zavi {
namespace {

// Pumps messages until the condition holds or the time is up; says whether it held.
bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!condition()) {
        if (GetTickCount64() > end) {
            return false;
        }
        test::PumpMessagesFor(10);
    }
    return true;
}

class PlayerTest : public test::ProgramWindowsTest {
  protected:
    // One tick of the start-up window's hand-off timer, as the platform delivers it.
    static void HandOff() {
        SendMessageW(ZaviRadioSplash().hWnd(), WM_TIMER, splash::kTimer2.id, 0);
    }
    // Starts the program's windows as WinMain does and lets the hand-off bring the player.
    static forms::VelostanZaviRadio& StartAndHandOff() {
        ZaviRadioSplash().Show();
        HandOff();
        EXPECT_TRUE(VelostanZaviRadioInstance().IsLoaded());
        return VelostanZaviRadio();
    }
    static int StationGets(const test::LoopbackServer& server) {
        return server.GetsFor(kStationPagePath);
    }
};

TEST_F(PlayerTest, HasItsDefinedWindowAndControls) {
    auto& player = StartAndHandOff();
    const HWND window = player.hWnd();
    const int dpi = player.Dpi();
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Velostan Zavi Radio Player");
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, TwipsToPixels(player::kClientWidth, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(player::kClientHeight, dpi));

    // Fixed size, title bar and minimize box, in the taskbar.
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    // Centred in the work area.
    RECT outer{}, work{};
    GetWindowRect(window, &outer);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((outer.left - work.left) - (work.right - outer.right)), 1);
    EXPECT_LE(std::abs((outer.top - work.top) - (work.bottom - outer.bottom)), 1);

    // The button: caption "X", its twips at this DPI, over the browser's corner.
    const HWND button = player.Command1().hWnd();
    GetWindowTextW(button, title, 64);
    EXPECT_STREQ(title, L"X");
    RECT box{};
    GetWindowRect(button, &box);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
    const PixelRect expected = ToPixels(player::kCommand1.bounds, dpi);
    EXPECT_EQ(box.left, expected.left);
    EXPECT_EQ(box.top, expected.top);
    EXPECT_EQ(box.right - box.left, expected.width);
    EXPECT_EQ(box.bottom - box.top, expected.height);
    const POINT middle{box.left + 2, box.top + 2};
    EXPECT_EQ(ChildWindowFromPoint(window, middle), button);

    // The browser is larger than the client area, which cuts it off.
    const HWND browser = player.WebBrowser2().hWnd();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(GetParent(browser), window);
    GetWindowRect(browser, &box);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
    const PixelRect page = ToPixels(player::kWebBrowser2.bounds, dpi);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right - box.left, page.width);
    EXPECT_EQ(box.bottom - box.top, page.height);
    EXPECT_GT(page.width, client.right);
    EXPECT_GT(page.height, client.bottom);
    EXPECT_EQ(player.Icon(), ZaviRadioSplash().Icon());
}

TEST_F(PlayerTest, LoadHidesTheSplashAndRequestsThePageOnceLaterTicksLeaveItAlone) {
    test::LoopbackServer server(test::PortOf(kStationHost));
    ASSERT_TRUE(server.Listening());
    auto& player = StartAndHandOff();
    EXPECT_TRUE(IsWindowVisible(player.hWnd()));
    EXPECT_FALSE(IsWindowVisible(ZaviRadioSplash().hWnd()));
    EXPECT_TRUE(ZaviRadioSplashInstance().IsLoaded());  // hidden, still sweeping
    EXPECT_TRUE(PumpUntil([&] { return StationGets(server) == 1; }, 10000))
        << "requests seen: " << server.RequestLines().size();

    // Another window of the user's is in front: the next tick must not pull the player up.
    const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                       10, 200, 100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    test::PumpMessagesFor(200);
    const HWND front = GetForegroundWindow();
    ASSERT_NE(front, player.hWnd());
    HandOff();
    test::PumpMessagesFor(500);
    EXPECT_EQ(GetForegroundWindow(), front);

    // A minimized player stays minimized.
    ShowWindow(player.hWnd(), SW_MINIMIZE);
    HandOff();
    test::PumpMessagesFor(500);
    EXPECT_TRUE(IsIconic(player.hWnd()));
    EXPECT_EQ(StationGets(server), 1);
    EXPECT_EQ(server.RequestLines().size(), 1u);
    DestroyWindow(other);
}

// The shell's report of a click on the icon, as it reaches the start-up window.
void ClickTrayIcon(UINT mouseMessage) {
    SendMessageW(ZaviRadioSplashInstance()().hWnd(), splash::kTrayIcon.callbackMessage,
                 splash::kTrayIcon.id, mouseMessage);
}

// Picks an item of the next popup menu from another thread, with the keyboard, as a user
// would: the menu runs a loop of its own on the window's thread until then.
class MenuPicker {
  public:
    explicit MenuPicker(std::vector<WPARAM> keys)
        : m_thread([this, keys] {
              const ULONGLONG end = GetTickCount64() + 5000;
              HWND menu = nullptr;
              while ((menu = FindWindowW(L"#32768", nullptr)) == nullptr ||
                     !IsWindowVisible(menu)) {
                  if (GetTickCount64() > end) {
                      return;
                  }
                  Sleep(5);
              }
              m_seen = true;
              for (const WPARAM key : keys) {
                  PostMessageW(menu, WM_KEYDOWN, key, 0);
              }
          }) {}
    ~MenuPicker() { m_thread.join(); }
    MenuPicker(const MenuPicker&) = delete;
    MenuPicker& operator=(const MenuPicker&) = delete;
    bool Seen() const { return m_seen; }

  private:
    std::atomic<bool> m_seen{false};
    std::thread m_thread;
};

TEST_F(PlayerTest, TheTrayIconBringsThePlayerBackAndItsMenuShowsItOrQuits) {
    // While only the start-up window is up, a click changes nothing.
    ZaviRadioSplash().Show();
    ClickTrayIcon(WM_LBUTTONUP);
    test::PumpMessagesFor(50);
    EXPECT_FALSE(VelostanZaviRadioInstance().IsLoaded());
    EXPECT_TRUE(IsWindowVisible(ZaviRadioSplash().hWnd()));

    HandOff();
    auto& player = VelostanZaviRadio();
    // The window manager's word on a minimize comes back a moment later: wait for it.
    const auto minimize = [&] {
        ShowWindow(player.hWnd(), SW_MINIMIZE);
        test::PumpMessagesFor(300);
        return IsIconic(player.hWnd()) != FALSE;
    };
    const auto restored = [&] { return PumpUntil([&] { return !IsIconic(player.hWnd()); }, 2000); };
    ASSERT_TRUE(minimize());
    ClickTrayIcon(WM_LBUTTONUP);
    EXPECT_TRUE(restored());
    EXPECT_TRUE(IsWindowVisible(player.hWnd()));

    // "Show player", above "Quit" under the radio's items, does the same.
    ASSERT_TRUE(minimize());
    {
        MenuPicker picker({VK_UP, VK_UP, VK_RETURN});
        ClickTrayIcon(WM_RBUTTONUP);
        EXPECT_TRUE(picker.Seen());
    }
    EXPECT_TRUE(restored());
    EXPECT_TRUE(VelostanZaviRadioInstance().IsLoaded());

    // A menu closed with Escape does nothing.
    {
        MenuPicker picker({VK_ESCAPE});
        ClickTrayIcon(WM_RBUTTONUP);
        EXPECT_TRUE(picker.Seen());
    }
    test::PumpMessagesFor(50);
    EXPECT_TRUE(VelostanZaviRadioInstance().IsLoaded());
    EXPECT_TRUE(ZaviRadioSplashInstance().IsLoaded());

    // "Quit", the last, closes as "X" does: both windows unloaded, the icon withdrawn,
    // and the loop told to end with 0.
    const std::size_t callsBefore = test::Recorded().notifyCalls.size();
    {
        MenuPicker picker({VK_UP, VK_RETURN});
        ClickTrayIcon(WM_RBUTTONUP);
        EXPECT_TRUE(picker.Seen());
    }
    EXPECT_FALSE(VelostanZaviRadioInstance().IsLoaded());
    EXPECT_FALSE(ZaviRadioSplashInstance().IsLoaded());
    ASSERT_EQ(test::Recorded().notifyCalls.size(), callsBefore + 1);
    EXPECT_EQ(test::Recorded().notifyCalls.back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_TRUE(test::PumpMessagesFor(50).quitPosted);
}

TEST_F(PlayerTest, ClickingXUnloadsBothWindowsEndsTheLoopAndNothingComesBack) {
    auto& player = StartAndHandOff();
    const HWND splashWindow = ZaviRadioSplash().hWnd();
    SendMessageW(player.Command1().hWnd(), BM_CLICK, 0, 0);
    EXPECT_FALSE(VelostanZaviRadioInstance().IsLoaded());
    EXPECT_FALSE(ZaviRadioSplashInstance().IsLoaded());
    EXPECT_FALSE(IsWindow(splashWindow));
    // The notification icon went with the start-up window.
    ASSERT_FALSE(test::Recorded().notifyCalls.empty());
    EXPECT_EQ(test::Recorded().notifyCalls.back().message, static_cast<DWORD>(NIM_DELETE));
    // The timers went too: past the next hand-off, no player is back.
    const test::PumpResult after = test::PumpMessagesFor(2300);
    EXPECT_TRUE(after.quitPosted);
    EXPECT_FALSE(VelostanZaviRadioInstance().IsLoaded());
    EXPECT_FALSE(Form::AnyLoaded());
}

// Explorer restarted: the icon is added again, or it would be gone for good. A middle
// click pauses the radio, and the menu then offers Play.
TEST_F(PlayerTest, TheIconComesBackWhenExplorerRestartsAndAMiddleClickPauses) {
    auto& player = StartAndHandOff();
    const std::size_t before = test::Recorded().notifyCalls.size();
    SendMessageW(ZaviRadioSplash().hWnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_EQ(test::Recorded().notifyCalls.size(), before + 1);
    EXPECT_EQ(test::Recorded().notifyCalls.back().message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(test::Recorded().notifyCalls.back().data.hIcon, ZaviRadioSplash().Icon());

    const auto captions = [&] {
        std::vector<std::string> words;
        for (const MenuEntry& entry : player.TrayMenu()) {
            words.push_back(entry.caption);
        }
        return words;
    };
    EXPECT_EQ(captions()[0], "Pause");
    ClickTrayIcon(WM_MBUTTONUP);
    EXPECT_EQ(captions()[0], "Play");
    // No wheel reaches a Windows icon: the menu has Louder and Softer.
    EXPECT_EQ(captions()[2], "Louder");
}

TEST_F(PlayerTest, ClosingThePlayerAnyOtherWayEndsTheProgramToo) {
    auto& player = StartAndHandOff();
    SendMessageW(player.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(VelostanZaviRadioInstance().IsLoaded());
    EXPECT_FALSE(ZaviRadioSplashInstance().IsLoaded());
    EXPECT_TRUE(test::PumpMessagesFor(50).quitPosted);

    // The close box of the title bar goes through WM_SYSCOMMAND.
    auto& again = StartAndHandOff();
    SendMessageW(again.hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(VelostanZaviRadioInstance().IsLoaded());
    EXPECT_FALSE(ZaviRadioSplashInstance().IsLoaded());
    EXPECT_TRUE(test::PumpMessagesFor(50).quitPosted);
}

TEST_F(PlayerTest, AStationHostThatRefusesConnectionsLeavesTheProgramRunning) {
    // Nothing listens on the station's port in this test.
    auto& player = StartAndHandOff();
    const test::PumpResult running = test::PumpMessagesFor(2500);
    EXPECT_FALSE(running.quitPosted);
    EXPECT_TRUE(IsWindowVisible(player.hWnd()));
    SendMessageW(player.Command1().hWnd(), BM_CLICK, 0, 0);
    EXPECT_FALSE(Form::AnyLoaded());
    EXPECT_TRUE(test::PumpMessagesFor(50).quitPosted);
}

TEST_F(PlayerTest, TabGoesFromTheBrowserToTheButtonAndBack) {
    auto& player = StartAndHandOff();
    const HWND button = player.Command1().hWnd();
    SetForegroundWindow(player.hWnd());
    SetFocus(button);
    ASSERT_EQ(GetFocus(), button);
    PostMessageW(button, WM_KEYDOWN, VK_TAB, 0);
    test::PumpMessagesFor(100);
    EXPECT_TRUE(player.WebBrowser2().HasFocus());
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    test::PumpMessagesFor(100);
    EXPECT_EQ(GetFocus(), button);
}

TEST(WebBrowser, AMissingBrowserEngineRaisesAClearError) {
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr,
                                        nullptr, nullptr, nullptr);
    // A class nobody registered stands in for a machine without the browser.
    const CLSID missing{
        0x5a617669, 0x5261, 0x6469, {0x6f, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
    try {
        StationKeeper keeper;
        WebBrowser browser(parent, PixelRect{0, 0, 100, 100}, keeper, missing);
        ADD_FAILURE() << "a control was created from an unregistered class";
    } catch (const ProgramError& error) {
        EXPECT_EQ(error.Description().rfind("The web browser control could not be created", 0), 0u)
            << error.Description();
        EXPECT_EQ(error.Source(), "VLZaviRadio");
    }
    DestroyWindow(parent);
}

}  // namespace
}  // namespace zavi
