#include "platform/Conversions.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zavi
