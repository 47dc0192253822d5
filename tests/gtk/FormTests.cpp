#include <gtest/gtest.h>

#include <functional>

#include "GtkTestSupport.h"
#include "platform/DefaultInstance.h"
#include "platform/ProgramError.h"
#include "FormCases.h"
#include "TestForm.h"
#include "platform/gtk/Form.h"

namespace zavi {
namespace {

using test::kTestLabel;
using test::TestForm;

TEST_F(FormTest, UnloadDestroysTheWindowAndOnlyTheLastOneEndsTheLoop) {
    DefaultInstance<TestForm> first;
    DefaultInstance<TestForm> second;
    first();
    second();
    EXPECT_TRUE(Form::AnyLoaded());
    first.Unload();
    EXPECT_EQ(first().unloads, 1);
    EXPECT_EQ(first().loads, 2);  // loaded afresh by that reference
    EXPECT_NE(first().hWnd(), nullptr);
    first.Unload();
    EXPECT_FALSE(test::PumpFor(20).quitRequested);
    second.Unload();
    EXPECT_FALSE(Form::AnyLoaded());
    const test::PumpResult ended = test::PumpFor(20);
    EXPECT_TRUE(ended.quitRequested);
    EXPECT_EQ(ended.exitCode, 0);
    first.Unload();  // not loaded: does nothing, and does not load it
    EXPECT_FALSE(first.IsLoaded());
}

TEST_F(FormTest, CloseRequestUnloadsTheForm) {
    DefaultInstance<TestForm> instance;
    TestForm& form = instance();
    form.Show();
    test::SendDeleteEvent(form.hWnd());
    EXPECT_FALSE(instance.IsLoaded());
    EXPECT_EQ(form.unloads, 1);
}

TEST_F(FormTest, ShowAndHideChangeVisibilityAndGeometryIsInTwips) {
    DefaultInstance<TestForm> instance;
    TestForm& form = instance();
    EXPECT_FALSE(gtk_widget_get_visible(form.hWnd()));
    form.Show();
    ASSERT_TRUE(test::PumpUntil([&] { return gtk_widget_get_mapped(form.hWnd()) != FALSE; }, 2000));
    const PixelRect expected = ToPixels({1500, 1500, 3000, 1500}, form.Dpi());
    EXPECT_DOUBLE_EQ(form.Width(), PixelsToTwips(expected.width, form.Dpi()));
    EXPECT_DOUBLE_EQ(form.Height(), PixelsToTwips(expected.height, form.Dpi()));
    form.SetLeft(-300);
    form.SetTop(600);
    ASSERT_TRUE(test::PumpUntil(
        [&] { return test::FactsOf(form.hWnd()).outer.x == TwipsToPixels(-300, form.Dpi()); },
        2000));
    EXPECT_EQ(test::FactsOf(form.hWnd()).outer.y, TwipsToPixels(600, form.Dpi()));
    EXPECT_DOUBLE_EQ(form.Left(), PixelsToTwips(TwipsToPixels(-300, form.Dpi()), form.Dpi()));
    form.Hide();
    EXPECT_FALSE(gtk_widget_get_visible(form.hWnd()));
    instance.Unload();
}

TEST_F(FormTest, ErrorNoHandlerTrapsIsReportedAndEndsTheProgram) {
    DefaultInstance<TestForm> instance;
    TestForm& form = instance();
    test::ErrorDialogAnswerer answerer;
    form.failOnTick = true;
    const test::PumpResult result = test::PumpFor(300);
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"Tick failed Source : VLZaviRadio"});
    EXPECT_EQ(answerer.Titles(), std::vector<std::string>{"zaviradio10.01.29"});
    EXPECT_EQ(answerer.Buttons(), std::vector<std::string>{"_OK"});  // one OK button
    EXPECT_TRUE(result.quitRequested);
    EXPECT_EQ(result.exitCode, 1);
    instance.Unload();
}

}  // namespace
}  // namespace zavi
