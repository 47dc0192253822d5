// The seam between the program's windows and the platform they run on. The windows are
// written once against this set; each build brings one implementation of exactly it:
//
//   Form          a top-level window: Load (controls, timers, then OnLoad), Show (leaves a
//                 visible one alone), Hide, Unload (OnUnload, then its controls go), outer
//                 geometry in twips, hWnd() and Icon(); the last unload ends the loop
//   Label         windowless text painted by its form over the form's background
//   ProgressBar   minimum, maximum and value
//   PushButton    a caption; clicks reach the form's OnClick with the button's id
//   WebBrowser    the platform's web engine, told to navigate and never waited for
//   NotifyIcon    the form's icon and a tip in the notification area, withdrawn when it goes
//   WebEngineWarmUp  the web engine made ready while the start-up window is up, for as
//                 long as the program runs its windows (Windows' control runs inside the
//                 program and has nothing to start ahead: there it is empty)
//
// and, declared once in platform/: MakeWindowTransparent (Misc.h), Screen, ErrorReport,
// RunMessageLoop, and InstanceClaim with ShowRunningForm (one program per session).
// Geometry and looks come from the definitions in ControlDefinitions.h, in twips,
// converted at the screen's DPI.
#pragma once

#if defined(_WIN32)
#include "win32/Form.h"
#include "win32/Label.h"
#include "win32/NotifyIcon.h"
#include "win32/ProgressBar.h"
#include "win32/PushButton.h"
#include "win32/WebBrowser.h"
namespace zavi {
class WebEngineWarmUp {};
// The shell sends no wheel over a notification icon: its menu has Louder and Softer.
inline constexpr bool kTrayHasWheel = false;
}  // namespace zavi
#else
#include "gtk/Form.h"
#include "gtk/Label.h"
#include "gtk/NotifyIcon.h"
#include "gtk/ProgressBar.h"
#include "gtk/PushButton.h"
#include "gtk/WebBrowser.h"
#include "gtk/WebEngineWarmUp.h"
namespace zavi {
inline constexpr bool kTrayHasWheel = true;
}  // namespace zavi
#endif
