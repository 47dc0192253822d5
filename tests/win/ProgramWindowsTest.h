// The fixture of every test that loads the program's windows: the platform operations are
// bound to recording stand-ins, and both windows are gone again after each test.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "WineTestSupport.h"
#include "player/VelostanZaviRadio.h"
#include "splash/ZaviRadioSplash.h"

namespace zavi::test {

class ProgramWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DrainQuit();
        m_binding.emplace(RecordingTable());
    }
    void TearDown() override {
        VelostanZaviRadioInstance().Unload();
        ZaviRadioSplashInstance().Unload();
        m_binding.reset();
        DrainQuit();
    }

    std::optional<API::ScopedBinding> m_binding;
};

}  // namespace zavi::test
