// StatusNotifierItem: the icon offered over the session bus to a StatusNotifierItem host
// (the panels of KDE, Xfce, GNOME's AppIndicator extension and most others): its title,
// tooltip, image as pixels, a left click, and its menu (DbusMenu). It owns a bus name of
// its own, so that the host drops the icon as soon as the object goes.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "BusObject.h"
#include "DbusMenu.h"
#include "Gtk.h"

namespace zavi {

struct StatusNotifierFace {
    std::string id;     // what a host keeps settings for the item under
    std::string title;  // the program's name
    std::string tip;
    GdkPixbuf* image = nullptr;
};

class StatusNotifierItem {
  public:
    // What the host may ask of it: ACTIVATE on a left click, SECONDARY on a middle one,
    // SCROLL with the wheel's steps (up is more), MENU when the host asks the program to
    // show its menu itself (at a point on the screen), CHOOSE with the id of an item
    // picked from the host's menu.
    struct Handlers {
        std::function<void()> activate;
        std::function<void()> secondary;
        std::function<void(int steps)> scroll;
        std::function<void(int x, int y)> menu;
        std::function<void(unsigned id)> choose;
    };

    // SERIAL tells apart the items one process offers one after another.
    StatusNotifierItem(GDBusConnection* bus, unsigned serial, const StatusNotifierFace& face,
                       TrayMenuItems items, Handlers handlers);
    ~StatusNotifierItem();
    StatusNotifierItem(const StatusNotifierItem&) = delete;
    StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

    // Registers with the watcher of that unique bus name, once the item's name is its own;
    // again only when the watcher is another.
    void RegisterWith(const std::string& watcher);
    // A new tip and menu; the host is told of each.
    void Update(const std::string& tip, TrayMenuItems items);

  private:
    static const GDBusInterfaceVTable& Vtable();
    static void OnCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                       const gchar* method, GVariant*, GDBusMethodInvocation* invocation,
                       gpointer self);
    static GVariant* OnGet(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                           const gchar* property, GError**, gpointer self);
    static void OnNameAcquired(GDBusConnection*, const gchar*, gpointer self);
    void Register();

    GObjectPtr<GDBusConnection> m_bus;
    std::string m_name;
    StatusNotifierFace m_face;
    UniqueHandle<GVariant*, &g_variant_unref> m_pixmaps;
    Handlers m_handlers;
    DbusMenu m_dbusMenu;
    BusObject m_object;
    guint m_ownership = 0;
    bool m_named = false;
    std::string m_watcher;
    std::string m_registeredWith;
};

}  // namespace zavi
