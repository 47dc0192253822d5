// The UI thread's message loop.
#pragma once

namespace zavi {

// Dispatches messages until the last form is unloaded; returns the exit code.
int RunMessageLoop();

}  // namespace zavi
