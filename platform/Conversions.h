// Narrowing conversions that raise an overflow error instead of wrapping.
#pragma once

#include <cstdint>

namespace zavi {

// An alpha value, held as a 16-bit integer, handed to the platform as one byte.
std::uint8_t ToAlphaByte(std::int16_t alpha);

// A single-precision number as a 16-bit signed integer, rounded to nearest with ties to
// even (2.5 gives 2, 3.5 gives 4), whatever the floating-point environment says.
std::int16_t ToInteger16(float value);

}  // namespace zavi
