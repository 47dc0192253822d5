// A notice in the desktop's notification area (org.freedesktop.Notifications), for what a
// user must hear of when the program has no window to say it in.
#pragma once

namespace zavi {

// False when no notification server answered on the session bus.
bool SendDesktopNotice(const char* summary, const char* body);

}  // namespace zavi
