#include "Twips.h"

#include <cmath>

namespace zavi {

int TwipsToPixels(double twips, int dpi) {
    return static_cast<int>(std::round(twips * dpi / kTwipsPerInch));
}

double PixelsToTwips(int pixels, int dpi) {
    return static_cast<double>(pixels) * kTwipsPerInch / dpi;
}

PixelRect ToPixels(const TwipsRect& rect, int dpi) {
    const int left = TwipsToPixels(rect.left, dpi);
    const int top = TwipsToPixels(rect.top, dpi);
    const int right = TwipsToPixels(rect.left + rect.width, dpi);
    const int bottom = TwipsToPixels(rect.top + rect.height, dpi);
    return {left, top, right - left, bottom - top};
}

Placement BottomRightCorner(double screenWidth, double screenHeight, double windowWidth,
                            double windowHeight) {
    return {screenWidth - windowWidth, screenHeight - windowHeight};
}

int LogicalDpi(double resolution, int scale) {
    if (resolution <= 0) {
        resolution = 96;
    }
    if (scale > 1 && resolution >= 96.0 * scale) {
        resolution /= scale;
    }
    return static_cast<int>(std::lround(resolution));
}

int FontHeightForPoints(double points, int dpi) {
    return -static_cast<int>(std::round(points * dpi / 72.0));
}

}  // namespace zavi
