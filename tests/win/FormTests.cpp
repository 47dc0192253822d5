#include <gtest/gtest.h>

#include <functional>

#include "WineTestSupport.h"
#include "platform/DefaultInstance.h"
#include "platform/win32/Form.h"
#include "platform/ProgramError.h"
#include "FormCases.h"
#include "TestForm.h"

namespace zavi {
namespace {

using test::kTestLabel;
using test::TestForm;

TEST_F(FormTest, UnloadDestroysTheWindowAndALaterReferenceLoadsItAfresh) {
    DefaultInstance<TestForm> instance;
    TestForm& form = instance();
    const HWND first = form.hWnd();
    ASSERT_TRUE(IsWindow(first));
    instance.Unload();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(instance.IsLoaded());
    EXPECT_EQ(form.unloads, 1);
    instance();
    EXPECT_TRUE(IsWindow(form.hWnd()));
    EXPECT_EQ(form.loads, 2);
    instance.Unload();
}

TEST_F(FormTest, UnloadingAFormThatIsNotLoadedDoesNotLoadIt) {
    DefaultInstance<TestForm> instance;
    instance.Unload();
    EXPECT_FALSE(instance.IsLoaded());
    EXPECT_FALSE(Form::AnyLoaded());
}

TEST_F(FormTest, MessageLoopIsToldToEndOnlyWhenTheLastFormGoes) {
    DefaultInstance<TestForm> first;
    DefaultInstance<TestForm> second;
    first();
    second();
    EXPECT_TRUE(Form::AnyLoaded());
    first.Unload();
    EXPECT_FALSE(test::PumpMessagesFor(20).quitPosted);
    EXPECT_TRUE(Form::AnyLoaded());
    second.Unload();
    EXPECT_FALSE(Form::AnyLoaded());
    EXPECT_TRUE(test::PumpMessagesFor(20).quitPosted);
}

TEST_F(FormTest, CloseRequestUnloadsTheForm) {
    DefaultInstance<TestForm> instance;
    TestForm& form = instance();
    SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(instance.IsLoaded());
    EXPECT_EQ(form.unloads, 1);
}

TEST_F(FormTest, ShowAndHideChangeVisibilityWithoutActivating) {
    DefaultInstance<TestForm> instance;
    TestForm& form = instance();
    EXPECT_FALSE(IsWindowVisible(form.hWnd()));
    const HWND foreground = GetForegroundWindow();
    form.Show();
    EXPECT_TRUE(IsWindowVisible(form.hWnd()));
    EXPECT_EQ(GetForegroundWindow(), foreground);
    form.Hide();
    EXPECT_FALSE(IsWindowVisible(form.hWnd()));
    instance.Unload();
}

TEST_F(FormTest, GeometryIsInTwipsAtTheScreenDpi) {
    DefaultInstance<TestForm> instance;
    TestForm& form = instance();
    RECT outer{};
    GetWindowRect(form.hWnd(), &outer);
    const PixelRect expected = ToPixels({1500, 1500, 3000, 1500}, form.Dpi());
    EXPECT_EQ(outer.left, expected.left);
    EXPECT_EQ(outer.right - outer.left, expected.width);
    EXPECT_DOUBLE_EQ(form.Width(), PixelsToTwips(expected.width, form.Dpi()));
    form.SetLeft(-300);
    form.SetTop(600);
    EXPECT_DOUBLE_EQ(form.Left(), PixelsToTwips(TwipsToPixels(-300, form.Dpi()), form.Dpi()));
    GetWindowRect(form.hWnd(), &outer);
    EXPECT_EQ(outer.left, TwipsToPixels(-300, form.Dpi()));
    EXPECT_EQ(outer.top, TwipsToPixels(600, form.Dpi()));
    instance.Unload();
}

TEST_F(FormTest, LabelsShowTheUpArrowPointerWhereTheyAskForIt) {
    DefaultInstance<TestForm> instance;
    TestForm& form = instance();
    form.Show();
    const PixelRect box = ToPixels(kTestLabel.bounds, form.Dpi());
    POINT inside{box.left + 2, box.top + 2};
    ClientToScreen(form.hWnd(), &inside);
    SetCursorPos(inside.x, inside.y);
    SendMessageW(form.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.hWnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_UPARROW));
    POINT outside{box.left + box.width + 5, box.top + box.height + 5};
    ClientToScreen(form.hWnd(), &outside);
    SetCursorPos(outside.x, outside.y);
    SendMessageW(form.hWnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.hWnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    instance.Unload();
}

TEST_F(FormTest, ErrorNoHandlerTrapsIsReportedAndEndsTheProgram) {
    DefaultInstance<TestForm> instance;
    TestForm& form = instance();
    test::ErrorBoxAnswerer answerer;
    form.failOnTick = true;
    const test::PumpResult result = test::PumpMessagesFor(300);
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"Tick failed Source : VLZaviRadio"});
    EXPECT_TRUE(result.quitPosted);
    instance.Unload();
}

}  // namespace
}  // namespace zavi
