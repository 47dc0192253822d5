#include "NotifyIcon.h"

#include <utility>

#include "../NotifyIconData.h"
#include "../ErrorReport.h"

// GtkStatusIcon is deprecated in favour of StatusNotifier, which needs a D-Bus host that
// plain X11 panels such as trayer do not have; XEmbed is what they all take.
G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace zavi {
namespace {

constexpr char kItemId[] = "VLZaviRadio.MenuItem";

}  // namespace

NotifyIcon::NotifyIcon(const Form& owner, const NotifyIconDefinition& definition,
                       const std::string& tip, NotifyIconActions actions)
    : m_icon(gtk_status_icon_new()), m_actions(std::move(actions)) {
    GtkStatusIcon* icon = m_icon.get();
    // The same flags say which parts are valid as in the shell's record.
    if ((definition.flags & kNifIcon) != 0 && owner.Icon() != nullptr) {
        gtk_status_icon_set_from_pixbuf(icon, owner.Icon());
    }
    if ((definition.flags & kNifTip) != 0) {
        // The shell's field holds 63 characters and a NUL.
        gtk_status_icon_set_tooltip_text(icon, tip.substr(0, kNotifyIconTipLength - 1).c_str());
    }
    gtk_status_icon_set_title(icon, tip.c_str());
    // No gtk_status_icon_set_name: the program's name is already the icon window's class,
    // and setting it unrealizes and embeds the icon again, which GDK took for a second
    // map of the same window (a critical on stderr in about half of all launches).
    g_signal_connect(icon, "activate", G_CALLBACK(&NotifyIcon::OnActivate), this);
    g_signal_connect(icon, "popup-menu", G_CALLBACK(&NotifyIcon::OnPopupMenu), this);
    gtk_status_icon_set_visible(icon, TRUE);
}

NotifyIcon::~NotifyIcon() {
    if (m_chosenSource != 0) {
        g_source_remove(m_chosenSource);
    }
    g_signal_handlers_disconnect_by_data(m_icon.get(), this);
    if (m_menu.get() != nullptr) {
        g_signal_handlers_disconnect_by_data(m_menu.get(), this);
        gtk_widget_destroy(m_menu.get());
    }
    gtk_status_icon_set_visible(m_icon.get(), FALSE);
}

void NotifyIcon::OnActivate(GtkStatusIcon*, gpointer self) {
    const auto activate = static_cast<NotifyIcon*>(self)->m_actions.activate;
    if (activate) {
        RunUntrapped(activate);
    }
}

// The menu is made once and shown at the pointer, as a panel's own menus are; a click
// anywhere else closes it.
void NotifyIcon::OnPopupMenu(GtkStatusIcon*, guint, guint, gpointer self) {
    auto* icon = static_cast<NotifyIcon*>(self);
    if (icon->m_actions.menu.empty()) {
        return;
    }
    if (icon->m_menu.get() == nullptr) {
        icon->m_menu = Retain(gtk_menu_new());
        for (const MenuItemDefinition& definition : icon->m_actions.menu) {
            GtkWidget* item = gtk_menu_item_new_with_label(definition.caption);
            g_object_set_data(G_OBJECT(item), kItemId, GUINT_TO_POINTER(definition.id));
            g_signal_connect(item, "activate", G_CALLBACK(&NotifyIcon::OnItem), self);
            gtk_menu_shell_append(GTK_MENU_SHELL(icon->m_menu.get()), item);
        }
        gtk_widget_show_all(icon->m_menu.get());
    }
    GdkEvent* click = gtk_get_current_event();
    gtk_menu_popup_at_pointer(GTK_MENU(icon->m_menu.get()), click);
    if (click != nullptr) {
        gdk_event_free(click);
    }
}

// The action runs once the menu has closed: it may unload the form, and this icon and its
// menu with it.
void NotifyIcon::OnItem(GtkMenuItem* item, gpointer self) {
    auto* icon = static_cast<NotifyIcon*>(self);
    icon->m_chosen = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), kItemId));
    if (icon->m_chosenSource == 0) {
        icon->m_chosenSource = g_idle_add(&NotifyIcon::RunChosen, self);
    }
}

gboolean NotifyIcon::RunChosen(gpointer self) {
    auto* icon = static_cast<NotifyIcon*>(self);
    icon->m_chosenSource = 0;
    const auto choose = icon->m_actions.choose;
    const unsigned chosen = std::exchange(icon->m_chosen, 0u);
    if (choose && chosen != 0) {
        RunUntrapped([&] { choose(chosen); });
    }
    return G_SOURCE_REMOVE;
}

}  // namespace zavi

G_GNUC_END_IGNORE_DEPRECATIONS
