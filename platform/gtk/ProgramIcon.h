// The program icon, built into the executable from resources/ZaviRadio.ico.
#pragma once

#include "Gtk.h"

namespace zavi {

// Its largest image; null if the image cannot be decoded.
GObjectPtr<GdkPixbuf> LoadProgramIcon();
// The sizes a window manager and a panel pick from, from the largest image.
void SetWindowIcons(GtkWindow* window, GdkPixbuf* icon);

}  // namespace zavi
