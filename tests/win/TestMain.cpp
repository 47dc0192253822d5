// Runs every Windows test in one process: each Wine process start costs seconds.
#include <gtest/gtest.h>

#include "platform/Win32.h"

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
