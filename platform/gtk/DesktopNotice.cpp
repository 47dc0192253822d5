#include "DesktopNotice.h"

#include <gio/gio.h>

#include "../AppIdentity.h"
#include "Gtk.h"

namespace zavi {

bool SendDesktopNotice(const char* summary, const char* body) {
    GError* error = nullptr;
    const GObjectPtr<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error));
    if (bus.get() == nullptr) {
        g_clear_error(&error);
        return false;
    }
    GVariantBuilder hints;
    g_variant_builder_init(&hints, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&hints, "{sv}", "desktop-entry", g_variant_new_string(kDesktopId));
    GVariant* reply = g_dbus_connection_call_sync(
        bus.get(), "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
        "org.freedesktop.Notifications", "Notify",
        g_variant_new("(susssasa{sv}i)", kDisplayName, 0u, "dialog-error", summary, body, nullptr,
                      &hints, -1),
        G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, &error);
    g_clear_error(&error);
    if (reply == nullptr) {
        return false;
    }
    g_variant_unref(reply);
    return true;
}

}  // namespace zavi
