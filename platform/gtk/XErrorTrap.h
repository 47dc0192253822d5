// XErrorTrap: X errors met while it lives are kept from GDK, which would end the program
// with 1 over them: for windows of other programs (a tray, another copy's player) that
// may go at any moment.
#pragma once

#include <gdk/gdkx.h>

#include <utility>

namespace zavi {

class XErrorTrap {
  public:
    explicit XErrorTrap(GdkDisplay* display) : m_display(display) {
        gdk_x11_display_error_trap_push(m_display);
    }
    ~XErrorTrap() {
        if (m_display != nullptr) {
            gdk_x11_display_error_trap_pop_ignored(m_display);
        }
    }
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits for the server's answers so far; the X error code met, or 0.
    int End() { return gdk_x11_display_error_trap_pop(std::exchange(m_display, nullptr)); }

  private:
    GdkDisplay* m_display;
};

}  // namespace zavi
