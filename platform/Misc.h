// Misc: colour-key and alpha layering of a top-level window.
#pragma once

#include <cstdint>

#include "OleColour.h"
#include "Win32.h"

namespace zavi {

// Makes the window layered and sets its layering attributes. Errors are reported and
// absorbed here; the window is left as far as the completed steps took it.
void MakeWindowTransparent(HWND window, OleColour colorKey, std::int16_t alpha, std::uint8_t flags);

}  // namespace zavi
