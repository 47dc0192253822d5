// The fixture of every test that loads the program's windows: both are gone again, and no
// quit request is left, after each test.
#pragma once

#include <gtest/gtest.h>

#include "GtkTestSupport.h"
#include "player/VelostanZaviRadio.h"
#include "splash/ZaviRadioSplash.h"

namespace zavi::test {

class ProgramWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override { DrainQuit(); }
    void TearDown() override {
        VelostanZaviRadioInstance().Unload();
        ZaviRadioSplashInstance().Unload();
        DrainQuit();
    }
};

}  // namespace zavi::test
