#include "Conversions.h"

#include "ProgramError.h"

namespace zavi {

std::uint8_t ToAlphaByte(std::int16_t alpha) {
    if (alpha < 0 || alpha > 255) {
        throw Overflow();
    }
    return static_cast<std::uint8_t>(alpha);
}

}  // namespace zavi
