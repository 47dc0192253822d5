// NotifyIcon: a form's icon and a tip in the taskbar's notification area, registered with
// Shell_NotifyIconA through the API seam and withdrawn when the object goes. The shell's
// reports of clicks on it come to the form's window as the callback message; the icon
// takes them there (a subclass of the window for its lifetime) and runs its actions.
#pragma once

#include <string>
#include <vector>

#include "../ControlDefinitions.h"
#include "../NotifyIconActions.h"
#include "Form.h"

namespace zavi {

class NotifyIcon {
  public:
    // Registers the icon. Raises a ProgramError when the shell lacks the operation; a
    // registration the shell refuses is not an error, and is simply not withdrawn.
    NotifyIcon(const Form& owner, const NotifyIconDefinition& definition, const std::string& tip,
               NotifyIconActions actions = {});
    ~NotifyIcon();
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;

    // A new tip (up to 127 characters, cut at a whole one) and menu.
    void Update(const MenuEntry& tip, std::vector<MenuEntry> menu);

  private:
    static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    bool IsIconReport(WPARAM wParam, LPARAM lParam) const;
    // Shows the items where the pointer is and returns the one picked, or 0.
    static unsigned TrackMenu(HWND window, const std::vector<MenuEntry>& items);
    // Registers the icon with the shell: at first, and again when Explorer restarts.
    bool Add();
    void ShowTip();

    HWND m_window;
    unsigned m_id;
    unsigned m_flags;
    unsigned m_callbackMessage;
    HICON m_icon;
    std::string m_firstTip;
    std::wstring m_tip;
    bool m_added;
    UINT m_taskbarCreated;
    NotifyIconActions m_actions;
};

}  // namespace zavi
