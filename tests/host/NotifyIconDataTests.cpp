#include "platform/NotifyIconData.h"

#include <gtest/gtest.h>

#include <string>

#include "splash/SplashDefinition.h"

namespace zavi {
namespace {

std::uint32_t LittleEndianAt(const NotifyIconData::Bytes& bytes, std::size_t offset) {
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

TEST(NotifyIconData, HeaderFieldsSitAtTheirOffsetsLittleEndian) {
    const auto record =
        BuildNotifyIconData(0x11223344u, 0x55667788u, 0x99AABBCCu, 0xDDEEFF01u, 0x0A0B0C0Du, "");
    const auto& bytes = record.bytes();
    ASSERT_EQ(bytes.size(), 88u);
    EXPECT_EQ(LittleEndianAt(bytes, 0), 88u);
    EXPECT_EQ(LittleEndianAt(bytes, 4), 0x11223344u);
    EXPECT_EQ(LittleEndianAt(bytes, 8), 0x55667788u);
    EXPECT_EQ(LittleEndianAt(bytes, 12), 0x99AABBCCu);
    EXPECT_EQ(LittleEndianAt(bytes, 16), 0xDDEEFF01u);
    EXPECT_EQ(LittleEndianAt(bytes, 20), 0x0A0B0C0Du);
    EXPECT_EQ(bytes[4], 0x44);  // low byte first
    EXPECT_EQ(record.hWnd(), 0x11223344u);
    EXPECT_EQ(record.hIcon(), 0x0A0B0C0Du);
}

TEST(NotifyIconData, ProgramTipIsFollowedByOneNulThenSpaces) {
    const auto record =
        BuildNotifyIconData(0x1234, splash::kTrayIcon.id, splash::kTrayIcon.flags,
                            splash::kTrayIcon.callbackMessage, 0x5678, "Velostan Radio");
    const auto& bytes = record.bytes();
    EXPECT_EQ(record.uID(), 1u);
    EXPECT_EQ(record.uFlags(), 7u);
    EXPECT_EQ(record.uCallbackMessage(), 0x0200u);
    EXPECT_EQ(std::string(bytes.begin() + 24, bytes.begin() + 38), "Velostan Radio");
    EXPECT_EQ(bytes[38], 0);
    for (std::size_t i = 39; i < 88; ++i) {
        EXPECT_EQ(bytes[i], 0x20) << "byte " << i;
    }
}

struct TipCase {
    std::size_t length;
    bool nulInField;
};

class NotifyIconTipLength : public ::testing::TestWithParam<TipCase> {};

TEST_P(NotifyIconTipLength, FieldHoldsAtMost64BytesAndTheNulOnlyUpTo63) {
    const TipCase tipCase = GetParam();
    const std::string tip(tipCase.length, 'x');
    const auto record = BuildNotifyIconData(1, 1, 7, 0x200, 1, tip);
    const std::string field = record.szTip();
    ASSERT_EQ(field.size(), 64u);
    const std::size_t kept = std::min<std::size_t>(tipCase.length, 64);
    EXPECT_EQ(field.substr(0, kept), std::string(kept, 'x'));
    const auto nul = field.find('\0');
    if (tipCase.nulInField) {
        EXPECT_EQ(nul, tipCase.length);
        EXPECT_EQ(field.find_first_not_of(' ', nul + 1), std::string::npos);
    } else {
        EXPECT_EQ(nul, std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, NotifyIconTipLength,
                         ::testing::Values(TipCase{0, true}, TipCase{14, true}, TipCase{62, true},
                                           TipCase{63, true}, TipCase{64, false},
                                           TipCase{65, false}, TipCase{200, false}),
                         [](const ::testing::TestParamInfo<TipCase>& param) {
                             return std::to_string(param.param.length) + "_characters";
                         });

TEST(NotifyIconData, TipNeverSpillsPastTheRecord) {
    const auto record = BuildNotifyIconData(1, 2, 3, 4, 5, std::string(500, 'y'));
    EXPECT_EQ(record.bytes().size(), 88u);
    EXPECT_EQ(record.bytes()[87], 'y');
    EXPECT_EQ(record.cbSize(), 88u);
    EXPECT_EQ(record.hIcon(), 5u);
}

}  // namespace
}  // namespace zavi
