// WebEngineWarmUp: the web engine made ready while the start-up window is up, for as long
// as the program runs its windows. The Windows browser control runs inside the program and
// has nothing to start ahead; WebKitGTK starts processes of its own.
#pragma once

#if defined(_WIN32)
namespace zavi {
class WebEngineWarmUp {};
}  // namespace zavi
#else
#include "gtk/WebEngineWarmUp.h"
#endif
