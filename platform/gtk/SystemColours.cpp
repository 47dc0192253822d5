#include "SystemColours.h"

namespace zavi {

std::uint32_t SystemColour(int index) {
    switch (index) {
        case 1:  // COLOR_BACKGROUND, the desktop
            return Rgb(0x3A, 0x6E, 0xA5);
        case 5:   // COLOR_WINDOW
        case 15:  // COLOR_BTNFACE
            return kWhite;
        default:  // COLOR_BTNTEXT, COLOR_WINDOWTEXT and the rest
            return Rgb(0, 0, 0);
    }
}

CairoColour ToCairo(OleColour colour) {
    const std::uint32_t rgb = ResolveColour(colour, SystemColour);
    return {(rgb & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, ((rgb >> 16) & 0xFF) / 255.0};
}

}  // namespace zavi
