// The monitor the program's windows go on: the primary one, else the first.
#pragma once

#include "Gtk.h"

namespace zavi::Screen {

GdkMonitor* PrimaryMonitor();

}  // namespace zavi::Screen
