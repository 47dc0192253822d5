#include "platform/OleColour.h"

#include <gtest/gtest.h>

namespace zavi {
namespace {

TEST(OleColour, SystemColoursAreLookedUpByIndex) {
    int asked = -1;
    const auto systemColour = [&asked](int index) {
        asked = index;
        return 0xFF00AA55u;  // junk in the top byte must not leak through
    };
    EXPECT_EQ(ResolveColour(kDesktopColour, systemColour), 0x0000AA55u);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ResolveColour(kButtonTextColour, systemColour), 0x0000AA55u);
    EXPECT_EQ(asked, 18);
}

TEST(OleColour, PlainColoursAreUsedAsTheyStand) {
    const auto never = [](int) -> std::uint32_t {
        ADD_FAILURE() << "a plain colour must not ask for a system colour";
        return 0;
    };
    EXPECT_EQ(ResolveColour(0x00400040u, never), 0x00400040u);
    EXPECT_EQ(ResolveColour(kWhite, never), 0x00FFFFFFu);
    EXPECT_EQ(ResolveColour(0x7F123456u, never), 0x00123456u);
}

}  // namespace
}  // namespace zavi
