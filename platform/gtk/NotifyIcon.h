// NotifyIcon: a form's icon and a tip in the notification area, withdrawn when the object
// goes. It is an XEmbed tray icon (GtkStatusIcon), which trayer and most X11 panels host.
#pragma once

#include <string>

#include "../ControlDefinitions.h"
#include "Form.h"
#include "Gtk.h"

namespace zavi {

class NotifyIcon {
  public:
    NotifyIcon(const Form& owner, const NotifyIconDefinition& definition, const std::string& tip);
    ~NotifyIcon();
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;

  private:
    GObjectPtr<GtkStatusIcon> m_icon;
};

}  // namespace zavi
