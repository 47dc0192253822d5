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
GtkMenu* TrayMenu::Menu() {
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
    return GTK_MENU(m_menu.get());
}

void TrayMenu::PopUp() {
    if (m_items.empty()) {
        return;
    }
    GdkEvent* click = gtk_get_current_event();
    gtk_menu_popup_at_pointer(Menu(), click);
    if (click != nullptr) {
        gdk_event_free(click);
    }
}

// gtk_menu_popup_at_rect wants a window of ours and the click that asked; a request over
// the bus has neither, only a point on the screen, which the older call takes as it is.
void TrayMenu::PopUpAt(int x, int y) {
    if (m_items.empty()) {
        return;
    }
    m_x = x;
    m_y = y;
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_menu_popup(Menu(), nullptr, nullptr, &TrayMenu::Place, this, 0, GDK_CURRENT_TIME);
    G_GNUC_END_IGNORE_DEPRECATIONS
}

void TrayMenu::Place(GtkMenu*, gint* x, gint* y, gboolean* pushIn, gpointer self) {
    const auto* menu = static_cast<TrayMenu*>(self);
    *x = menu->m_x;
    *y = menu->m_y;
    *pushIn = TRUE;  // kept on the screen
}

void TrayMenu::OnItem(GtkMenuItem* item, gpointer self) {
    static_cast<TrayMenu*>(self)->m_choose(
        GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), kItemId)));
}

}  // namespace zavi
