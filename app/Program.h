// The program from start to end, once the platform is ready: the start-up window is the
// start-up object, and the program runs until its last window goes.
#pragma once

#include <chrono>

namespace zavi {

// Returns the exit code: 0 after "X" or any other close, 1 after an error that ended it.
int RunProgram();

// How long a second launch waits for a program that may be ending before it gives way.
inline constexpr std::chrono::milliseconds kHandOverPatience{500};

// The close sequence of "X", the tray's "Quit" and the program's end: the player unloaded,
// then the start-up window (and its icon); with no window left, the loop ends. Loads
// neither.
void UnloadProgramWindows();

// RunProgram for the first launch in the user's session. A later launch makes no window
// of its own: it brings the running program's player forward, if it has one up, and ends
// with 0; but if the running program ends meanwhile, this launch starts normally.
int RunSingleInstance();

}  // namespace zavi
