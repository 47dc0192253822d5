// Twips (1/1440 inch), the unit every window and control is defined in, and their
// conversion to device pixels at the screen's dots per inch.
#pragma once

namespace zavi {

constexpr int kTwipsPerInch = 1440;

// Rounds to the nearest pixel, halves away from zero, as MulDiv does.
int TwipsToPixels(double twips, int dpi);
double PixelsToTwips(int pixels, int dpi);

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

struct PixelRect {
    int left;
    int top;
    int width;
    int height;
    bool operator==(const PixelRect&) const = default;
};

// Edges are converted, not sizes, so that neighbouring boxes never gain or lose a pixel
// between them at DPIs where a pixel is not a whole number of twips.
PixelRect ToPixels(const TwipsRect& rect, int dpi);

struct Placement {
    double left;
    double top;
};

// Puts a window's outer bottom-right corner on the screen's bottom-right corner. A screen
// smaller than the window gives negative coordinates; nothing clamps them.
Placement BottomRightCorner(double screenWidth, double screenHeight, double windowWidth,
                            double windowHeight);

// The dots per inch of a toolkit's own pixels on a monitor scaled by `scale` (GTK's
// logical pixels, each `scale` device pixels wide), from the resolution the desktop
// gives. Desktops give it both ways: GNOME gives 96 at 2x (more for larger text), while
// GDK_SCALE=2 with Xft.dpi: 192 gives it per device pixel. One that reaches 96 for each
// step of scale is taken per device pixel, so that the scale is never counted twice.
int LogicalDpi(double resolution, int scale);

// Font height in pixels for a size in points, negative to ask for the character height.
int FontHeightForPoints(double points, int dpi);

}  // namespace zavi
