#include "../Screen.h"

#include "../Twips.h"
#include "PrimaryMonitor.h"

namespace zavi::Screen {
namespace {

// The primary monitor whole, panels included: not its work area.
GdkRectangle PrimaryGeometry() {
    GdkRectangle geometry{0, 0, 0, 0};
    if (GdkMonitor* monitor = PrimaryMonitor()) {
        gdk_monitor_get_geometry(monitor, &geometry);
    }
    return geometry;
}

}  // namespace

GdkMonitor* PrimaryMonitor() {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    return monitor != nullptr ? monitor : gdk_display_get_monitor(display, 0);
}

int Dpi() {
    GdkMonitor* monitor = PrimaryMonitor();
    return LogicalDpi(gdk_screen_get_resolution(gdk_screen_get_default()),
                      monitor != nullptr ? gdk_monitor_get_scale_factor(monitor) : 1);
}

double Width() {
    return PixelsToTwips(PrimaryGeometry().width, Dpi());
}

double Height() {
    return PixelsToTwips(PrimaryGeometry().height, Dpi());
}

double Left() {
    return PixelsToTwips(PrimaryGeometry().x, Dpi());
}

double Top() {
    return PixelsToTwips(PrimaryGeometry().y, Dpi());
}

}  // namespace zavi::Screen
