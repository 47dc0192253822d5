// Tests of the Linux windows: GTK is started once, on the display the test run provides.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/gtk/Platform.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!zavi::StartPlatform(&argc, &argv)) {
        std::fprintf(stderr, "no X display: these tests need one (scripts/test.sh starts it)\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
