// NotifyIcon: a form's icon and a tip in the taskbar's notification area, registered with
// Shell_NotifyIconA through the API seam and withdrawn when the object goes.
#pragma once

#include <string>

#include "../ControlDefinitions.h"
#include "Form.h"

namespace zavi {

class NotifyIcon {
  public:
    // Registers the icon. Raises a ProgramError when the shell lacks the operation; a
    // registration the shell refuses is not an error, and is simply not withdrawn.
    NotifyIcon(const Form& owner, const NotifyIconDefinition& definition, const std::string& tip);
    ~NotifyIcon();
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;

  private:
    HWND m_window;
    unsigned m_id;
    bool m_added;
};

}  // namespace zavi
