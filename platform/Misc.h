// Misc: colour-key and alpha layering of a top-level window.
#pragma once

#include <cstdint>

#include "Handles.h"
#include "OleColour.h"

namespace zavi {

// The layering flags: pixels of exactly the key colour become see-through; the whole
// window takes the alpha value.
inline constexpr std::uint8_t kLayerColourKey = 0x1;
inline constexpr std::uint8_t kLayerAlpha = 0x2;

// Makes the window layered and sets its layering attributes. Errors are reported and
// absorbed here; the window is left as far as the completed steps took it.
void MakeWindowTransparent(WindowHandle window, OleColour colorKey, std::int16_t alpha,
                           std::uint8_t flags);

}  // namespace zavi
