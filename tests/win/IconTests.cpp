#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "ProgramWindowsTest.h"
#include "WineTestSupport.h"
#include "player/VelostanZaviRadio.h"
#include "resources/ResourceIds.h"
#include "splash/ZaviRadioSplash.h"

namespace zavi {
namespace {

// An icon drawn at the given size over magenta, as 32-bit pixels.
std::vector<std::uint32_t> Pixels(HICON icon, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    const HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    const RECT all{0, 0, size, size};
    FillRect(dc, &all, magenta);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + size * size);
    SelectObject(dc, previous);
    DeleteObject(magenta);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

const BYTE* ResourceBits(int id, LPCWSTR type, DWORD* size) {
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) {
        return nullptr;
    }
    *size = SizeofResource(nullptr, found);
    return static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
}

// The image of the program's icon group that the platform picks for this size, and that
// image made into an icon on its own.
struct PickedImage {
    int id;
    HICON icon;
};

std::optional<PickedImage> PickFromGroup(int size) {
    DWORD groupSize = 0;
    const BYTE* group = ResourceBits(kProgramIconId, RT_GROUP_ICON, &groupSize);
    if (group == nullptr) {
        return std::nullopt;
    }
    const int id =
        LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group), TRUE, size, size, LR_DEFAULTCOLOR);
    DWORD imageSize = 0;
    const BYTE* image = ResourceBits(id, RT_ICON, &imageSize);
    if (image == nullptr) {
        return std::nullopt;
    }
    const HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image), imageSize, TRUE,
                                                0x00030000, size, size, LR_DEFAULTCOLOR);
    return PickedImage{id, icon};
}

using IconTest = test::ProgramWindowsTest;

TEST_F(IconTest, TheSplashAndTheNotificationIconShowTheProgramIconGroup) {
    const int size = GetSystemMetrics(SM_CXSMICON);
    const auto picked = PickFromGroup(size);
    ASSERT_TRUE(picked.has_value());
    EXPECT_GE(picked->id, 30001);
    EXPECT_LE(picked->id, 30011);
    auto& splash = ZaviRadioSplash();
    const std::vector<std::uint32_t> expected = Pixels(picked->icon, size);
    EXPECT_EQ(Pixels(splash.Icon(), size), expected);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(splash.hWnd(), WM_GETICON, ICON_SMALL, 0)),
              splash.Icon());
    // The icon is drawn at all, and in more than one colour: a blank match proves nothing.
    int coloured = 0;
    for (std::uint32_t pixel : expected) {
        coloured += (pixel & 0x00FFFFFF) != 0x00FF00FF ? 1 : 0;
    }
    EXPECT_GT(coloured, size * size / 3);
    // And the 16-colour image of the same size looks different, so the check can tell.
    DWORD imageSize = 0;
    const BYTE* sixteen = ResourceBits(30003, RT_ICON, &imageSize);
    ASSERT_NE(sixteen, nullptr);
    const HICON sixteenColours = CreateIconFromResourceEx(
        const_cast<BYTE*>(sixteen), imageSize, TRUE, 0x00030000, 16, 16, LR_DEFAULTCOLOR);
    if (size == 16) {
        EXPECT_NE(Pixels(sixteenColours, 16), expected);
    }
    DestroyIcon(sixteenColours);

    ASSERT_FALSE(test::Recorded().notifyCalls.empty());
    EXPECT_EQ(test::Recorded().notifyCalls.front().data.hIcon, splash.Icon());
    DestroyIcon(picked->icon);
}

TEST_F(IconTest, ThePlayerCarriesTheSameIcon) {
    ZaviRadioSplash().Show();
    auto& player = VelostanZaviRadio();
    const int size = GetSystemMetrics(SM_CXICON);
    const auto picked = PickFromGroup(size);
    ASSERT_TRUE(picked.has_value());
    const auto big = reinterpret_cast<HICON>(SendMessageW(player.hWnd(), WM_GETICON, ICON_BIG, 0));
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(Pixels(big, size), Pixels(picked->icon, size));
    DestroyIcon(picked->icon);
}

}  // namespace
}  // namespace zavi
