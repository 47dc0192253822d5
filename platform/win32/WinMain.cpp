// The Windows entry point: Common Controls and OLE for the browser control, then the program.
#include "../../app/Program.h"
#include "../ErrorReport.h"
#include "OleSession.h"
#include "Win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // Unloads the forms in RunProgram, before OLE goes.
    const zavi::OleSession ole;
    if (FAILED(ole.Result())) {
        zavi::ErrorReport(zavi::ProgramError("OLE could not be started on this thread."));
        return 1;
    }
    return zavi::RunSingleInstance();
}
