// The program's entry point: the start-up window is the start-up object.
#include "../platform/ErrorReport.h"
#include "../platform/MessageLoop.h"
#include "../platform/OleSession.h"
#include "../platform/Win32.h"
#include "../player/VelostanZaviRadio.h"
#include "../splash/ZaviRadioSplash.h"

namespace {

// No window, timer or notification icon outlives the program, however it ends; the
// browser control goes while OLE is still up.
void UnloadEverything() {
    zavi::VelostanZaviRadioInstance().Unload();
    zavi::ZaviRadioSplashInstance().Unload();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const zavi::OleSession ole;
    if (FAILED(ole.Result())) {
        zavi::ErrorReport(zavi::ProgramError("OLE could not be started on this thread."));
        return 1;
    }
    try {
        zavi::ZaviRadioSplash().Show();
    } catch (const zavi::ProgramError& error) {
        zavi::ErrorReport(error);
        UnloadEverything();
        return 1;
    }
    const int exitCode = zavi::RunMessageLoop();
    UnloadEverything();
    return exitCode;
}
