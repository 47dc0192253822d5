// The whole primary screen, in twips, and its dots per inch.
#pragma once

namespace zavi::Screen {

int Dpi();
// The whole screen, taskbar included: not the work area.
double Width();
double Height();

}  // namespace zavi::Screen
