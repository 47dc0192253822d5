// XEmbedIcon: the icon docked in an X11 notification area (a GtkStatusIcon), which trayer
// and most X11 panels host; withdrawn when the object goes.
#pragma once

#include <functional>
#include <string>

#include "Gtk.h"

namespace zavi {

class XEmbedIcon {
  public:
    // ACTIVATE runs on a left click, SECONDARY on a middle one, MENU on a right click,
    // SCROLL with the wheel's steps (up is more).
    // NAME is the icon window's own (the program's tip), TIP what it shows now.
    XEmbedIcon(GdkPixbuf* image, const std::string& name, const std::string& tip,
               std::function<void()> activate, std::function<void()> secondary,
               std::function<void()> menu, std::function<void(int steps)> scroll);
    ~XEmbedIcon();
    XEmbedIcon(const XEmbedIcon&) = delete;
    XEmbedIcon& operator=(const XEmbedIcon&) = delete;

    // The tray went while the icon was docking into it: GTK's icon then waits on that
    // tray's window for good, so a new icon must take its place.
    bool TrayLost() const { return m_trayLost; }
    void SetTip(const std::string& tip);

  private:
    static void OnActivate(GtkStatusIcon* icon, gpointer self);
    static void OnPopupMenu(GtkStatusIcon* icon, guint button, guint time, gpointer self);
    static gboolean OnButton(GtkStatusIcon* icon, GdkEventButton* event, gpointer self);
    static gboolean OnScroll(GtkStatusIcon* icon, GdkEventScroll* event, gpointer self);

    GObjectPtr<GtkStatusIcon> m_icon;
    std::function<void()> m_activate;
    std::function<void()> m_secondary;
    std::function<void()> m_menu;
    std::function<void(int)> m_scroll;
    bool m_trayLost = false;
};

}  // namespace zavi
