// The GTK main loop as the program's message loop. A quit request, with its exit code,
// waits until the loop takes it, as WM_QUIT waits in a thread's queue.
#pragma once

#include <optional>

#include "../MessageLoop.h"

namespace zavi {

void RequestQuit(int exitCode);
// The request left for the loop, taken from it; for tests that pump events themselves.
std::optional<int> TakeQuitRequest();

}  // namespace zavi
