// The platform's own window and icon handles, named without its headers: portable code
// reads them from a form and hands them back to the platform, never looking inside.
#pragma once

#if defined(_WIN32)
struct HWND__;
struct HICON__;
namespace zavi {
using WindowHandle = HWND__*;
using IconHandle = HICON__*;
}  // namespace zavi
#else
struct _GtkWidget;
struct _GdkPixbuf;
namespace zavi {
using WindowHandle = _GtkWidget*;
using IconHandle = _GdkPixbuf*;
}  // namespace zavi
#endif
