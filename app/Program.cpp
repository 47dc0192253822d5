#include "Program.h"

#include "../platform/AppIdentity.h"
#include "../platform/ErrorReport.h"
#include "../platform/InstanceClaim.h"
#include "../platform/MessageLoop.h"
#include "../player/PlayerDefinition.h"
#include "../player/VelostanZaviRadio.h"
#include "../splash/ZaviRadioSplash.h"

namespace zavi {
namespace {

// No window, timer or notification icon outlives the program, however it ends; the
// player's web engine goes while the platform is still up.
void UnloadEverything() {
    VelostanZaviRadioInstance().Unload();
    ZaviRadioSplashInstance().Unload();
}

}  // namespace

int RunProgram() {
    try {
        ZaviRadioSplash().Show();
    } catch (const ProgramError& error) {
        ErrorReport(error);
        UnloadEverything();
        return 1;
    }
    const int exitCode = RunMessageLoop();
    UnloadEverything();
    return exitCode;
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
