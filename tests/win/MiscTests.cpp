#include <gtest/gtest.h>

#include "WineTestSupport.h"
#include "platform/Misc.h"

namespace zavi {
namespace {

class MakeWindowTransparentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP, 0, 0,
                                   50, 50, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_window, nullptr);
    }
    void TearDown() override { DestroyWindow(m_window); }

    LONG ExStyle() const { return ::GetWindowLongW(m_window, GWL_EXSTYLE); }

    HWND m_window = nullptr;
};

TEST_F(MakeWindowTransparentTest, LayersTheWindowAndKeepsItsOtherStyles) {
    MakeWindowTransparent(m_window, 0x00FFFFFF, 0, LWA_COLORKEY);
    EXPECT_TRUE(ExStyle() & WS_EX_LAYERED);
    EXPECT_TRUE(ExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ExStyle() & WS_EX_TOPMOST);
    COLORREF key = 0;
    BYTE alpha = 1;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(m_window, &key, &alpha, &flags));
    EXPECT_EQ(key, 0x00FFFFFFu);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
}

TEST_F(MakeWindowTransparentTest, SecondCallReplacesTheAttributesAndKeepsOneLayeredBit) {
    const LONG before = ExStyle();
    MakeWindowTransparent(m_window, 0x00FFFFFF, 0, LWA_COLORKEY);
    MakeWindowTransparent(m_window, 0x0000FF00, 200, LWA_ALPHA);
    EXPECT_EQ(ExStyle(), before | WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(m_window, &key, &alpha, &flags));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_EQ(alpha, 200);
}

TEST_F(MakeWindowTransparentTest, AlphaOutsideAByteIsReportedAndNothingIsLayeredWithIt) {
    API::ScopedBinding binding(test::RecordingTable());
    test::ErrorBoxAnswerer answerer;
    MakeWindowTransparent(m_window, 0x00FFFFFF, 300, LWA_COLORKEY);
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"Overflow Source : VLZaviRadio"});
    // The style step ran before the conversion failed; the attributes step did not.
    EXPECT_TRUE(ExStyle() & WS_EX_LAYERED);
    EXPECT_TRUE(test::Recorded().layeredKeys.empty());
}

TEST_F(MakeWindowTransparentTest, MissingLayeringOperationIsReportedAndAbsorbed) {
    API::Table table = test::RecordingTable();
    table.SetLayeredWindowAttributes = nullptr;
    API::ScopedBinding binding(table);
    test::ErrorBoxAnswerer answerer;
    MakeWindowTransparent(m_window, 0x00FFFFFF, 0, LWA_COLORKEY);
    EXPECT_EQ(answerer.Texts(),
              std::vector<std::string>{
                  "Can't find DLL entry point SetLayeredWindowAttributes in user32 Source : "
                  "VLZaviRadio"});
    EXPECT_TRUE(ExStyle() & WS_EX_LAYERED);
}

TEST_F(MakeWindowTransparentTest, MissingStyleReadStopsBeforeTheStyleChanges) {
    API::Table table = test::RecordingTable();
    table.GetWindowLongA = nullptr;
    API::ScopedBinding binding(table);
    test::ErrorBoxAnswerer answerer;
    const LONG before = ExStyle();
    MakeWindowTransparent(m_window, 0x00FFFFFF, 0, LWA_COLORKEY);
    ASSERT_EQ(answerer.Texts().size(), 1u);
    EXPECT_EQ(answerer.Texts()[0],
              "Can't find DLL entry point GetWindowLongA in user32 Source : VLZaviRadio");
    EXPECT_EQ(ExStyle(), before);
    EXPECT_EQ(test::Recorded().setStyleCalls, 0);
}

}  // namespace
}  // namespace zavi
