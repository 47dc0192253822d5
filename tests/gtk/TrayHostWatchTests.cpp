#include <gtest/gtest.h>

#include <string>

#include "GtkTestSupport.h"
#include "platform/gtk/TrayHostWatch.h"

namespace zavi {
namespace {

constexpr char kWatcherXml[] = R"xml(<node><interface name="org.kde.StatusNotifierWatcher">
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
</interface></node>)xml";

// A session bus of the test's own (a real dbus-daemon), a watcher on it that the test
// controls, and the watch under test on a connection of its own.
class TrayHostWatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_watcherSide = m_bus.Connect();
        m_watchSide = m_bus.Connect();
    }
    void TearDown() override {
        if (m_registration != 0) {
            g_dbus_connection_unregister_object(m_watcherSide.get(), m_registration);
        }
    }

    // The watcher answers from m_hostRegistered, and says nothing when it changes.
    void StartWatcher() {
        static const GDBusInterfaceVTable vtable{
            nullptr,
            [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GError**,
               gpointer self) -> GVariant* {
                return g_variant_new_boolean(
                    static_cast<TrayHostWatchTest*>(self)->m_hostRegistered);
            },
            nullptr,
            {}};
        m_registration = test::RegisterObject(m_watcherSide.get(), "/StatusNotifierWatcher",
                                              kWatcherXml, vtable, this);
        m_watcherName = Own(m_watcherSide.get(), "org.kde.StatusNotifierWatcher");
    }
    static guint Own(GDBusConnection* bus, const char* name) {
        return g_bus_own_name_on_connection(bus, name, G_BUS_NAME_OWNER_FLAGS_NONE, nullptr,
                                            nullptr, nullptr, nullptr);
    }
    void Signal(const char* member) {
        g_dbus_connection_emit_signal(m_watcherSide.get(), nullptr, "/StatusNotifierWatcher",
                                      "org.kde.StatusNotifierWatcher", member, nullptr, nullptr);
    }

    test::PrivateBus m_bus;
    GObjectPtr<GDBusConnection> m_watcherSide;
    GObjectPtr<GDBusConnection> m_watchSide;
    guint m_registration = 0;
    guint m_watcherName = 0;
    bool m_hostRegistered = false;
    int m_told = 0;
};

TEST_F(TrayHostWatchTest, AHostIsThereOnlyWhileTheWatcherIsAndSaysSo) {
    TrayHostWatch watch(m_watchSide.get(), [this] { ++m_told; });
    ASSERT_TRUE(test::PumpUntil([&] { return watch.Settled(); }, 3000))
        << "no answer without a watcher";
    EXPECT_FALSE(watch.HostPresent());

    StartWatcher();  // a watcher with no host yet
    ASSERT_TRUE(test::PumpUntil([&] { return !watch.Watcher().empty() && watch.Settled(); }, 3000));
    EXPECT_FALSE(watch.HostPresent());

    m_hostRegistered = true;
    Signal("StatusNotifierHostRegistered");
    EXPECT_TRUE(test::PumpUntil([&] { return watch.HostPresent(); }, 3000));

    g_bus_unown_name(m_watcherName);  // the panel, watcher and all, goes
    EXPECT_TRUE(test::PumpUntil([&] { return watch.Watcher().empty(); }, 3000));
    EXPECT_FALSE(watch.HostPresent());
    EXPECT_GE(m_told, 4);
}

// Debian's standalone watcher sends nothing when its host leaves: the host's name going
// is what makes the watch ask again.
TEST_F(TrayHostWatchTest, AHostWhoseNameGoesIsAskedAboutAgainThoughTheWatcherSaysNothing) {
    StartWatcher();
    m_hostRegistered = true;
    const GObjectPtr<GDBusConnection> hostSide = m_bus.Connect();
    const guint host = Own(hostSide.get(), "org.kde.StatusNotifierHost-test");
    TrayHostWatch watch(m_watchSide.get(), [] {});
    ASSERT_TRUE(test::PumpUntil([&] { return watch.HostPresent(); }, 3000));

    m_hostRegistered = false;  // and no signal
    g_bus_unown_name(host);
    EXPECT_TRUE(test::PumpUntil([&] { return !watch.HostPresent(); }, 3000));
}

}  // namespace
}  // namespace zavi
