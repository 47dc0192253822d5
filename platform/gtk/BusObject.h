// BusObject: one interface of ours exported on a D-Bus connection at a path, from its
// introspection XML, for as long as the object lives.
#pragma once

#include "Gtk.h"

namespace zavi {

class BusObject {
  public:
    // VTABLE must outlive the object; its handlers are called with SELF.
    BusObject(GDBusConnection* bus, const char* path, const char* xml,
              const GDBusInterfaceVTable& vtable, gpointer self)
        : m_bus(G_DBUS_CONNECTION(g_object_ref(bus))) {
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(xml, nullptr);
        m_registration = g_dbus_connection_register_object(bus, path, node->interfaces[0], &vtable,
                                                           self, nullptr, nullptr);
        g_dbus_node_info_unref(node);
    }
    ~BusObject() {
        if (m_registration != 0) {
            g_dbus_connection_unregister_object(m_bus.get(), m_registration);
        }
    }
    BusObject(const BusObject&) = delete;
    BusObject& operator=(const BusObject&) = delete;

  private:
    GObjectPtr<GDBusConnection> m_bus;
    guint m_registration = 0;
};

}  // namespace zavi
