// ColourKey: pixels of exactly one colour made see-through on an X11 window with no
// compositor. The window is rendered off screen, the runs of every other colour become
// its X Shape mask, and the mask is made again, for the changed part only, when a
// control in it changes.
#pragma once

#include <cstdint>

#include "Gtk.h"

namespace zavi {

// Keys out `rgb` (0x00BBGGRR) on a top-level window, replacing any key it had.
void ApplyColourKey(GtkWidget* window, std::uint32_t rgb);
// Removes the key: the whole window shows again.
void RemoveColourKey(GtkWidget* window);
// A control's looks changed: its part of its window's mask is made again, if the window
// is keyed.
void RefreshColourKey(GtkWidget* control);

// The parts of a rendered RGB24 image (cairo's layout) that are not the key colour, as
// one-pixel-high runs, offset by (left, top).
cairo_region_t* RegionWithout(cairo_surface_t* image, std::uint32_t rgb, int left, int top);

}  // namespace zavi
