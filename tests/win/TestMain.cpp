// Runs every Windows test in one process: each Wine process start costs seconds.
#include <gtest/gtest.h>

#include "platform/win32/OleSession.h"
#include "platform/win32/Win32.h"

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The player's browser control needs OLE, as in the program.
    const zavi::OleSession ole;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
