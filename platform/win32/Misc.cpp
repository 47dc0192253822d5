#include "../Misc.h"

#include "Api.h"
#include "../Conversions.h"
#include "../ErrorReport.h"

namespace zavi {

static_assert(kLayerColourKey == LWA_COLORKEY && kLayerAlpha == LWA_ALPHA);

void MakeWindowTransparent(HWND window, OleColour colorKey, std::int16_t alpha,
                           std::uint8_t flags) {
    RunTrapped([&] {
        const LONG style = API::GetWindowLongA(window, GWL_EXSTYLE);
        API::SetWindowLongA(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
        const BYTE alphaByte = ToAlphaByte(alpha);
        API::SetLayeredWindowAttributes(window, colorKey, alphaByte, flags);
    });
}

}  // namespace zavi
