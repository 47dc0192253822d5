#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "GtkTestSupport.h"
#include "ProgramWindowsTest.h"
#include "platform/Misc.h"
#include "platform/Screen.h"
#include "splash/SplashDefinition.h"

namespace zavi {
namespace {

class SplashTest : public test::ProgramWindowsTest {
  protected:
    // Shows the start-up window as the program does and waits until it is on the screen
    // with its mask made.
    static forms::ZaviRadioSplash& ShowSplash() {
        auto& splash = ZaviRadioSplash();
        splash.Show();
        EXPECT_TRUE(test::PumpUntil(
            [&] { return test::ShapeMask(splash.hWnd()).Rectangles() > 100; }, 3000));
        return splash;
    }
};

TEST_F(SplashTest, FloatsBorderlessOutOfTheTaskbarWithItsDefinedSizeAndTitle) {
    auto& splash = ShowSplash();
    const test::XWindowFacts facts = test::FactsOf(splash.hWnd());
    // Not managed by the window manager: no frame, no taskbar or pager entry, no focus.
    EXPECT_TRUE(facts.overrideRedirect);
    EXPECT_EQ(facts.outer.width, TwipsToPixels(splash::kClientWidth, splash.Dpi()));
    EXPECT_EQ(facts.outer.height, TwipsToPixels(splash::kClientHeight, splash.Dpi()));
    EXPECT_EQ(facts.outer.width, 523);  // at 96 dpi, as the test display has
    EXPECT_EQ(facts.outer.height, 142);
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(splash.hWnd())), "Zavi Radio");
    EXPECT_EQ(splash.Dpi(), Screen::Dpi());
}

TEST_F(SplashTest, BottomRightCornerSitsOnTheWholeScreensCornerWithAPanelThere) {
    auto& splash = ShowSplash();
    GdkRectangle screen{};
    GdkRectangle work{};
    GdkMonitor* monitor = gdk_display_get_monitor(gdk_display_get_default(), 0);
    gdk_monitor_get_geometry(monitor, &screen);
    gdk_monitor_get_workarea(monitor, &work);
    // The test desktop has a panel along the bottom, so the work area ends above it.
    EXPECT_LT(work.y + work.height, screen.y + screen.height) << "no panel on the test desktop";
    const GdkRectangle outer = test::FactsOf(splash.hWnd()).outer;
    EXPECT_EQ(outer.x + outer.width, screen.width);
    EXPECT_EQ(outer.y + outer.height, screen.height);
}

TEST_F(SplashTest, LabelsHaveTheirDefinedGeometryTextsFontsAndColours) {
    auto& splash = ShowSplash();
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
        EXPECT_STREQ(pango_font_description_get_family(e.label.Font()), e.definition.font.face);
        EXPECT_EQ(pango_font_description_get_size(e.label.Font()),
                  -FontHeightForPoints(e.definition.font.points, dpi) * PANGO_SCALE);
        EXPECT_EQ(pango_font_description_get_weight(e.label.Font()), e.definition.font.weight);
    }
    EXPECT_EQ(splash.Label1().Bounds().left, TwipsToPixels(-360, dpi));
    EXPECT_EQ(splash.Label1().ForeColour(), 0x00A56E3Au);  // the desktop colour chosen here
    EXPECT_EQ(splash.Label2().ForeColour(), 0x00400040u);
    EXPECT_EQ(splash.Label3().ForeColour(), 0u);

    const GdkRectangle bar = test::BoundsIn(splash.ProgressBar1().Widget());
    const PixelRect expected = ToPixels(splash::kProgressBar1.bounds, dpi);
    EXPECT_EQ((PixelRect{bar.x, bar.y, bar.width, bar.height}), expected);
    EXPECT_EQ(splash.ProgressBar1().Min(), 0.0f);
    EXPECT_EQ(splash.ProgressBar1().Max(), 100.0f);
}

// The colour key: exactly-white pixels are cut out of the window, everything else shows,
// and only the texts (in their exact colours) and the bar are anything but white.
TEST_F(SplashTest, OnlyWhiteIsSeeThroughAndOnlyTheTextsAndTheBarAreDrawn) {
    auto& splash = ShowSplash();
    const test::Rendering image = test::Render(splash.hWnd());
    const test::ShapeMask mask(splash.hWnd());
    const GdkRectangle bar = test::BoundsIn(splash.ProgressBar1().Widget());
    const auto inside = [](const PixelRect& box, int x, int y) {
        return x >= box.left && x < box.left + box.width && y >= box.top &&
               y < box.top + box.height;
    };
    const Label* labels[3] = {&splash.Label1(), &splash.Label2(), &splash.Label3()};
    const auto toRgb = [](std::uint32_t bgr) {
        return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    };
    int wrongMask = 0;
    int stray = 0;
    int barPixels = 0;
    int textPixels[3] = {};
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t pixel = image.At(x, y);
            const bool white = pixel == 0xFFFFFF;
            wrongMask += mask.Shows(x, y) == white ? 1 : 0;
            if (white) {
                continue;
            }
            if (inside({bar.x, bar.y, bar.width, bar.height}, x, y)) {
                ++barPixels;
                continue;
            }
            bool owned = false;
            for (int i = 0; i < 3 && !owned; ++i) {
                if (inside(labels[i]->Bounds(), x, y) && pixel == toRgb(labels[i]->ForeColour())) {
                    ++textPixels[i];
                    owned = true;
                }
            }
            stray += owned ? 0 : 1;
        }
    }
    EXPECT_EQ(wrongMask, 0);
    // Only exact text colours: a blended edge would be neither white nor text, a fringe.
    EXPECT_EQ(stray, 0);
    EXPECT_EQ(barPixels, bar.width * bar.height);
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(textPixels[i], 100) << labels[i]->Caption();
    }
}

TEST_F(SplashTest, TheMaskFollowsTheBarAsItSweeps) {
    auto& splash = ShowSplash();
    ProgressBar& bar = splash.ProgressBar1();
    std::vector<int> seen;
    ASSERT_TRUE(test::PumpUntil(
        [&] {
            seen.push_back(static_cast<int>(bar.Value()));
            return bar.Value() >= 100.0f;
        },
        5000));
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(std::count_if(seen.begin(), seen.end(), [](int v) { return v > 0 && v < 100; }), 20);
    // Still exactly the bar's box shows where the bar is, however full it is.
    const GdkRectangle box = test::BoundsIn(bar.Widget());
    test::PumpFor(50);
    const test::ShapeMask mask(splash.hWnd());
    for (const int x : {box.x, box.x + box.width / 2, box.x + box.width - 1}) {
        EXPECT_TRUE(mask.Shows(x, box.y + box.height / 2)) << x;
    }
    // The next sweep starts again from the bottom.
    EXPECT_TRUE(test::PumpUntil([&] { return bar.Value() < 10.0f; }, 3000));
}

// Every step sets the bar, and each setting remakes the bar's part of the mask.
class BarSettings {
  public:
    explicit BarSettings(ProgressBar& bar) : m_widget(bar.Widget()) {
        m_handler = g_signal_connect_swapped(m_widget, "notify::fraction",
                                             G_CALLBACK(+[](int* count) { ++*count; }), &m_count);
    }
    ~BarSettings() { g_signal_handler_disconnect(m_widget, m_handler); }
    BarSettings(const BarSettings&) = delete;
    BarSettings& operator=(const BarSettings&) = delete;
    int Take() { return std::exchange(m_count, 0); }

  private:
    GtkWidget* m_widget;
    gulong m_handler = 0;
    int m_count = 0;
};

TEST_F(SplashTest, AHiddenWindowDoesNotSweepAndSweepsAfreshWhenShownAgain) {
    auto& splash = ShowSplash();
    ProgressBar& bar = splash.ProgressBar1();
    BarSettings settings(bar);
    test::PumpFor(200);
    EXPECT_GT(settings.Take(), 5);

    splash.Hide();
    settings.Take();
    const float hiddenAt = bar.Value();
    test::PumpFor(500);
    EXPECT_EQ(settings.Take(), 0);
    EXPECT_EQ(bar.Value(), hiddenAt);

    splash.Show();
    ASSERT_TRUE(test::PumpUntil([&] { return settings.Take() > 0; }, 1000));
    EXPECT_LE(bar.Value(), 5.0f) << "a new sweep starts from the minimum";
    std::vector<int> seen;
    for (int i = 0; i < 30; ++i) {
        test::PumpFor(10);
        seen.push_back(static_cast<int>(bar.Value()));
    }
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(seen.back(), 10);
}

TEST_F(SplashTest, TheIconIsDockedWithItsTipWhileLoadedAndGoneAfterUnload) {
    ShowSplash();
    EXPECT_TRUE(
        test::PumpUntil([] { return test::ViewableWindowsTitled("Velostan Radio") == 1; }, 3000))
        << "no icon in the notification area";
    ZaviRadioSplashInstance().Unload();
    EXPECT_TRUE(
        test::PumpUntil([] { return test::ViewableWindowsTitled("Velostan Radio") == 0; }, 3000));
    // Loaded afresh, it registers again: one icon, not two.
    ShowSplash();
    EXPECT_TRUE(
        test::PumpUntil([] { return test::ViewableWindowsTitled("Velostan Radio") == 1; }, 3000));
    test::PumpFor(200);
    EXPECT_EQ(test::ViewableWindowsTitled("Velostan Radio"), 1);
}

TEST_F(SplashTest, AnAlphaOutsideAByteIsReportedInTheErrorDialogAndAbsorbed) {
    auto& splash = ShowSplash();
    test::ErrorDialogAnswerer answerer;
    MakeWindowTransparent(splash.hWnd(), kWhite, 300, kLayerColourKey);
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"Overflow Source : VLZaviRadio"});
    EXPECT_EQ(answerer.Titles(), std::vector<std::string>{"zaviradio10.01.29"});
    EXPECT_EQ(answerer.Buttons(), std::vector<std::string>{"_OK"});
    EXPECT_FALSE(test::PumpFor(100).quitRequested);
    EXPECT_TRUE(ZaviRadioSplashInstance().IsLoaded());
}

}  // namespace
}  // namespace zavi
