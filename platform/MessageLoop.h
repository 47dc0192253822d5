// The UI thread's event loop.
#pragma once

namespace zavi {

// Handles events until the last form is unloaded or an unhandled error ends the program;
// returns the exit code.
int RunMessageLoop();

}  // namespace zavi
