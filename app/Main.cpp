// The program's entry point: the start-up window is the start-up object.
#include "../platform/ErrorReport.h"
#include "../platform/MessageLoop.h"
#include "../platform/Win32.h"
#include "../splash/ZaviRadioSplash.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    try {
        zavi::ZaviRadioSplash().Show();
    } catch (const zavi::ProgramError& error) {
        zavi::ErrorReport(error);
        zavi::ZaviRadioSplashInstance().Unload();
        return 1;
    }
    const int exitCode = zavi::RunMessageLoop();
    // The loop also ends on an unexpected error; no window, timer or icon is left behind.
    zavi::ZaviRadioSplashInstance().Unload();
    return exitCode;
}
