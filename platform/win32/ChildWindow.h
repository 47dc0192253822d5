// Owns a child control's window: it goes with the control, before its parent goes.
#pragma once

#include "../UniqueHandle.h"
#include "Win32.h"

namespace zavi {

using ChildWindow = UniqueHandle<HWND, &DestroyWindow>;

}  // namespace zavi
