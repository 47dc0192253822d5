#include "../Screen.h"

#include <cmath>

#include "../Twips.h"
#include "Gtk.h"

namespace zavi::Screen {
namespace {

// The primary monitor whole, panels included: not its work area.
GdkRectangle PrimaryMonitor() {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr) {
        monitor = gdk_display_get_monitor(display, 0);
    }
    GdkRectangle geometry{0, 0, 0, 0};
    if (monitor != nullptr) {
        gdk_monitor_get_geometry(monitor, &geometry);
    }
    return geometry;
}

}  // namespace

int Dpi() {
    const double resolution = gdk_screen_get_resolution(gdk_screen_get_default());
    return resolution > 0 ? static_cast<int>(std::lround(resolution)) : 96;
}

double Width() {
    return PixelsToTwips(PrimaryMonitor().width, Dpi());
}

double Height() {
    return PixelsToTwips(PrimaryMonitor().height, Dpi());
}

}  // namespace zavi::Screen
