#include "TrayHostWatch.h"

#include <utility>

namespace zavi {
namespace {

constexpr char kWatcherName[] = "org.kde.StatusNotifierWatcher";
constexpr char kWatcherPath[] = "/StatusNotifierWatcher";
constexpr char kHostPrefix[] = "org.kde.StatusNotifierHost-";

bool IsHostName(const char* name) {
    return g_str_has_prefix(name, kHostPrefix);
}

// A reply that came after the watch was dropped belongs to no one.
bool Cancelled(const GError* error) {
    return g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
}

}  // namespace

TrayHostWatch::TrayHostWatch(GDBusConnection* bus, std::function<void()> changed)
    : m_bus(GObjectPtr<GDBusConnection>(G_DBUS_CONNECTION(g_object_ref(bus)))),
      m_changed(std::move(changed)),
      m_cancel(g_cancellable_new()) {
    m_hostNames = g_dbus_connection_signal_subscribe(
        bus, "org.freedesktop.DBus", "org.freedesktop.DBus", "NameOwnerChanged",
        "/org/freedesktop/DBus", nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
        &TrayHostWatch::OnHostNameChanged, this, nullptr);
    m_nameWatch = g_bus_watch_name_on_connection(bus, kWatcherName, G_BUS_NAME_WATCHER_FLAGS_NONE,
                                                 &TrayHostWatch::OnWatcherAppeared,
                                                 &TrayHostWatch::OnWatcherVanished, this, nullptr);
}

TrayHostWatch::~TrayHostWatch() {
    g_cancellable_cancel(m_cancel.get());
    m_askAgain.Stop();
    g_bus_unwatch_name(m_nameWatch);
    if (m_watcherSignals != 0) {
        g_dbus_connection_signal_unsubscribe(m_bus.get(), m_watcherSignals);
    }
    g_dbus_connection_signal_unsubscribe(m_bus.get(), m_hostNames);
}

bool TrayHostWatch::HostPresent() const {
    return !m_watcher.empty() && m_registered;
}

void TrayHostWatch::OnWatcherAppeared(GDBusConnection* bus, const gchar*, const gchar* owner,
                                      gpointer self) {
    auto* watch = static_cast<TrayHostWatch*>(self);
    watch->m_watcher = owner;
    watch->m_registered = false;
    watch->m_told = false;  // until it says whether a host registered
    if (watch->m_watcherSignals != 0) {
        g_dbus_connection_signal_unsubscribe(bus, watch->m_watcherSignals);
    }
    // Its host signals and its property changes, whichever interface it sends them on.
    watch->m_watcherSignals = g_dbus_connection_signal_subscribe(
        bus, owner, nullptr, nullptr, kWatcherPath, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
        &TrayHostWatch::OnWatcherSignal, self, nullptr);
    watch->AskWatcher();
    watch->m_changed();
}

// The connection it is told with is null once the bus has gone; the watch's own stays.
void TrayHostWatch::OnWatcherVanished(GDBusConnection*, const gchar*, gpointer self) {
    auto* watch = static_cast<TrayHostWatch*>(self);
    const bool had = !watch->m_watcher.empty();
    watch->m_watcher.clear();
    watch->m_registered = false;
    if (watch->m_watcherSignals != 0) {
        g_dbus_connection_signal_unsubscribe(watch->m_bus.get(),
                                             std::exchange(watch->m_watcherSignals, 0u));
    }
    // The first answer, that there is none, is news too: it settles where the icon goes.
    if (had || !watch->m_told) {
        watch->m_told = true;
        watch->m_changed();
    }
}

void TrayHostWatch::OnWatcherSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                    const gchar*, GVariant*, gpointer self) {
    static_cast<TrayHostWatch*>(self)->AskWatcher();
}

void TrayHostWatch::OnHostNameChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                      const gchar*, GVariant* parameters, gpointer self) {
    const gchar* name = nullptr;
    g_variant_get(parameters, "(&s&s&s)", &name, nullptr, nullptr);
    if (!IsHostName(name)) {
        return;
    }
    auto* watch = static_cast<TrayHostWatch*>(self);
    watch->AskWatcher();
    watch->m_askAgain = g_timeout_add(1000, &TrayHostWatch::OnAskAgain, self);
}

gboolean TrayHostWatch::OnAskAgain(gpointer self) {
    auto* watch = static_cast<TrayHostWatch*>(self);
    watch->m_askAgain.Ended();
    watch->AskWatcher();
    return G_SOURCE_REMOVE;
}

void TrayHostWatch::AskWatcher() {
    if (m_watcher.empty()) {
        return;
    }
    g_dbus_connection_call(m_bus.get(), m_watcher.c_str(), kWatcherPath,
                           "org.freedesktop.DBus.Properties", "Get",
                           g_variant_new("(ss)", kWatcherName, "IsStatusNotifierHostRegistered"),
                           G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE, -1, m_cancel.get(),
                           &TrayHostWatch::OnRegistered, this);
}

void TrayHostWatch::OnRegistered(GObject* bus, GAsyncResult* result, gpointer self) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &error);
    if (Cancelled(error)) {
        g_error_free(error);
        return;
    }
    auto* watch = static_cast<TrayHostWatch*>(self);
    bool registered = false;
    if (reply != nullptr) {
        GVariant* value = nullptr;
        g_variant_get(reply, "(v)", &value);
        registered = g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) &&
                     g_variant_get_boolean(value) != FALSE;
        g_variant_unref(value);
        g_variant_unref(reply);
    } else {
        g_error_free(error);
    }
    watch->m_registered = registered;
    watch->m_told = true;
    watch->m_changed();
}

}  // namespace zavi
