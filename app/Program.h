// The program from start to end, once the platform is ready: the start-up window is the
// start-up object, and the program runs until its last window goes.
#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "../platform/NotifyIconActions.h"

namespace zavi {

// Returns the exit code: 0 after "X" or any other close, 1 after an error that ended it.
int RunProgram();

// How long a second launch waits for a program that may be ending before it gives way.
inline constexpr std::chrono::milliseconds kHandOverPatience{500};

// The close sequence of "X", the tray's "Quit" and the program's end: the player unloaded,
// then the start-up window (and its icon); with no window left, the loop ends. Loads
// neither.
void UnloadProgramWindows();

// Between the program's two windows, which never reach each other but through these.
// The player is up: the start-up window goes out of sight and the tray shows the radio.
void PlayerLoaded();
// The radio changed (the listener's state, what plays): the tray says so.
void RadioChanged();
// The start-up window's hand-off: the player loaded if need be and shown.
void ShowPlayer();
// What the tray hands to the player while it is up (nothing otherwise): its window
// presented, one of the radio's menu items, the middle click, the wheel.
void PresentPlayer();
void PlayerMenuItem(unsigned itemId);
void TogglePlayerPause();
void ScrollPlayerVolume(int steps);
// The radio's tip and menu lines while the player is up, IDLE_TIP in the tip while
// nothing is said to play; none while no player is up.
struct RadioLines {
    MenuEntry tip;
    std::vector<MenuEntry> menu;
};
std::optional<RadioLines> PlayerTrayLines(const char* idleTip);

// RunProgram for the first launch in the user's session. A later launch makes no window
// of its own: it brings the running program's player forward, if it has one up, and ends
// with 0; but if the running program ends meanwhile, this launch starts normally.
int RunSingleInstance();

}  // namespace zavi
