// NotifyIcon: a form's icon and a tip in the notification area, withdrawn when the object
// goes. It is an XEmbed tray icon (GtkStatusIcon), which trayer and most X11 panels host.
// Its activate (a left click) and popup-menu (a right click) run its actions.
#pragma once

#include <string>

#include "../ControlDefinitions.h"
#include "../NotifyIconActions.h"
#include "Form.h"
#include "Gtk.h"

namespace zavi {

class NotifyIcon {
  public:
    NotifyIcon(const Form& owner, const NotifyIconDefinition& definition, const std::string& tip,
               NotifyIconActions actions = {});
    ~NotifyIcon();
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;

  private:
    static void OnActivate(GtkStatusIcon* icon, gpointer self);
    static void OnPopupMenu(GtkStatusIcon* icon, guint button, guint time, gpointer self);
    static void OnItem(GtkMenuItem* item, gpointer self);
    static gboolean RunChosen(gpointer self);

    GObjectPtr<GtkStatusIcon> m_icon;
    NotifyIconActions m_actions;
    GObjectPtr<GtkWidget> m_menu;
    unsigned m_chosen = 0;
    guint m_chosenSource = 0;
};

}  // namespace zavi
