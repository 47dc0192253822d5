// The program from start to end, once the platform is ready: the start-up window is the
// start-up object, and the program runs until its last window goes.
#pragma once

namespace zavi {

// Returns the exit code: 0 after "X" or any other close, 1 after an error that ended it.
int RunProgram();

}  // namespace zavi
