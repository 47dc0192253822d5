// TrayMenu: the notification icon's menu as the program shows it itself, at the pointer,
// for a tray that asks the program to show its menu (XEmbed, and a StatusNotifierItem host
// that does not show it itself).
#pragma once

#include <functional>
#include <vector>

#include "../NotifyIconActions.h"
#include "Gtk.h"

namespace zavi {

// The menu's lines in the user's language: captions already translated, arguments in
// place. An entry with no caption is a separator.
using TrayMenuItems = std::vector<MenuEntry>;

class TrayMenu {
  public:
    // CHOOSE runs with the picked item's id, after the menu has closed.
    TrayMenu(TrayMenuItems items, std::function<void(unsigned id)> choose);
    ~TrayMenu();
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;

    // Made afresh the next time it is shown; one that is open stays as it is.
    void SetItems(TrayMenuItems items);
    // At the pointer, for the click being handled.
    void PopUp();
    // At a point on the screen, for a host that asks with no click of ours to go by.
    void PopUpAt(int x, int y);

  private:
    GtkMenu* Menu();
    GtkWidget* Build(const TrayMenuItems& items);
    static void OnItem(GtkMenuItem* item, gpointer self);
    static void Place(GtkMenu* menu, gint* x, gint* y, gboolean* pushIn, gpointer self);
    void Drop();

    TrayMenuItems m_items;
    std::function<void(unsigned)> m_choose;
    GObjectPtr<GtkWidget> m_menu;
    int m_x = 0;
    int m_y = 0;
};

}  // namespace zavi
