// DbusMenu: the notification icon's menu offered over the session bus
// (com.canonical.dbusmenu), which a StatusNotifierItem host reads and shows as its own.
// Exported at /MenuBar while the object lives.
#pragma once

#include <functional>

#include "BusObject.h"
#include "Gtk.h"
#include "TrayMenu.h"

namespace zavi {

class DbusMenu {
  public:
    static constexpr char kPath[] = "/MenuBar";

    // CHOOSE runs with the id of an item the host reports clicked.
    DbusMenu(GDBusConnection* bus, TrayMenuItems items, std::function<void(unsigned id)> choose);
    DbusMenu(const DbusMenu&) = delete;
    DbusMenu& operator=(const DbusMenu&) = delete;

    // The host is told that the menu changed, and reads it again.
    void SetItems(TrayMenuItems items);

  private:
    static const GDBusInterfaceVTable& Vtable();
    static void OnCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                       const gchar* method, GVariant* parameters, GDBusMethodInvocation* invocation,
                       gpointer self);
    static GVariant* OnGet(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                           const gchar* property, GError**, gpointer self);
    const MenuEntry* Find(int id) const;
    GVariant* Properties(int id) const;
    GVariant* Layout(int id, int depth) const;
    void Clicked(int id, const gchar* event);

    TrayMenuItems m_items;
    std::function<void(unsigned)> m_choose;
    GDBusConnection* m_bus;
    guint32 m_revision = 1;
    BusObject m_object;
};

}  // namespace zavi
