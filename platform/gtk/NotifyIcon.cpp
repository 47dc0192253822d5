#include "NotifyIcon.h"

#include <cstdlib>
#include <utility>

#include "../AppIdentity.h"
#include "../ErrorReport.h"
#include "../NotifyIconData.h"
#include "Translations.h"

namespace zavi {
namespace {

std::string Translated(const MenuEntry& entry) {
    return entry.caption.empty() ? std::string()
                                 : MenuText(Translate(entry.caption.c_str()), entry.argument);
}

TrayMenuItems Translated(std::vector<MenuEntry> menu) {
    for (MenuEntry& entry : menu) {
        entry.caption = Translated(entry);
        entry.argument.clear();
        entry.children = Translated(std::move(entry.children));
    }
    return menu;
}

// The session's bus, when the session has one. Never one started for the asking (GLib
// would launch a bus of its own for a session without).
GObjectPtr<GDBusConnection> SessionBus() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const bool userBus = runtime != nullptr &&
                         g_file_test((std::string(runtime) + "/bus").c_str(), G_FILE_TEST_EXISTS);
    if ((address == nullptr || *address == '\0') && !userBus) {
        return {};
    }
    GObjectPtr<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr));
    if (bus.get() != nullptr) {
        // GLib ends the process when the session's bus goes; a radio plays on, its icon in
        // the X11 tray.
        g_dbus_connection_set_exit_on_close(bus.get(), FALSE);
    }
    return bus;
}

}  // namespace

NotifyIcon::NotifyIcon(const Form& owner, const NotifyIconDefinition& definition,
                       const std::string& tip, NotifyIconActions actions)
    : m_actions(std::move(actions)),
      m_items(Translated(m_actions.menu)),
      m_menu(m_items, [this](unsigned id) { Choose(id); }),
      m_bus(SessionBus()) {
    // The same flags say which parts are valid as in the shell's record.
    if ((definition.flags & kNifIcon) != 0 && owner.Icon() != nullptr) {
        m_image = GObjectPtr<GdkPixbuf>(GDK_PIXBUF(g_object_ref(owner.Icon())));
    }
    if ((definition.flags & kNifTip) != 0) {
        // The shell's field holds 63 characters and a NUL.
        m_tip = tip.substr(0, kNotifyIconTipLength - 1);
        m_name = m_tip;
    }
    if (m_bus.get() != nullptr) {
        g_signal_connect(m_bus.get(), "closed", G_CALLBACK(&NotifyIcon::OnBusClosed), this);
        m_watch.emplace(m_bus.get(), [this] { Place(); });
    } else {
        Place();
    }
}

NotifyIcon::~NotifyIcon() {
    if (m_bus.get() != nullptr) {
        g_signal_handlers_disconnect_by_data(m_bus.get(), this);
    }
    m_watch.reset();
    m_item.reset();
    m_xembed.reset();
}

void NotifyIcon::OnBusClosed(GDBusConnection*, gboolean, GError*, gpointer self) {
    auto* icon = static_cast<NotifyIcon*>(self);
    icon->m_watch.reset();
    icon->m_item.reset();
    icon->Place();
}

void NotifyIcon::Place() {
    if (m_watch && !m_watch->Settled()) {
        return;
    }
    auto activate = [this] { Later(m_actions.activate); };
    auto secondary = [this] { Later(m_actions.secondaryActivate); };
    auto scroll = [this](int steps) {
        if (m_actions.scroll) {
            Later([this, steps] { m_actions.scroll(steps); });
        }
    };
    auto menu = [this] { m_menu.PopUp(); };
    if (m_watch && m_watch->HostPresent()) {
        m_xembed.reset();
        if (!m_item) {
            const StatusNotifierFace face{kDesktopId, kDisplayName, m_tip, m_image.get()};
            StatusNotifierItem::Handlers handlers{activate, secondary, scroll,
                                                  [this](int x, int y) { m_menu.PopUpAt(x, y); },
                                                  [this](unsigned id) { Choose(id); }};
            m_item.emplace(m_bus.get(), ++m_offered, face, m_items, std::move(handlers));
        }
        m_item->RegisterWith(m_watch->Watcher());
    } else {
        m_item.reset();
        if (!m_xembed) {
            m_xembed.emplace(m_image.get(), m_name, m_tip, activate, secondary, menu, scroll);
            if (m_xembed->TrayLost()) {
                m_xembed.reset();
                PlaceLater();
            }
        }
    }
}

// A moment later, a new icon finds whichever tray is there by then, or waits for one.
void NotifyIcon::PlaceLater() {
    if (!m_placeSource.Active()) {
        m_placeSource = g_timeout_add(250, &NotifyIcon::OnPlaceLater, this);
    }
}

gboolean NotifyIcon::OnPlaceLater(gpointer self) {
    auto* icon = static_cast<NotifyIcon*>(self);
    icon->m_placeSource.Ended();
    icon->Place();
    return G_SOURCE_REMOVE;
}

void NotifyIcon::Update(const MenuEntry& tip, std::vector<MenuEntry> menu) {
    m_tip = Translated(tip);
    m_items = Translated(std::move(menu));
    m_menu.SetItems(m_items);
    if (m_item) {
        m_item->Update(m_tip, m_items);
    }
    if (m_xembed) {
        m_xembed->SetTip(m_tip);
    }
}

void NotifyIcon::Choose(unsigned id) {
    if (m_actions.choose) {
        Later([this, id] { m_actions.choose(id); });
    }
}

void NotifyIcon::Later(std::function<void()> action) {
    if (!action) {
        return;
    }
    m_pending = std::move(action);
    if (!m_pendingSource.Active()) {
        m_pendingSource = g_idle_add(&NotifyIcon::RunLater, this);
    }
}

gboolean NotifyIcon::RunLater(gpointer self) {
    auto* icon = static_cast<NotifyIcon*>(self);
    icon->m_pendingSource.Ended();
    const auto action = std::exchange(icon->m_pending, nullptr);
    RunUntrapped(action);
    return G_SOURCE_REMOVE;
}

}  // namespace zavi
