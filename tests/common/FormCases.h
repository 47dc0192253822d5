// The form cases both builds share, word for word: included by each build's FormTests.cpp
// after its own test support, which gives test::PumpFor and test::DrainQuit.
#pragma once

#include <gtest/gtest.h>

#include "TestForm.h"
#include "platform/DefaultInstance.h"

namespace zavi {
namespace {

using test::TestForm;

class FormTest : public ::testing::Test {
  protected:
    void SetUp() override { test::DrainQuit(); }
    void TearDown() override { test::DrainQuit(); }
};

TEST_F(FormTest, FirstReferenceLoadsOnceAndAReferenceDuringLoadIsTheSameForm) {
    DefaultInstance<TestForm> instance;
    EXPECT_FALSE(instance.IsLoaded());
    TestForm* nested = nullptr;
    TestForm& form = instance();
    EXPECT_EQ(form.loads, 1);
    form.Unload();
    form.duringLoad = [&] { nested = &instance(); };
    TestForm& again = instance();
    EXPECT_EQ(&again, &form);
    EXPECT_EQ(nested, &form);
    EXPECT_EQ(form.loads, 2);
    form.Unload();
}

TEST_F(FormTest, TimersTickWhileLoadedAndStopWithTheWindow) {
    DefaultInstance<TestForm> instance;
    TestForm& form = instance();
    test::PumpFor(200);
    EXPECT_GT(form.ticks, 3);
    EXPECT_LE(form.ticks, 21);  // 10 ms at the fastest
    instance.Unload();
    const int ticksAtUnload = form.ticks;
    test::PumpFor(100);
    EXPECT_EQ(form.ticks, ticksAtUnload);
}

}  // namespace
}  // namespace zavi
