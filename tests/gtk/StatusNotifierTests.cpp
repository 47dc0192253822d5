#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "GtkTestSupport.h"
#include "platform/gtk/StatusNotifierItem.h"

namespace zavi {
namespace {

constexpr char kWatcherXml[] = R"xml(<node><interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
</interface></node>)xml";

MenuEntry Item(unsigned id, const char* caption) {
    MenuEntry entry;
    entry.id = id;
    entry.caption = caption;
    return entry;
}

// What a panel hosting the icon does over the bus: the watcher the item registers with,
// and the host's calls, from a connection of its own.
class StatusNotifierTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static const GDBusInterfaceVTable vtable{
            [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
               GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
                const gchar* item = nullptr;
                g_variant_get(parameters, "(&s)", &item);
                static_cast<StatusNotifierTest*>(self)->m_registered = item;
                g_dbus_method_invocation_return_value(invocation, nullptr);
            },
            nullptr,
            nullptr,
            {}};
        m_watcher = test::RegisterObject(m_hostSide.get(), "/StatusNotifierWatcher", kWatcherXml,
                                         vtable, this);
        for (const char* signal : {"NewToolTip", "LayoutUpdated"}) {
            g_dbus_connection_signal_subscribe(
                m_hostSide.get(), nullptr, nullptr, signal, nullptr, nullptr,
                G_DBUS_SIGNAL_FLAGS_NONE,
                [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name,
                   GVariant*, gpointer self) {
                    static_cast<StatusNotifierTest*>(self)->m_signals.push_back(name);
                },
                this, nullptr);
        }
    }
    void TearDown() override { g_dbus_connection_unregister_object(m_hostSide.get(), m_watcher); }

    GVariant* ItemCall(const char* method, GVariant* parameters) {
        return test::Call(m_hostSide.get(), m_registered.c_str(), "/StatusNotifierItem",
                          "org.kde.StatusNotifierItem", method, parameters);
    }
    std::string Tip() {
        GVariant* reply =
            test::Call(m_hostSide.get(), m_registered.c_str(), "/StatusNotifierItem",
                       "org.freedesktop.DBus.Properties", "Get",
                       g_variant_new("(ss)", "org.kde.StatusNotifierItem", "ToolTip"));
        if (reply == nullptr) {
            return "no answer";
        }
        GVariant* value = nullptr;
        g_variant_get(reply, "(v)", &value);
        const gchar* text = nullptr;
        g_variant_get(value, "(&s@a(iiay)&s&s)", nullptr, nullptr, &text, nullptr);
        std::string tip = text;
        g_variant_unref(value);
        g_variant_unref(reply);
        return tip;
    }
    // The menu's lines as a host reads them: the label, "*" when checked, "(off)" when not
    // enabled, "-" for a separator.
    std::vector<std::string> Menu() {
        std::vector<std::string> lines;
        GVariant* reply = test::Call(
            m_hostSide.get(), m_registered.c_str(), "/MenuBar", "com.canonical.dbusmenu",
            "GetLayout", g_variant_new("(ii@as)", 0, -1, g_variant_new_strv(nullptr, 0)));
        if (reply == nullptr) {
            return lines;
        }
        GVariantIter* children = nullptr;
        g_variant_get(reply, "(u(i@a{sv}av))", nullptr, nullptr, nullptr, &children);
        GVariant* child = nullptr;
        while (g_variant_iter_next(children, "v", &child)) {
            GVariant* properties = g_variant_get_child_value(child, 1);
            const gchar* label = nullptr;
            gboolean enabled = TRUE;
            gint32 state = 0;
            std::string line = g_variant_lookup(properties, "label", "&s", &label) ? label : "-";
            g_variant_lookup(properties, "enabled", "b", &enabled);
            if (g_variant_lookup(properties, "toggle-state", "i", &state) && state == 1) {
                line += "*";
            }
            lines.push_back(enabled ? line : line + "(off)");
            g_variant_unref(properties);
            g_variant_unref(child);
        }
        g_variant_iter_free(children);
        g_variant_unref(reply);
        return lines;
    }

    test::PrivateBus m_bus;
    GObjectPtr<GDBusConnection> m_itemSide = m_bus.Connect();
    GObjectPtr<GDBusConnection> m_hostSide = m_bus.Connect();
    guint m_watcher = 0;
    std::string m_registered;
    std::vector<std::string> m_signals;
};

TEST_F(StatusNotifierTest, AHostReadsTheItemAndItsMenuAndItsClicksTheWheelAndPicksReachTheProgram) {
    int activated = 0;
    int secondary = 0;
    std::vector<int> steps;
    std::vector<unsigned> chosen;
    MenuEntry mute = Item(6, "Mute");
    mute.mark = MenuEntry::Mark::Check;
    mute.marked = true;
    MenuEntry title = Item(1, "Radio_Sagarmatha");
    title.enabled = false;
    auto item = std::make_unique<StatusNotifierItem>(
        m_itemSide.get(), 1, StatusNotifierFace{"zaviradio", "Zavi Radio", "Velostan", nullptr},
        TrayMenuItems{title, Item(5, "Pause"), mute, MenuEntry{}, Item(2, "Quit")},
        StatusNotifierItem::Handlers{[&] { ++activated; }, [&] { ++secondary; },
                                     [&](int step) { steps.push_back(step); }, [](int, int) {},
                                     [&](unsigned id) { chosen.push_back(id); }});
    item->RegisterWith(g_dbus_connection_get_unique_name(m_hostSide.get()));
    ASSERT_TRUE(test::PumpUntil([&] { return !m_registered.empty(); }, 3000))
        << "never registered with the watcher";

    EXPECT_EQ(Tip(), "Velostan");
    // A title's underscore is shown as itself, not taken as a mnemonic's.
    EXPECT_EQ(Menu(),
              (std::vector<std::string>{"Radio__Sagarmatha(off)", "Pause", "Mute*", "-", "Quit"}));

    // A notch comes as 1 or 120, up or down by its sign; a sideways scroll is no volume.
    for (auto [delta, orientation] :
         {std::pair{120, "vertical"}, {-1, "Vertical"}, {3, "horizontal"}}) {
        g_variant_unref(ItemCall("Scroll", g_variant_new("(is)", delta, orientation)));
    }
    g_variant_unref(ItemCall("SecondaryActivate", g_variant_new("(ii)", 0, 0)));
    g_variant_unref(ItemCall("Activate", g_variant_new("(ii)", 0, 0)));
    EXPECT_EQ(steps, (std::vector<int>{1, -1}));
    EXPECT_EQ(secondary, 1);
    EXPECT_EQ(activated, 1);

    // Only a click on an enabled item with no submenu is a pick.
    for (auto [id, event] :
         {std::pair{5, "clicked"}, {1, "clicked"}, {6, "hovered"}, {2, "clicked"}}) {
        g_variant_unref(test::Call(m_hostSide.get(), m_registered.c_str(), "/MenuBar",
                                   "com.canonical.dbusmenu", "Event",
                                   g_variant_new("(isvu)", id, event, g_variant_new_int32(0), 0U)));
    }
    EXPECT_EQ(chosen, (std::vector<unsigned>{5, 2}));

    // What plays changes: the host is told, and reads the new tip and menu.
    item->Update("Evening News", TrayMenuItems{Item(5, "Play"), Item(2, "Quit")});
    EXPECT_TRUE(test::PumpUntil([&] { return m_signals.size() >= 2; }, 3000));
    EXPECT_EQ(Tip(), "Evening News");
    EXPECT_EQ(Menu(), (std::vector<std::string>{"Play", "Quit"}));

    // The item going gives up its name: that is what tells the host the icon is gone.
    const std::string name = m_registered;
    item.reset();
    GVariant* owned =
        test::Call(m_hostSide.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                   "org.freedesktop.DBus", "NameHasOwner", g_variant_new("(s)", name.c_str()));
    ASSERT_NE(owned, nullptr);
    gboolean has = TRUE;
    g_variant_get(owned, "(b)", &has);
    EXPECT_FALSE(has);
    g_variant_unref(owned);
}

}  // namespace
}  // namespace zavi
