// TrayHostWatch: whether the session has a StatusNotifierItem host to show an icon, told
// again whenever a panel starts, stops or restarts. A host is there while the watcher
// (org.kde.StatusNotifierWatcher) has an owner and says a host registered. Some watchers
// send no signal when a host leaves, so a host's bus name going makes the watch ask the
// watcher again, at once and a moment later (once the watcher has seen it go too).
#pragma once

#include <functional>
#include <string>

#include "Gtk.h"
#include "SourceId.h"

namespace zavi {

class TrayHostWatch {
  public:
    // CHANGED runs whenever the answer or the watcher's owner may have changed.
    TrayHostWatch(GDBusConnection* bus, std::function<void()> changed);
    ~TrayHostWatch();
    TrayHostWatch(const TrayHostWatch&) = delete;
    TrayHostWatch& operator=(const TrayHostWatch&) = delete;

    // False until the session has answered whether there is a watcher and a host.
    bool Settled() const { return m_told; }
    bool HostPresent() const;
    // The watcher's unique bus name, empty while there is none.
    const std::string& Watcher() const { return m_watcher; }

  private:
    static void OnWatcherAppeared(GDBusConnection*, const gchar*, const gchar* owner,
                                  gpointer self);
    static void OnWatcherVanished(GDBusConnection*, const gchar*, gpointer self);
    static void OnWatcherSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                const gchar*, GVariant*, gpointer self);
    static void OnHostNameChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                  const gchar*, GVariant* parameters, gpointer self);
    static void OnRegistered(GObject* bus, GAsyncResult* result, gpointer self);
    static gboolean OnAskAgain(gpointer self);
    void AskWatcher();

    GObjectPtr<GDBusConnection> m_bus;
    std::function<void()> m_changed;
    GObjectPtr<GCancellable> m_cancel;
    guint m_nameWatch = 0;
    guint m_watcherSignals = 0;
    guint m_hostNames = 0;
    std::string m_watcher;
    bool m_registered = false;
    bool m_told = false;
    SourceId m_askAgain;
};

}  // namespace zavi
