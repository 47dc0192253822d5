// Colour values as the window definitions hold them: 0x00BBGGRR, or, with the top bit
// set, the index of a system colour.
#pragma once

#include <cstdint>
#include <functional>

namespace zavi {

using OleColour = std::uint32_t;

constexpr OleColour kSystemColourFlag = 0x80000000u;
constexpr OleColour kDesktopColour = 0x80000001u;     // COLOR_BACKGROUND
constexpr OleColour kButtonTextColour = 0x80000012u;  // COLOR_BTNTEXT, a label's default
constexpr OleColour kWhite = 0x00FFFFFFu;

constexpr OleColour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<OleColour>(red) | (static_cast<OleColour>(green) << 8) |
           (static_cast<OleColour>(blue) << 16);
}

// Resolves a colour value to 0x00BBGGRR; systemColour looks up a system colour index.
std::uint32_t ResolveColour(OleColour colour,
                            const std::function<std::uint32_t(int index)>& systemColour);

}  // namespace zavi
