#include "Program.h"

#include "../platform/AppIdentity.h"
#include "../platform/ErrorReport.h"
#include "../platform/InstanceClaim.h"
#include "../platform/MessageLoop.h"
#include "../platform/Runtime.h"
#include "../player/PlayerDefinition.h"
#include "../player/VelostanZaviRadio.h"
#include "../splash/ZaviRadioSplash.h"

namespace zavi {

int RunProgram() {
    // Outlives the windows, so a spare view nobody took goes while the platform is up.
    [[maybe_unused]] const WebEngineWarmUp warmUp;
    try {
        ZaviRadioSplash().Show();
    } catch (const ProgramError& error) {
        ErrorReport(error);
        UnloadProgramWindows();
        return 1;
    }
    const int exitCode = RunMessageLoop();
    // No window, timer or notification icon outlives the program, however it ends; the
    // player's web engine goes while the platform is still up.
    UnloadProgramWindows();
    return exitCode;
}

void UnloadProgramWindows() {
    VelostanZaviRadioInstance().Unload();
    ZaviRadioSplashInstance().Unload();
}

int RunSingleInstance() {
    InstanceClaim claim(kProjectName);
    if (!claim.Held()) {
        ShowRunningForm(player::kForm);
        if (!claim.WaitFor(kHandOverPatience)) {
            return 0;
        }
    }
    return RunProgram();
}

}  // namespace zavi
