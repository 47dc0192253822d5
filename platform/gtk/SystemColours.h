// The system colours a window definition may name, for a desktop that has none of its own.
#pragma once

#include <cstdint>

#include "../OleColour.h"

namespace zavi {

// The desktop is the classic Windows blue (#3A6EA5); text is black on a white window.
std::uint32_t SystemColour(int index);

// A colour value as cairo takes it: red, green and blue from 0 to 1.
struct CairoColour {
    double red;
    double green;
    double blue;
};
CairoColour ToCairo(OleColour colour);

}  // namespace zavi
