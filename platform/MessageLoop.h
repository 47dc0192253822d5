// The UI thread's message loop.
#pragma once

#include "Win32.h"

namespace zavi {

// Dispatches messages until the last form is unloaded; returns the exit code.
int RunMessageLoop();
// What the loop does with each message it takes from the queue.
void DispatchQueuedMessage(MSG& message);

}  // namespace zavi
