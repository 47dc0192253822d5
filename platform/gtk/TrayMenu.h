// TrayMenu: the notification icon's menu as the program shows it itself, at the pointer,
// for a tray that asks the program to show its menu (XEmbed, and a StatusNotifierItem host
// that does not show it itself).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Gtk.h"

namespace zavi {

struct TrayMenuItem {
    unsigned id;
    std::string label;  // in the user's language
};

class TrayMenu {
  public:
    // CHOOSE runs with the picked item's id, after the menu has closed.
    TrayMenu(std::vector<TrayMenuItem> items, std::function<void(unsigned id)> choose);
    ~TrayMenu();
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;

    // At the pointer, for the click being handled.
    void PopUp();
    // At a point on the screen, for a host that asks with no click of ours to go by.
    void PopUpAt(int x, int y);

  private:
    GtkMenu* Menu();
    static void OnItem(GtkMenuItem* item, gpointer self);
    static void Place(GtkMenu* menu, gint* x, gint* y, gboolean* pushIn, gpointer self);

    std::vector<TrayMenuItem> m_items;
    std::function<void(unsigned)> m_choose;
    GObjectPtr<GtkWidget> m_menu;
    int m_x = 0;
    int m_y = 0;
};

}  // namespace zavi
