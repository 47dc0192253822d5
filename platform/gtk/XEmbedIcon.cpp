#include "XEmbedIcon.h"

#include <utility>

#include "XErrorTrap.h"

// GtkStatusIcon is deprecated in favour of StatusNotifier, which needs a D-Bus host that
// plain X11 panels such as trayer do not have; XEmbed is what they all take.
G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace zavi {

XEmbedIcon::XEmbedIcon(GdkPixbuf* image, const std::string& name, const std::string& tip,
                       std::function<void()> activate, std::function<void()> secondary,
                       std::function<void()> menu, std::function<void(int)> scroll)
    : m_activate(std::move(activate)),
      m_secondary(std::move(secondary)),
      m_menu(std::move(menu)),
      m_scroll(std::move(scroll)) {
    // A tray can go while GTK reads its window or docks into it (a panel that quits as the
    // icon moves to it).
    XErrorTrap trap(gdk_display_get_default());
    m_icon = GObjectPtr<GtkStatusIcon>(gtk_status_icon_new());
    GtkStatusIcon* icon = m_icon.get();
    if (image != nullptr) {
        gtk_status_icon_set_from_pixbuf(icon, image);
    }
    if (!tip.empty()) {
        gtk_status_icon_set_tooltip_text(icon, tip.c_str());
    }
    gtk_status_icon_set_title(icon, name.c_str());
    // No gtk_status_icon_set_name: the program's name is already the icon window's class,
    // and setting it unrealizes and embeds the icon again, which GDK took for a second
    // map of the same window (a critical on stderr in about half of all launches).
    g_signal_connect(icon, "activate", G_CALLBACK(&XEmbedIcon::OnActivate), this);
    g_signal_connect(icon, "popup-menu", G_CALLBACK(&XEmbedIcon::OnPopupMenu), this);
    g_signal_connect(icon, "button-release-event", G_CALLBACK(&XEmbedIcon::OnButton), this);
    g_signal_connect(icon, "scroll-event", G_CALLBACK(&XEmbedIcon::OnScroll), this);
    gtk_status_icon_set_visible(icon, TRUE);
    m_trayLost = trap.End() != 0;
}

XEmbedIcon::~XEmbedIcon() {
    const XErrorTrap trap(gdk_display_get_default());
    g_signal_handlers_disconnect_by_data(m_icon.get(), this);
    gtk_status_icon_set_visible(m_icon.get(), FALSE);
    m_icon = {};  // its windows go inside the trap too
}

void XEmbedIcon::OnActivate(GtkStatusIcon*, gpointer self) {
    static_cast<XEmbedIcon*>(self)->m_activate();
}

void XEmbedIcon::OnPopupMenu(GtkStatusIcon*, guint, guint, gpointer self) {
    static_cast<XEmbedIcon*>(self)->m_menu();
}

void XEmbedIcon::SetTip(const std::string& tip) {
    const XErrorTrap trap(gdk_display_get_default());
    gtk_status_icon_set_tooltip_text(m_icon.get(), tip.c_str());
}

gboolean XEmbedIcon::OnButton(GtkStatusIcon*, GdkEventButton* event, gpointer self) {
    if (event->button != GDK_BUTTON_MIDDLE) {
        return FALSE;
    }
    static_cast<XEmbedIcon*>(self)->m_secondary();
    return TRUE;
}

gboolean XEmbedIcon::OnScroll(GtkStatusIcon*, GdkEventScroll* event, gpointer self) {
    int steps = 0;
    if (event->direction == GDK_SCROLL_UP) {
        steps = 1;
    } else if (event->direction == GDK_SCROLL_DOWN) {
        steps = -1;
    } else if (event->direction == GDK_SCROLL_SMOOTH && event->delta_y != 0) {
        steps = event->delta_y < 0 ? 1 : -1;
    }
    if (steps != 0) {
        static_cast<XEmbedIcon*>(self)->m_scroll(steps);
    }
    return TRUE;
}

}  // namespace zavi

G_GNUC_END_IGNORE_DEPRECATIONS
