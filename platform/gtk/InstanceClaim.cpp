#include "../InstanceClaim.h"

#include <fcntl.h>
#include <X11/Xatom.h>
#include <gdk/gdkx.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "Gtk.h"
#include "XErrorTrap.h"

namespace zavi {
namespace {

// The claim's file: the name and the display, so that each of a user's desktops has one.
std::string ClaimPath(const char* runtimeFolder, const char* name) {
    const char* displayName = gdk_display_get_name(gdk_display_get_default());
    std::string display = displayName != nullptr ? displayName : "";
    std::replace(display.begin(), display.end(), '/', '_');
    return std::string(runtimeFolder) + "/" + name + "-" + display + ".lock";
}

bool TryLock(int file) {
    return flock(file, LOCK_EX | LOCK_NB) == 0;
}

// A property of a window on the display, as text; empty when it has none or has gone.
std::string TextProperty(Display* display, Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display, window, property, 0, 256, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        data != nullptr) {
        if (format == 8) {
            text.assign(reinterpret_cast<const char*>(data), count);
        }
        XFree(data);
    }
    return text;
}

// The top-level windows the window manager keeps (it lists them on the root window).
std::vector<Window> ManagedWindows(Display* display) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<Window> windows;
    if (XGetWindowProperty(display, DefaultRootWindow(display),
                           XInternAtom(display, "_NET_CLIENT_LIST", False), 0, 4096, False,
                           XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
        data != nullptr) {
        if (format == 32) {
            const auto* list = reinterpret_cast<const unsigned long*>(data);
            windows.assign(list, list + count);
        }
        XFree(data);
    }
    return windows;
}

}  // namespace

InstanceClaim::InstanceClaim(const char* name) {
    const char* runtimeFolder = g_getenv("XDG_RUNTIME_DIR");
    if (runtimeFolder != nullptr && *runtimeFolder != '\0') {
        // Not inherited: the web engine's processes must not keep the claim after us.
        m_file = open(ClaimPath(runtimeFolder, name).c_str(),
                      O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    }
    if (m_file < 0) {
        // No session folder (a login without one) or not ours to open: run unguarded
        // rather than never.
        m_held = true;
        return;
    }
    m_held = TryLock(m_file);
}

InstanceClaim::~InstanceClaim() {
    // The file stays: removing it would let a launch lock a file the next one cannot see.
    if (m_file >= 0) {
        close(m_file);
    }
}

bool InstanceClaim::WaitFor(std::chrono::milliseconds patience) {
    const auto end = std::chrono::steady_clock::now() + patience;
    while (!m_held) {
        m_held = TryLock(m_file);
        if (m_held || std::chrono::steady_clock::now() >= end) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return m_held;
}

bool ShowRunningForm(const FormDefinition& definition) {
    GdkDisplay* gdkDisplay = gdk_display_get_default();
    if (!GDK_IS_X11_DISPLAY(gdkDisplay)) {
        return false;
    }
    Display* display = GDK_DISPLAY_XDISPLAY(gdkDisplay);
    const Atom role = XInternAtom(display, "WM_WINDOW_ROLE", False);
    // A window may go while it is looked at; that is not an error here.
    const XErrorTrap trap(gdkDisplay);
    Window found = None;
    for (const Window window : ManagedWindows(display)) {
        if (TextProperty(display, window, role) == definition.name) {
            found = window;
            break;
        }
    }
    if (found != None) {
        // As a taskbar asks it: the window manager unminimizes, raises and focuses the
        // window for the user, who asked for the program by launching it again.
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = found;
        event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2;  // source: a pager or taskbar, on the user's behalf
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, DefaultRootWindow(display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XFlush(display);
    }
    return found != None;
}

}  // namespace zavi
