#include "StatusNotifierItem.h"

#include <unistd.h>

#include <utility>

namespace zavi {
namespace {

constexpr char kPath[] = "/StatusNotifierItem";
constexpr char kInterface[] = R"xml(<node><interface name="org.kde.StatusNotifierItem">
  <property name="Category" type="s" access="read"/>
  <property name="Id" type="s" access="read"/>
  <property name="Title" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="WindowId" type="i" access="read"/>
  <property name="IconThemePath" type="s" access="read"/>
  <property name="IconName" type="s" access="read"/>
  <property name="IconPixmap" type="a(iiay)" access="read"/>
  <property name="OverlayIconName" type="s" access="read"/>
  <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionIconName" type="s" access="read"/>
  <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionMovieName" type="s" access="read"/>
  <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
  <property name="ItemIsMenu" type="b" access="read"/>
  <property name="Menu" type="o" access="read"/>
  <method name="ContextMenu"><arg type="i" direction="in"/><arg type="i" direction="in"/></method>
  <method name="Activate"><arg type="i" direction="in"/><arg type="i" direction="in"/></method>
  <method name="SecondaryActivate"><arg type="i" direction="in"/><arg type="i" direction="in"/></method>
  <method name="Scroll"><arg type="i" direction="in"/><arg type="s" direction="in"/></method>
  <signal name="NewTitle"/><signal name="NewIcon"/><signal name="NewAttentionIcon"/>
  <signal name="NewOverlayIcon"/><signal name="NewToolTip"/>
  <signal name="NewStatus"><arg type="s"/></signal>
</interface></node>)xml";

// The sizes panels draw tray icons at; each host scales the nearest.
constexpr int kSizes[] = {16, 22, 24, 32, 48, 64};

// One image as the protocol carries it: ARGB, 32 bits a pixel, in network byte order.
GVariant* Pixmap(GdkPixbuf* image, int size) {
    GdkPixbuf* scaled = gdk_pixbuf_scale_simple(image, size, size, GDK_INTERP_HYPER);
    const int channels = gdk_pixbuf_get_n_channels(scaled);
    const int stride = gdk_pixbuf_get_rowstride(scaled);
    const guchar* pixels = gdk_pixbuf_read_pixels(scaled);
    GByteArray* argb = g_byte_array_sized_new(static_cast<guint>(size * size * 4));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const guchar* p = pixels + y * stride + x * channels;
            const guchar pixel[4] = {channels == 4 ? p[3] : guchar{255}, p[0], p[1], p[2]};
            g_byte_array_append(argb, pixel, 4);
        }
    }
    g_object_unref(scaled);
    GBytes* bytes = g_byte_array_free_to_bytes(argb);
    GVariant* data = g_variant_new_from_bytes(G_VARIANT_TYPE_BYTESTRING, bytes, TRUE);
    g_bytes_unref(bytes);
    return g_variant_new("(ii@ay)", size, size, data);
}

GVariant* Pixmaps(GdkPixbuf* image) {
    GVariantBuilder pixmaps;
    g_variant_builder_init(&pixmaps, G_VARIANT_TYPE("a(iiay)"));
    if (image != nullptr) {
        for (const int size : kSizes) {
            g_variant_builder_add_value(&pixmaps, Pixmap(image, size));
        }
    }
    return g_variant_ref_sink(g_variant_builder_end(&pixmaps));
}

GVariant* NoPixmaps() {
    return g_variant_new_array(G_VARIANT_TYPE("(iiay)"), nullptr, 0);
}

}  // namespace

StatusNotifierItem::StatusNotifierItem(GDBusConnection* bus, unsigned serial,
                                       const StatusNotifierFace& face, TrayMenuItems items,
                                       Handlers handlers)
    : m_bus(G_DBUS_CONNECTION(g_object_ref(bus))),
      m_name("org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-" +
             std::to_string(serial)),
      m_face(face),
      m_pixmaps(Pixmaps(face.image)),
      m_handlers(std::move(handlers)),
      m_dbusMenu(bus, std::move(items), m_handlers.choose),
      m_object(bus, kPath, kInterface, Vtable(), this) {
    m_face.image = nullptr;  // drawn into m_pixmaps; not kept
    m_ownership =
        g_bus_own_name_on_connection(bus, m_name.c_str(), G_BUS_NAME_OWNER_FLAGS_NONE,
                                     &StatusNotifierItem::OnNameAcquired, nullptr, this, nullptr);
}

// Giving up the name is what tells the watcher, and through it the host, that the icon is
// gone.
StatusNotifierItem::~StatusNotifierItem() {
    g_bus_unown_name(m_ownership);
    g_dbus_connection_flush_sync(m_bus.get(), nullptr, nullptr);
}

const GDBusInterfaceVTable& StatusNotifierItem::Vtable() {
    static const GDBusInterfaceVTable vtable{
        &StatusNotifierItem::OnCall, &StatusNotifierItem::OnGet, nullptr, {}};
    return vtable;
}

void StatusNotifierItem::RegisterWith(const std::string& watcher) {
    m_watcher = watcher;
    Register();
}

void StatusNotifierItem::Update(const std::string& tip, TrayMenuItems items) {
    m_dbusMenu.SetItems(std::move(items));
    if (tip != m_face.tip) {
        m_face.tip = tip;
        g_dbus_connection_emit_signal(m_bus.get(), nullptr, kPath, "org.kde.StatusNotifierItem",
                                      "NewToolTip", nullptr, nullptr);
    }
}

void StatusNotifierItem::OnNameAcquired(GDBusConnection*, const gchar*, gpointer self) {
    auto* item = static_cast<StatusNotifierItem*>(self);
    item->m_named = true;
    item->Register();
}

void StatusNotifierItem::Register() {
    if (!m_named || m_watcher.empty() || m_watcher == m_registeredWith) {
        return;
    }
    m_registeredWith = m_watcher;
    g_dbus_connection_call(m_bus.get(), m_watcher.c_str(), "/StatusNotifierWatcher",
                           "org.kde.StatusNotifierWatcher", "RegisterStatusNotifierItem",
                           g_variant_new("(s)", m_name.c_str()), nullptr, G_DBUS_CALL_FLAGS_NONE,
                           -1, nullptr, nullptr, nullptr);
}

void StatusNotifierItem::OnCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                const gchar* method, GVariant* parameters,
                                GDBusMethodInvocation* invocation, gpointer self) {
    auto* item = static_cast<StatusNotifierItem*>(self);
    g_dbus_method_invocation_return_value(invocation, nullptr);
    const Handlers& handlers = item->m_handlers;
    if (g_strcmp0(method, "Activate") == 0) {
        handlers.activate();
    } else if (g_strcmp0(method, "SecondaryActivate") == 0) {
        handlers.secondary();
    } else if (g_strcmp0(method, "ContextMenu") == 0) {
        gint32 x = 0;
        gint32 y = 0;
        g_variant_get(parameters, "(ii)", &x, &y);
        handlers.menu(x, y);
    } else if (g_strcmp0(method, "Scroll") == 0) {
        // Hosts send a notch as 1 or as 120, some with the sign turned: a step per call.
        gint32 delta = 0;
        const gchar* orientation = nullptr;
        g_variant_get(parameters, "(i&s)", &delta, &orientation);
        if (delta != 0 && g_ascii_strcasecmp(orientation, "vertical") == 0) {
            handlers.scroll(delta > 0 ? 1 : -1);
        }
    }
}

GVariant* StatusNotifierItem::OnGet(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                    const gchar* property, GError**, gpointer self) {
    const auto* item = static_cast<StatusNotifierItem*>(self);
    const std::string name = property;
    if (name == "Category") {
        return g_variant_new_string("ApplicationStatus");
    }
    if (name == "Id") {
        return g_variant_new_string(item->m_face.id.c_str());
    }
    if (name == "Title") {
        return g_variant_new_string(item->m_face.title.c_str());
    }
    if (name == "Status") {
        return g_variant_new_string("Active");
    }
    if (name == "WindowId") {
        return g_variant_new_int32(0);
    }
    if (name == "IconPixmap") {
        return g_variant_ref(item->m_pixmaps.get());
    }
    if (name == "OverlayIconPixmap" || name == "AttentionIconPixmap") {
        return NoPixmaps();
    }
    if (name == "ToolTip") {
        return g_variant_new("(s@a(iiay)ss)", "", NoPixmaps(), item->m_face.tip.c_str(), "");
    }
    if (name == "ItemIsMenu") {
        return g_variant_new_boolean(FALSE);  // a left click shows the player, not the menu
    }
    if (name == "Menu") {
        return g_variant_new_object_path(DbusMenu::kPath);
    }
    return g_variant_new_string("");  // the icon names and the theme path: pixels instead
}

}  // namespace zavi
