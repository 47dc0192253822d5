#include "platform/ProgramError.h"

#include <gtest/gtest.h>

namespace zavi {
namespace {

TEST(ErrorReportText, IsDescriptionThenSourceWithNoOtherSeparators) {
    EXPECT_EQ(ErrorReportText("Overflow", "VLZaviRadio"), "Overflow Source : VLZaviRadio");
    EXPECT_EQ(ErrorReportText("", ""), " Source : ");
    EXPECT_EQ(ErrorReportText("a.", "b"), "a. Source : b");
}

TEST(ProgramError, ErrorsRaisedByTheProgramNameTheProject) {
    const ProgramError overflow = Overflow();
    EXPECT_EQ(overflow.Description(), "Overflow");
    EXPECT_EQ(overflow.Source(), "VLZaviRadio");
    const ProgramError missing = MissingEntryPoint("SetLayeredWindowAttributes", "user32");
    EXPECT_EQ(ErrorReportText(missing.Description(), missing.Source()),
              "Can't find DLL entry point SetLayeredWindowAttributes in user32 Source : "
              "VLZaviRadio");
    EXPECT_EQ(ProgramError("x", "elsewhere").Source(), "elsewhere");
}

}  // namespace
}  // namespace zavi
