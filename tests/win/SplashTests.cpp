#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>
#include <vector>

#include "ProgramWindowsTest.h"
#include "WineTestSupport.h"
#include "platform/Screen.h"
#include "platform/NotifyIconData.h"
#include "splash/SplashDefinition.h"
#include "player/VelostanZaviRadio.h"
#include "splash/ZaviRadioSplash.h"

namespace zavi {
namespace {

class SplashTest : public test::ProgramWindowsTest {
  protected:
    // Rebinds the recording stand-ins with one operation missing.
    template <class Entry>
    void BindWithout(Entry API::Table::*entry) {
        API::Table table = test::RecordingTable();
        table.*entry = nullptr;
        m_binding.reset();
        m_binding.emplace(table);
    }

    static RECT WindowRect(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }
};

TEST_F(SplashTest, LoadMakesWhiteSeeThroughAndKeepsTheWindowOutOfTheTaskbar) {
    const HWND window = ZaviRadioSplash().hWnd();
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_CAPTION);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
    EXPECT_EQ(key, 0x00FFFFFFu);
    EXPECT_EQ(flags, 1u);
    EXPECT_EQ(test::Recorded().layeredKeys, std::vector<COLORREF>{0x00FFFFFF});
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Zavi Radio");
}

TEST_F(SplashTest, OuterBottomRightCornerSitsOnTheWholeScreensCorner) {
    auto& splash = ZaviRadioSplash();
    const RECT outer = WindowRect(splash.hWnd());
    EXPECT_EQ(outer.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(outer.bottom, GetSystemMetrics(SM_CYSCREEN));
    RECT client{};
    GetClientRect(splash.hWnd(), &client);
    EXPECT_EQ(client.right, TwipsToPixels(splash::kClientWidth, splash.Dpi()));
    EXPECT_EQ(client.bottom, TwipsToPixels(splash::kClientHeight, splash.Dpi()));
    EXPECT_EQ(splash.Dpi(), Screen::Dpi());
}

TEST_F(SplashTest, ControlsHaveTheirDefinedGeometryTextsAndFonts) {
    auto& splash = ZaviRadioSplash();
    const int dpi = splash.Dpi();
    struct Expected {
        const Label& label;
        const LabelDefinition& definition;
    };
    for (const Expected& e :
         {Expected{splash.Label1(), splash::kLabel1}, Expected{splash.Label2(), splash::kLabel2},
          Expected{splash.Label3(), splash::kLabel3}}) {
        SCOPED_TRACE(e.definition.caption);
        EXPECT_EQ(e.label.Bounds(), ToPixels(e.definition.bounds, dpi));
        EXPECT_EQ(e.label.Caption(), e.definition.caption);
        LOGFONTW font{};
        ASSERT_TRUE(GetObjectW(e.label.FontHandle(), sizeof font, &font));
        EXPECT_EQ(font.lfHeight, FontHeightForPoints(e.definition.font.points, dpi));
        EXPECT_EQ(font.lfWeight, e.definition.font.weight);
        EXPECT_EQ(Narrow(font.lfFaceName), e.definition.font.face);
    }
    EXPECT_EQ(splash.Label1().Bounds().left, TwipsToPixels(-360, dpi));
    EXPECT_EQ(splash.Label1().ForeColour(), GetSysColor(COLOR_BACKGROUND));
    EXPECT_EQ(splash.Label2().ForeColour(), 0x00400040u);
    EXPECT_EQ(splash.Label3().ForeColour(), GetSysColor(COLOR_BTNTEXT));

    const HWND bar = splash.ProgressBar1().hWnd();
    wchar_t className[64] = {};
    GetClassNameW(bar, className, 64);
    EXPECT_STREQ(className, PROGRESS_CLASSW);
    EXPECT_EQ(GetParent(bar), splash.hWnd());
    RECT barRect = WindowRect(bar);
    MapWindowPoints(nullptr, splash.hWnd(), reinterpret_cast<POINT*>(&barRect), 2);
    const PixelRect expectedBar = ToPixels(splash::kProgressBar1.bounds, dpi);
    EXPECT_EQ((PixelRect{barRect.left, barRect.top, barRect.right - barRect.left,
                         barRect.bottom - barRect.top}),
              expectedBar);
    PBRANGE range{};
    SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);
}

TEST_F(SplashTest, OnlyTheTextsAreDrawnInAnythingButWhite) {
    auto& splash = ZaviRadioSplash();
    RECT client{};
    GetClientRect(splash.hWnd(), &client);
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    SendMessageW(splash.hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);

    const auto inside = [](const PixelRect& box, int x, int y) {
        return x >= box.left && x < box.left + box.width && y >= box.top &&
               y < box.top + box.height;
    };
    int strayPixels = 0;
    int pixelsIn[3] = {};
    const Label* labels[3] = {&splash.Label1(), &splash.Label2(), &splash.Label3()};
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const COLORREF pixel = GetPixel(memory, x, y);
            if (pixel == 0x00FFFFFF) {
                continue;
            }
            bool owned = false;
            for (int i = 0; i < 3; ++i) {
                if (inside(labels[i]->Bounds(), x, y) && pixel == labels[i]->ForeColour()) {
                    ++pixelsIn[i];
                    owned = true;
                    break;
                }
            }
            strayPixels += owned ? 0 : 1;
        }
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    // Only exact text colours: a blended edge would be neither white nor text, a fringe.
    EXPECT_EQ(strayPixels, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(pixelsIn[i], 100) << labels[i]->Caption();
    }
}

TEST_F(SplashTest, RegistersTheIconOnceWithTheExactRecordAndWithdrawsItOnUnload) {
    auto& splash = ZaviRadioSplash();
    const HWND window = splash.hWnd();
    ASSERT_NE(splash.Icon(), nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)),
              splash.Icon());
    ASSERT_EQ(test::Recorded().notifyCalls.size(), 1u);
    const auto& add = test::Recorded().notifyCalls[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.data.cbSize, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(add.data.hWnd, window);
    EXPECT_EQ(add.data.uID, 1u);
    EXPECT_EQ(add.data.uFlags, 7u);
    EXPECT_EQ(add.data.uCallbackMessage, 0x0200u);
    EXPECT_EQ(add.data.hIcon, splash.Icon());
    EXPECT_EQ(test::TipBytes(add.data, 64),
              std::string("Velostan Radio") + '\0' + std::string(49, ' '));
    const auto expected = BuildNotifyIconData(
        static_cast<std::uint32_t>(HandleToLong(window)), 1, 7, 0x200,
        static_cast<std::uint32_t>(HandleToLong(splash.Icon())), "Velostan Radio");
    EXPECT_EQ(test::TipBytes(add.data, 64), expected.szTip());

    // Callbacks from the shell arrive as mouse moves and change nothing.
    SendMessageW(window, 0x0200, 1, WM_LBUTTONDOWN);
    EXPECT_TRUE(ZaviRadioSplashInstance().IsLoaded());
    EXPECT_EQ(test::Recorded().notifyCalls.size(), 1u);

    ZaviRadioSplashInstance().Unload();
    ASSERT_EQ(test::Recorded().notifyCalls.size(), 2u);
    const auto& remove = test::Recorded().notifyCalls[1];
    EXPECT_EQ(remove.message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(remove.data.hWnd, window);
    EXPECT_EQ(remove.data.uID, 1u);
}

TEST_F(SplashTest, TimersRunFromLoadAndTheLastUnloadEndsTheLoop) {
    const HWND window = ZaviRadioSplash().hWnd();
    const test::PumpResult running = test::PumpMessagesFor(2150, window);
    EXPECT_GT(running.timerTicks[1], 20);  // 1 ms, at the platform's 10 ms floor or better
    EXPECT_EQ(running.timerTicks[2], 1);
    EXPECT_FALSE(running.quitPosted);
    // The one hand-off brought the player, which hid this window.
    EXPECT_TRUE(VelostanZaviRadioInstance().IsLoaded());
    EXPECT_FALSE(IsWindowVisible(window));
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    const test::PumpResult splashGone = test::PumpMessagesFor(50, window);
    EXPECT_FALSE(splashGone.quitPosted);  // the player is still loaded
    EXPECT_EQ(splashGone.timerTicks[1] + splashGone.timerTicks[2], 0);
    VelostanZaviRadioInstance().Unload();
    EXPECT_TRUE(test::PumpMessagesFor(50).quitPosted);
}

// Asks the window and its bar from another thread, as another program would, while the
// window's own thread runs the sweep; keeps every position seen and the slowest answer.
class SweepWatcher {
  public:
    SweepWatcher(HWND window, HWND bar) : m_thread([this, window, bar] { Watch(window, bar); }) {}
    ~SweepWatcher() { Stop(); }
    SweepWatcher(const SweepWatcher&) = delete;
    SweepWatcher& operator=(const SweepWatcher&) = delete;

    // Keeps the window's messages flowing until the last question has been answered.
    void Stop() {
        m_stop = true;
        while (!m_done) {
            test::PumpMessagesFor(5);
        }
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    bool SawMaximum() const { return m_sawMaximum; }

    std::vector<int> positions;
    DWORD slowestMs = 0;
    int unanswered = 0;

  private:
    void Watch(HWND window, HWND bar) {
        while (!m_stop) {
            const ULONGLONG asked = GetTickCount64();
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 100, &result)) {
                ++unanswered;
            }
            if (SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 100, &result)) {
                positions.push_back(static_cast<int>(result));
                m_sawMaximum = m_sawMaximum || result == 100;
            } else {
                ++unanswered;
            }
            slowestMs = std::max(slowestMs, static_cast<DWORD>(GetTickCount64() - asked));
            Sleep(2);
        }
        m_done = true;
    }

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_sawMaximum{false};
    std::thread m_thread;
};

TEST_F(SplashTest, SweepFillsTheBarWhileTheWindowKeepsAnswering) {
    auto& splash = ZaviRadioSplash();
    KillTimer(splash.hWnd(), splash::kTimer2.id);  // the sweep alone, without the hand-off
    SweepWatcher watcher(splash.hWnd(), splash.ProgressBar1().hWnd());
    // A sweep takes a little over a second; give a slow machine up to five.
    for (int i = 0; i < 100 && !watcher.SawMaximum(); ++i) {
        test::PumpMessagesFor(50);
    }
    test::PumpMessagesFor(100);  // into the next sweep
    watcher.Stop();

    EXPECT_EQ(watcher.unanswered, 0);
    EXPECT_LT(watcher.slowestMs, 100u);
    const std::vector<int>& seen = watcher.positions;
    ASSERT_FALSE(seen.empty());
    const auto top = std::find(seen.begin(), seen.end(), 100);
    ASSERT_NE(top, seen.end()) << "the bar never reached its maximum";
    // Within a sweep the bar only climbs; many values in between were seen on the way up.
    EXPECT_TRUE(std::is_sorted(seen.begin(), top));
    EXPECT_GT(std::count_if(seen.begin(), top, [](int p) { return p > 0 && p < 100; }), 20);
    EXPECT_LE(seen.front(), 10);
    // The next sweep starts again from the bottom.
    const auto again = std::find_if(top, seen.end(), [](int p) { return p < 100; });
    ASSERT_NE(again, seen.end());
    EXPECT_LE(*again, 10);
}

TEST_F(SplashTest, AHiddenWindowDoesNotSweepAndSweepsAfreshWhenShownAgain) {
    auto& splash = ZaviRadioSplash();
    const HWND window = splash.hWnd();
    const HWND bar = splash.ProgressBar1().hWnd();
    KillTimer(window, splash::kTimer2.id);  // the sweep alone, without the hand-off
    splash.Show();
    const test::PumpResult shown = test::PumpMessagesFor(300, window);
    EXPECT_GT(shown.timerTicks[1], 10);
    EXPECT_GT(SendMessageW(bar, PBM_GETPOS, 0, 0), 10);

    splash.Hide();
    const LRESULT hiddenAt = SendMessageW(bar, PBM_GETPOS, 0, 0);
    const test::PumpResult hidden = test::PumpMessagesFor(300, window);
    EXPECT_EQ(hidden.timerTicks[1], 0);  // no wake-ups, so no steps and no drawing
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), hiddenAt);

    splash.Show();
    std::vector<LRESULT> seen;
    for (int i = 0; i < 100 && seen.size() < 20; ++i) {
        test::PumpMessagesFor(10);
        const LRESULT position = SendMessageW(bar, PBM_GETPOS, 0, 0);
        if (!seen.empty() || position != hiddenAt) {
            seen.push_back(position);
        }
    }
    ASSERT_FALSE(seen.empty());
    EXPECT_LE(seen.front(), 5) << "a new sweep starts from the minimum";
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(seen.back(), seen.front());
}

TEST_F(SplashTest, FailedIconRegistrationIsReportedAndLeavesTheWindowUnplacedButShown) {
    BindWithout(&API::Table::Shell_NotifyIconA);
    test::ErrorBoxAnswerer answerer;
    auto& splash = ZaviRadioSplash();
    splash.Show();
    EXPECT_EQ(answerer.Texts(),
              std::vector<std::string>{
                  "Can't find DLL entry point Shell_NotifyIconA in shell32 Source : VLZaviRadio"});
    // The steps after the failing one never ran.
    EXPECT_FALSE(GetWindowLongW(splash.hWnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    const RECT outer = WindowRect(splash.hWnd());
    EXPECT_EQ(outer.left, TwipsToPixels(splash::kDesignLeft, splash.Dpi()));
    EXPECT_EQ(outer.top, TwipsToPixels(splash::kDesignTop, splash.Dpi()));
    EXPECT_TRUE(IsWindowVisible(splash.hWnd()));
    EXPECT_FALSE(test::PumpMessagesFor(100).quitPosted);
    EXPECT_TRUE(ZaviRadioSplashInstance().IsLoaded());
}

TEST_F(SplashTest, MissingLayeringIsReportedAndTheLoadStillPlacesTheWindow) {
    BindWithout(&API::Table::SetLayeredWindowAttributes);
    test::ErrorBoxAnswerer answerer;
    auto& splash = ZaviRadioSplash();
    splash.Show();
    EXPECT_EQ(answerer.Texts(),
              std::vector<std::string>{"Can't find DLL entry point SetLayeredWindowAttributes in "
                                       "user32 Source : VLZaviRadio"});
    EXPECT_TRUE(GetWindowLongW(splash.hWnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    const RECT outer = WindowRect(splash.hWnd());
    EXPECT_EQ(outer.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(outer.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(IsWindowVisible(splash.hWnd()));
    EXPECT_FALSE(test::PumpMessagesFor(100).quitPosted);
    EXPECT_EQ(test::Recorded().notifyCalls.size(), 1u);
}

TEST_F(SplashTest, ReloadAfterUnloadRunsTheWholeLoadSequenceAgain) {
    const HWND first = ZaviRadioSplash().hWnd();
    ZaviRadioSplashInstance().Unload();
    const HWND second = ZaviRadioSplash().hWnd();
    EXPECT_NE(first, second);
    EXPECT_TRUE(GetWindowLongW(second, GWL_EXSTYLE) & WS_EX_LAYERED);
    ASSERT_EQ(test::Recorded().notifyCalls.size(), 3u);  // add, delete, add
    EXPECT_EQ(test::Recorded().notifyCalls[2].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(test::Recorded().notifyCalls[2].data.hWnd, second);
}

}  // namespace
}  // namespace zavi
