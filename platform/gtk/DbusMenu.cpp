#include "DbusMenu.h"

#include <string>
#include <utility>

namespace zavi {
namespace {

constexpr char kInterface[] = R"xml(<node><interface name="com.canonical.dbusmenu">
  <property name="Version" type="u" access="read"/>
  <property name="TextDirection" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="IconThemePath" type="as" access="read"/>
  <method name="GetLayout"><arg type="i" direction="in"/><arg type="i" direction="in"/>
    <arg type="as" direction="in"/><arg type="u" direction="out"/>
    <arg type="(ia{sv}av)" direction="out"/></method>
  <method name="GetGroupProperties"><arg type="ai" direction="in"/><arg type="as" direction="in"/>
    <arg type="a(ia{sv})" direction="out"/></method>
  <method name="GetProperty"><arg type="i" direction="in"/><arg type="s" direction="in"/>
    <arg type="v" direction="out"/></method>
  <method name="Event"><arg type="i" direction="in"/><arg type="s" direction="in"/>
    <arg type="v" direction="in"/><arg type="u" direction="in"/></method>
  <method name="EventGroup"><arg type="a(isvu)" direction="in"/><arg type="ai" direction="out"/></method>
  <method name="AboutToShow"><arg type="i" direction="in"/><arg type="b" direction="out"/></method>
  <method name="AboutToShowGroup"><arg type="ai" direction="in"/><arg type="ai" direction="out"/>
    <arg type="ai" direction="out"/></method>
  <signal name="ItemsPropertiesUpdated"><arg type="a(ia{sv})"/><arg type="a(ias)"/></signal>
  <signal name="LayoutUpdated"><arg type="u"/><arg type="i"/></signal>
  <signal name="ItemActivationRequested"><arg type="i"/><arg type="u"/></signal>
</interface></node>)xml";

constexpr int kRoot = 0;
// Separators have no id of the program's; the protocol wants one of their own.
constexpr int kSeparatorIds = 1000;

// An underscore marks a mnemonic in a dbusmenu label; ours are plain text.
std::string PlainLabel(const std::string& label) {
    std::string escaped;
    for (const char c : label) {
        escaped += c;
        if (c == '_') {
            escaped += '_';
        }
    }
    return escaped;
}

}  // namespace

namespace {

// Separators are numbered from kSeparatorIds in the order they come.
void NumberSeparators(TrayMenuItems& items, unsigned& next) {
    for (MenuEntry& item : items) {
        if (item.caption.empty()) {
            item.id = next++;
        }
        NumberSeparators(item.children, next);
    }
}

const MenuEntry* FindById(const TrayMenuItems& items, int id) {
    for (const MenuEntry& item : items) {
        if (static_cast<int>(item.id) == id) {
            return &item;
        }
        if (const MenuEntry* child = FindById(item.children, id)) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace

DbusMenu::DbusMenu(GDBusConnection* bus, TrayMenuItems items, std::function<void(unsigned)> choose)
    : m_choose(std::move(choose)), m_bus(bus), m_object(bus, kPath, kInterface, Vtable(), this) {
    SetItems(std::move(items));
    m_revision = 1;
}

void DbusMenu::SetItems(TrayMenuItems items) {
    unsigned next = kSeparatorIds;
    NumberSeparators(items, next);
    m_items = std::move(items);
    ++m_revision;
    g_dbus_connection_emit_signal(m_bus, nullptr, kPath, "com.canonical.dbusmenu", "LayoutUpdated",
                                  g_variant_new("(ui)", m_revision, kRoot), nullptr);
}

const GDBusInterfaceVTable& DbusMenu::Vtable() {
    static const GDBusInterfaceVTable vtable{&DbusMenu::OnCall, &DbusMenu::OnGet, nullptr, {}};
    return vtable;
}

const MenuEntry* DbusMenu::Find(int id) const {
    return id == kRoot ? nullptr : FindById(m_items, id);
}

GVariant* DbusMenu::Properties(int id) const {
    GVariantBuilder properties;
    g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
    if (id == kRoot) {
        g_variant_builder_add(&properties, "{sv}", "children-display",
                              g_variant_new_string("submenu"));
    } else if (const MenuEntry* item = Find(id)) {
        if (item->caption.empty()) {
            g_variant_builder_add(&properties, "{sv}", "type", g_variant_new_string("separator"));
            return g_variant_builder_end(&properties);
        }
        g_variant_builder_add(&properties, "{sv}", "label",
                              g_variant_new_string(PlainLabel(item->caption).c_str()));
        g_variant_builder_add(&properties, "{sv}", "enabled", g_variant_new_boolean(item->enabled));
        g_variant_builder_add(&properties, "{sv}", "visible", g_variant_new_boolean(TRUE));
        if (item->mark != MenuEntry::Mark::None) {
            g_variant_builder_add(
                &properties, "{sv}", "toggle-type",
                g_variant_new_string(item->mark == MenuEntry::Mark::Radio ? "radio" : "checkmark"));
            g_variant_builder_add(&properties, "{sv}", "toggle-state",
                                  g_variant_new_int32(item->marked ? 1 : 0));
        }
        if (!item->children.empty()) {
            g_variant_builder_add(&properties, "{sv}", "children-display",
                                  g_variant_new_string("submenu"));
        }
    }
    return g_variant_builder_end(&properties);
}

GVariant* DbusMenu::Layout(int id, int depth) const {
    GVariantBuilder children;
    g_variant_builder_init(&children, G_VARIANT_TYPE("av"));
    const TrayMenuItems& items = id == kRoot ? m_items : Find(id)->children;
    if (depth != 0) {
        for (const MenuEntry& item : items) {
            g_variant_builder_add(&children, "v", Layout(static_cast<int>(item.id), depth - 1));
        }
    }
    return g_variant_new("(i@a{sv}av)", id, Properties(id), &children);
}

void DbusMenu::Clicked(int id, const gchar* event) {
    const MenuEntry* item = Find(id);
    if (g_strcmp0(event, "clicked") == 0 && item != nullptr && item->enabled &&
        !item->caption.empty() && item->children.empty()) {
        m_choose(static_cast<unsigned>(id));
    }
}

void DbusMenu::OnCall(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                      const gchar* method, GVariant* parameters, GDBusMethodInvocation* invocation,
                      gpointer self) {
    auto* menu = static_cast<DbusMenu*>(self);
    const std::string name = method;
    if (name == "GetLayout") {
        gint32 parent = 0;
        gint32 depth = 0;
        g_variant_get(parameters, "(ii@as)", &parent, &depth, nullptr);
        if (parent != kRoot && menu->Find(parent) == nullptr) {
            g_dbus_method_invocation_return_dbus_error(
                invocation, "org.freedesktop.DBus.Error.InvalidArgs", "no such item");
            return;
        }
        g_dbus_method_invocation_return_value(
            invocation,
            g_variant_new("(u@(ia{sv}av))", menu->m_revision, menu->Layout(parent, depth)));
    } else if (name == "GetGroupProperties") {
        GVariantIter* ids = nullptr;
        g_variant_get(parameters, "(ai@as)", &ids, nullptr);
        GVariantBuilder group;
        g_variant_builder_init(&group, G_VARIANT_TYPE("a(ia{sv})"));
        gint32 id = 0;
        while (g_variant_iter_next(ids, "i", &id)) {
            if (id == kRoot || menu->Find(id) != nullptr) {
                g_variant_builder_add(&group, "(i@a{sv})", id, menu->Properties(id));
            }
        }
        g_variant_iter_free(ids);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(a(ia{sv}))", &group));
    } else if (name == "GetProperty") {
        gint32 id = 0;
        const gchar* property = nullptr;
        g_variant_get(parameters, "(i&s)", &id, &property);
        GVariant* all = menu->Properties(id);
        GVariant* value = g_variant_lookup_value(all, property, nullptr);
        g_variant_unref(g_variant_ref_sink(all));
        if (value == nullptr) {
            g_dbus_method_invocation_return_dbus_error(
                invocation, "org.freedesktop.DBus.Error.InvalidArgs", "no such property");
            return;
        }
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(v)", value));
        g_variant_unref(value);
    } else if (name == "Event") {
        gint32 id = 0;
        const gchar* event = nullptr;
        g_variant_get(parameters, "(i&s@vu)", &id, &event, nullptr, nullptr);
        g_dbus_method_invocation_return_value(invocation, nullptr);
        menu->Clicked(id, event);
    } else if (name == "EventGroup") {
        GVariantIter* events = nullptr;
        g_variant_get(parameters, "(a(isvu))", &events);
        GVariantBuilder errors;
        g_variant_builder_init(&errors, G_VARIANT_TYPE("ai"));
        std::vector<std::pair<gint32, std::string>> clicked;
        gint32 id = 0;
        const gchar* event = nullptr;
        while (g_variant_iter_next(events, "(i&s@vu)", &id, &event, nullptr, nullptr)) {
            if (menu->Find(id) == nullptr) {
                g_variant_builder_add(&errors, "i", id);
            } else {
                clicked.emplace_back(id, event);
            }
        }
        g_variant_iter_free(events);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(ai)", &errors));
        for (const auto& [item, what] : clicked) {
            menu->Clicked(item, what.c_str());
        }
    } else if (name == "AboutToShow") {
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(b)", FALSE));
    } else if (name == "AboutToShowGroup") {
        g_dbus_method_invocation_return_value(
            invocation,
            g_variant_new("(@ai@ai)", g_variant_new_array(G_VARIANT_TYPE_INT32, nullptr, 0),
                          g_variant_new_array(G_VARIANT_TYPE_INT32, nullptr, 0)));
    } else {
        g_dbus_method_invocation_return_dbus_error(
            invocation, "org.freedesktop.DBus.Error.UnknownMethod", method);
    }
}

GVariant* DbusMenu::OnGet(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                          const gchar* property, GError**, gpointer) {
    const std::string name = property;
    if (name == "Version") {
        return g_variant_new_uint32(3);
    }
    if (name == "TextDirection") {
        return g_variant_new_string(gtk_widget_get_default_direction() == GTK_TEXT_DIR_RTL ? "rtl"
                                                                                           : "ltr");
    }
    if (name == "Status") {
        return g_variant_new_string("normal");
    }
    return g_variant_new_strv(nullptr, 0);  // IconThemePath: none
}

}  // namespace zavi
