#include "platform/Conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "platform/ProgramError.h"

namespace zavi {
namespace {

TEST(ToAlphaByte, KeepsValuesThatFitAByte) {
    EXPECT_EQ(ToAlphaByte(0), 0);
    EXPECT_EQ(ToAlphaByte(128), 128);
    EXPECT_EQ(ToAlphaByte(255), 255);
}

TEST(ToAlphaByte, RaisesOverflowInsteadOfWrapping) {
    for (std::int16_t alpha : {std::int16_t{-1}, std::int16_t{256}, std::int16_t{300},
                               std::int16_t{-32768}, std::int16_t{32767}}) {
        try {
            ToAlphaByte(alpha);
            ADD_FAILURE() << alpha << " was converted";
        } catch (const ProgramError& error) {
            EXPECT_EQ(error.Description(), "Overflow");
        }
    }
}

TEST(ToInteger16, RoundsToNearestWithTiesToEven) {
    const std::pair<float, int> cases[] = {
        {0.0f, 0},         {0.4f, 0},         {0.5f, 0},           {1.5f, 2},
        {2.5f, 2},         {3.5f, 4},         {-0.5f, 0},          {-1.5f, -2},
        {-2.5f, -2},       {2.51f, 3},        {-2.51f, -3},        {100.0f, 100},
        {32767.0f, 32767}, {32767.4f, 32767}, {-32768.0f, -32768}, {-32768.5f, -32768}};
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(ToInteger16(input), expected) << input;
    }
}

TEST(ToInteger16, RaisesOverflowOutsideTheRange) {
    for (float value : {32767.5f, 32768.0f, -32768.51f, -40000.0f, 1e10f, NAN, INFINITY}) {
        try {
            ToInteger16(value);
            ADD_FAILURE() << value << " was converted";
        } catch (const ProgramError& error) {
            EXPECT_EQ(error.Description(), "Overflow");
        }
    }
}

}  // namespace
}  // namespace zavi
