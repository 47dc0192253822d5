// NotifyIcon: a form's icon and a tip in the notification area, withdrawn when the object
// goes. It is a StatusNotifierItem while the session has a host for one, and an XEmbed
// icon otherwise; when a panel comes or goes it moves to whichever is there, one icon at a
// time. Its left click and its menu (in the user's language) run its actions.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../ControlDefinitions.h"
#include "../NotifyIconActions.h"
#include "Form.h"
#include "Gtk.h"
#include "StatusNotifierItem.h"
#include "TrayHostWatch.h"
#include "TrayMenu.h"
#include "SourceId.h"
#include "XEmbedIcon.h"

namespace zavi {

class NotifyIcon {
  public:
    NotifyIcon(const Form& owner, const NotifyIconDefinition& definition, const std::string& tip,
               NotifyIconActions actions = {});
    ~NotifyIcon();
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;

    // A new tip and menu, shown wherever the icon is.
    void Update(const MenuEntry& tip, std::vector<MenuEntry> menu);

  private:
    void Place();
    void PlaceLater();
    static gboolean OnPlaceLater(gpointer self);
    void Choose(unsigned id);
    // Runs an action from the main loop, once the click's own handling has returned: it
    // may unload the form, and this icon with it.
    void Later(std::function<void()> action);
    static gboolean RunLater(gpointer self);
    static void OnBusClosed(GDBusConnection* bus, gboolean, GError*, gpointer self);

    GObjectPtr<GdkPixbuf> m_image;
    std::string m_name;  // the first tip: the icon's own name
    std::string m_tip;
    NotifyIconActions m_actions;
    TrayMenuItems m_items;
    TrayMenu m_menu;
    GObjectPtr<GDBusConnection> m_bus;
    std::optional<TrayHostWatch> m_watch;
    std::optional<XEmbedIcon> m_xembed;
    std::optional<StatusNotifierItem> m_item;
    unsigned m_offered = 0;
    std::function<void()> m_pending;
    SourceId m_pendingSource;
    SourceId m_placeSource;
};

}  // namespace zavi
