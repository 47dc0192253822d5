// The UI thread's message loop (RunMessageLoop is declared in platform/MessageLoop.h).
#pragma once

#include "../MessageLoop.h"
#include "Win32.h"

namespace zavi {

// What the loop does with each message it takes from the queue.
void DispatchQueuedMessage(MSG& message);

}  // namespace zavi
