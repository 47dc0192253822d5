#include "TrayMenu.h"

#include <utility>

namespace zavi {
namespace {

constexpr char kItemId[] = "VLZaviRadio.MenuItem";

}  // namespace

TrayMenu::TrayMenu(std::vector<TrayMenuItem> items, std::function<void(unsigned)> choose)
    : m_items(std::move(items)), m_choose(std::move(choose)) {}

TrayMenu::~TrayMenu() {
    if (m_menu.get() != nullptr) {
        g_signal_handlers_disconnect_by_data(m_menu.get(), this);
        gtk_widget_destroy(m_menu.get());
    }
}

// The menu is made once and shown at the pointer, as a panel's own menus are; a click
// anywhere else closes it.
void TrayMenu::PopUp() {
    if (m_items.empty()) {
        return;
    }
    if (m_menu.get() == nullptr) {
        m_menu = Retain(gtk_menu_new());
        for (const TrayMenuItem& definition : m_items) {
            GtkWidget* item = gtk_menu_item_new_with_label(definition.label.c_str());
            g_object_set_data(G_OBJECT(item), kItemId, GUINT_TO_POINTER(definition.id));
            g_signal_connect(item, "activate", G_CALLBACK(&TrayMenu::OnItem), this);
            gtk_menu_shell_append(GTK_MENU_SHELL(m_menu.get()), item);
        }
        gtk_widget_show_all(m_menu.get());
    }
    GdkEvent* click = gtk_get_current_event();
    gtk_menu_popup_at_pointer(GTK_MENU(m_menu.get()), click);
    if (click != nullptr) {
        gdk_event_free(click);
    }
}

void TrayMenu::OnItem(GtkMenuItem* item, gpointer self) {
    static_cast<TrayMenu*>(self)->m_choose(
        GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), kItemId)));
}

}  // namespace zavi
