#include "TrayMenu.h"

#include <utility>

namespace zavi {
namespace {

constexpr char kItemId[] = "VLZaviRadio.MenuItem";

}  // namespace

TrayMenu::TrayMenu(TrayMenuItems items, std::function<void(unsigned)> choose)
    : m_items(std::move(items)), m_choose(std::move(choose)) {}

TrayMenu::~TrayMenu() {
    Drop();
}

void TrayMenu::Drop() {
    if (m_menu.get() != nullptr) {
        g_signal_handlers_disconnect_by_data(m_menu.get(), this);
        gtk_widget_destroy(m_menu.get());
        m_menu = {};
    }
}

void TrayMenu::SetItems(TrayMenuItems items) {
    m_items = std::move(items);
    if (m_menu.get() != nullptr && !gtk_widget_get_visible(m_menu.get())) {
        Drop();
    }
}

GtkWidget* TrayMenu::Build(const TrayMenuItems& items) {
    GtkWidget* menu = gtk_menu_new();
    for (const MenuEntry& entry : items) {
        GtkWidget* item = nullptr;
        if (entry.caption.empty()) {
            item = gtk_separator_menu_item_new();
        } else if (entry.mark != MenuEntry::Mark::None) {
            item = gtk_check_menu_item_new_with_label(entry.caption.c_str());
            gtk_check_menu_item_set_draw_as_radio(GTK_CHECK_MENU_ITEM(item),
                                                  entry.mark == MenuEntry::Mark::Radio);
            gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), entry.marked);
        } else {
            item = gtk_menu_item_new_with_label(entry.caption.c_str());
        }
        gtk_widget_set_sensitive(item, entry.enabled);
        if (!entry.children.empty()) {
            gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), Build(entry.children));
        } else if (!entry.caption.empty()) {
            g_object_set_data(G_OBJECT(item), kItemId, GUINT_TO_POINTER(entry.id));
            g_signal_connect(item, "activate", G_CALLBACK(&TrayMenu::OnItem), this);
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    }
    return menu;
}

// Shown at the pointer, as a panel's own menus are; a click anywhere else closes it.
GtkMenu* TrayMenu::Menu() {
    if (m_menu.get() == nullptr) {
        m_menu = Retain(Build(m_items));
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
