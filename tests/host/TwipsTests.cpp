#include "platform/Twips.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "splash/SplashDefinition.h"

namespace zavi {
namespace {

struct TwipsCase {
    double twips;
    int dpi;
    int pixels;
};

class TwipsToPixelsAt : public ::testing::TestWithParam<TwipsCase> {};

TEST_P(TwipsToPixelsAt, RoundsToTheNearestPixel) {
    const TwipsCase c = GetParam();
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
}

INSTANTIATE_TEST_SUITE_P(Dpis, TwipsToPixelsAt,
                         ::testing::Values(TwipsCase{15, 96, 1}, TwipsCase{7845, 96, 523},
                                           TwipsCase{2130, 96, 142}, TwipsCase{-360, 96, -24},
                                           TwipsCase{165, 96, 11}, TwipsCase{7845, 120, 654},
                                           TwipsCase{7845, 144, 785}, TwipsCase{135, 96, 9},
                                           TwipsCase{195, 96, 13}, TwipsCase{7, 96, 0},
                                           TwipsCase{8, 96, 1}, TwipsCase{-8, 96, -1},
                                           TwipsCase{1440, 168, 168}, TwipsCase{100, 168, 12}),
                         [](const ::testing::TestParamInfo<TwipsCase>& param) {
                             const TwipsCase c = param.param;
                             return (c.twips < 0 ? "minus" : "") +
                                    std::to_string(static_cast<int>(std::abs(c.twips))) +
                                    "twips_at_" + std::to_string(c.dpi) + "dpi";
                         });

TEST(Twips, PixelsRoundTripThroughTwipsAtEveryCommonDpi) {
    for (int dpi : {96, 120, 144, 168, 192}) {
        for (int pixels : {-300, -1, 0, 1, 523, 1280, 3840}) {
            EXPECT_EQ(TwipsToPixels(PixelsToTwips(pixels, dpi), dpi), pixels) << dpi;
        }
    }
    EXPECT_DOUBLE_EQ(PixelsToTwips(1280, 96), 19200.0);
}

TEST(Twips, AdjacentBoxesShareTheirEdgeAtFractionalScales) {
    // At 168 dpi a pixel is 8.57 twips: converting sizes alone would open or close gaps.
    const TwipsRect first{0, 0, 100, 100};
    const TwipsRect second{100, 0, 100, 100};
    const PixelRect a = ToPixels(first, 168);
    const PixelRect b = ToPixels(second, 168);
    EXPECT_EQ(a.left + a.width, b.left);
    EXPECT_EQ(ToPixels(splash::kLabel1.bounds, 96), (PixelRect{-24, 0, 545, 105}));
    EXPECT_EQ(ToPixels(splash::kProgressBar1.bounds, 96), (PixelRect{0, 96, 513, 11}));
    EXPECT_EQ(ToPixels(splash::kLabel3.bounds, 96), (PixelRect{88, 128, 345, 17}));
}

TEST(Twips, BottomRightCornerPlacesTheOuterCornerOnTheScreenCorner) {
    const Placement onLargeScreen = BottomRightCorner(19200, 12000, 7845, 2130);
    EXPECT_DOUBLE_EQ(onLargeScreen.left, 11355);
    EXPECT_DOUBLE_EQ(onLargeScreen.top, 9870);
    // Nothing clamps a window larger than the screen: it hangs off the top-left edges.
    const Placement onTinyScreen = BottomRightCorner(4800, 1500, 7845, 2130);
    EXPECT_DOUBLE_EQ(onTinyScreen.left, -3045);
    EXPECT_DOUBLE_EQ(onTinyScreen.top, -630);
}

TEST(Twips, TheScaleIsCountedOnceWhicheverWayTheDesktopGivesTheResolution) {
    struct Case {
        double resolution;
        int scale;
        int dpi;
    };
    for (const Case c :
         {Case{96, 1, 96}, Case{192, 1, 192}, Case{96, 2, 96}, Case{192, 2, 96}, Case{120, 2, 120},
          Case{288, 2, 144}, Case{288, 3, 96}, Case{-1, 1, 96}, Case{0, 2, 96}}) {
        EXPECT_EQ(LogicalDpi(c.resolution, c.scale), c.dpi) << c.resolution << " x" << c.scale;
    }
}

TEST(Twips, FontHeightsFollowTheDpi) {
    EXPECT_EQ(FontHeightForPoints(72, 96), -96);
    EXPECT_EQ(FontHeightForPoints(20.25, 96), -27);
    EXPECT_EQ(FontHeightForPoints(9.75, 96), -13);
    EXPECT_EQ(FontHeightForPoints(9.75, 144), -20);
    EXPECT_EQ(FontHeightForPoints(72, 120), -120);
}

}  // namespace
}  // namespace zavi
