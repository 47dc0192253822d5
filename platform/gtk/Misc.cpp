#include "../Misc.h"

#include "../Conversions.h"
#include "../ErrorReport.h"
#include "ColourKey.h"
#include "Gtk.h"

namespace zavi {

// The same steps as on Windows, in their nearest X11 form: the window becomes layered
// (keyed), the alpha is converted (an overflow stops here), then the attributes are set.
void MakeWindowTransparent(WindowHandle window, OleColour colorKey, std::int16_t alpha,
                           std::uint8_t flags) {
    RunTrapped([&] {
        const std::uint8_t alphaByte = ToAlphaByte(alpha);
        if ((flags & kLayerColourKey) != 0) {
            ApplyColourKey(window, colorKey & 0x00FFFFFFu);
        } else {
            RemoveColourKey(window);
        }
        // Seen only where a compositor blends windows.
        gtk_widget_set_opacity(window, (flags & kLayerAlpha) != 0 ? alphaByte / 255.0 : 1.0);
    });
}

}  // namespace zavi
