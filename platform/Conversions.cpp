#include "Conversions.h"

#include <cmath>

#include "ProgramError.h"

namespace zavi {

std::uint8_t ToAlphaByte(std::int16_t alpha) {
    if (alpha < 0 || alpha > 255) {
        throw Overflow();
    }
    return static_cast<std::uint8_t>(alpha);
}

std::int16_t ToInteger16(float value) {
    const double exact = value;
    double rounded = std::floor(exact + 0.5);
    if (rounded - exact == 0.5 && std::fmod(rounded, 2.0) != 0.0) {
        rounded -= 1.0;  // a tie lands on the even neighbour
    }
    // NaN fails both comparisons and so counts as out of range.
    if (!(rounded >= INT16_MIN && rounded <= INT16_MAX)) {
        throw Overflow();
    }
    return static_cast<std::int16_t>(rounded);
}

}  // namespace zavi
