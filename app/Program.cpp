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

void PlayerLoaded() {
    ZaviRadioSplash().Hide();
    RefreshTray();
}

void RadioChanged() {
    RefreshTray();
}

void ShowPlayer() {
    VelostanZaviRadio().Show();
}

namespace {

// The player, when it is up; never loads it.
template <class Action>
void WithPlayer(Action action) {
    if (VelostanZaviRadioInstance().IsLoaded()) {
        action(VelostanZaviRadio());
    }
}

}  // namespace

void PresentPlayer() {
    WithPlayer([](auto& player) { player.Present(); });
}

void PlayerMenuItem(unsigned itemId) {
    WithPlayer([itemId](auto& player) { player.Listen(itemId); });
}

void TogglePlayerPause() {
    WithPlayer([](auto& player) { player.TogglePause(); });
}

void ScrollPlayerVolume(int steps) {
    WithPlayer([steps](auto& player) { player.Scroll(steps); });
}

std::optional<RadioLines> PlayerTrayLines(const char* idleTip) {
    std::optional<RadioLines> lines;
    WithPlayer([&](auto& player) {
        lines = RadioLines{player.TrayTip(idleTip), player.TrayMenu()};
    });
    return lines;
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
