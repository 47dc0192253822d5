#include <gtest/gtest.h>

#include "WineTestSupport.h"
#include "platform/ProgramError.h"
#include "platform/NotifyIconData.h"

namespace zavi {
namespace {

TEST(Api, PlatformExportsEveryOperationTheProgramNames) {
    const API::Table table = API::Platform();
    EXPECT_NE(table.Shell_NotifyIconA, nullptr);
    EXPECT_NE(table.GetWindowLongA, nullptr);
    EXPECT_NE(table.SetWindowLongA, nullptr);
    EXPECT_NE(table.SetLayeredWindowAttributes, nullptr);
}

TEST(Api, RecordIsMappedOntoTheNativeStructureFieldByField) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    const std::uint32_t windowBits = static_cast<std::uint32_t>(HandleToLong(window));
    const std::uint32_t iconBits = static_cast<std::uint32_t>(HandleToLong(icon));
    const auto record = BuildNotifyIconData(windowBits, 9, 7, 0x200, iconBits, "Tip");
    {
        API::ScopedBinding binding(test::RecordingTable());
        EXPECT_TRUE(API::Shell_NotifyIconA(NIM_ADD, record));
    }
    DestroyWindow(window);
    ASSERT_EQ(test::Recorded().notifyCalls.size(), 1u);
    const auto& call = test::Recorded().notifyCalls[0];
    EXPECT_EQ(call.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(call.data.cbSize, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(call.data.hWnd, window);
    EXPECT_EQ(call.data.hIcon, icon);
    EXPECT_EQ(call.data.uID, 9u);
    EXPECT_EQ(call.data.uFlags, 7u);
    EXPECT_EQ(call.data.uCallbackMessage, 0x200u);
    EXPECT_EQ(test::TipBytes(call.data, 64), record.szTip());
}

TEST(Api, MissingOperationRaisesAnErrorNamingItAndItsLibrary) {
    API::Table table = test::RecordingTable();
    table.SetLayeredWindowAttributes = nullptr;
    table.Shell_NotifyIconA = nullptr;
    API::ScopedBinding binding(table);
    try {
        API::SetLayeredWindowAttributes(nullptr, 0, 0, 0);
        ADD_FAILURE() << "no error raised";
    } catch (const ProgramError& error) {
        EXPECT_EQ(error.Description(),
                  "Can't find DLL entry point SetLayeredWindowAttributes in user32");
        EXPECT_EQ(error.Source(), "VLZaviRadio");
    }
    EXPECT_THROW(API::Shell_NotifyIconA(NIM_ADD, NotifyIconData{}), ProgramError);
    // The operations still bound keep working.
    EXPECT_EQ(API::GetWindowLongA(GetDesktopWindow(), GWL_EXSTYLE),
              ::GetWindowLongA(GetDesktopWindow(), GWL_EXSTYLE));
}

TEST(Api, BindingIsRestoredWhenTheScopeEnds) {
    {
        API::Table empty{};
        API::ScopedBinding binding(empty);
        EXPECT_THROW(API::GetWindowLongA(GetDesktopWindow(), GWL_STYLE), ProgramError);
    }
    EXPECT_NO_THROW(API::GetWindowLongA(GetDesktopWindow(), GWL_STYLE));
}

}  // namespace
}  // namespace zavi
