// Starting GTK the way every part of the Linux build needs it.
#pragma once

namespace zavi {

// Chooses the X11 backend (the corner placement, the shape mask and the tray need it; a
// Wayland desktop runs the program through XWayland), sets up the web engine's renderer,
// and starts GTK. False when there is no display to open.
bool StartPlatform(int* argc, char*** argv);

}  // namespace zavi
