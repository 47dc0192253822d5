// The whole primary screen, in twips, and its dots per inch.
#pragma once

namespace zavi::Screen {

int Dpi();
// The whole screen, taskbar included: not the work area.
double Width();
double Height();
// Where it begins on the desktop of all monitors: on Windows always the origin; on X11 a
// primary monitor may be anywhere, left of or above another (negative is fine).
double Left();
double Top();

}  // namespace zavi::Screen
