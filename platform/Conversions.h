// Narrowing conversions that raise an overflow error instead of wrapping.
#pragma once

#include <cstdint>

namespace zavi {

// An alpha value, held as a 16-bit integer, handed to the platform as one byte.
std::uint8_t ToAlphaByte(std::int16_t alpha);

}  // namespace zavi
