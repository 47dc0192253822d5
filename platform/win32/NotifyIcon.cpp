#include "NotifyIcon.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "../NotifyIconData.h"
#include "../ErrorReport.h"
#include "../UniqueHandle.h"
#include "Api.h"

namespace zavi {
namespace {

// Handles are 32 bits wide in the record on every Windows; see API::Shell_NotifyIconA.
template <class Handle>
std::uint32_t HandleBits(Handle handle) {
    return static_cast<std::uint32_t>(HandleToLong(handle));
}

BOOL DestroyMenuHandle(HMENU menu) {
    return DestroyMenu(menu);
}
using Menu = UniqueHandle<HMENU, &DestroyMenuHandle>;

constexpr UINT_PTR kSubclassId = 0x5a56;  // one icon per window

}  // namespace

NotifyIcon::NotifyIcon(const Form& owner, const NotifyIconDefinition& definition,
                       const std::string& tip, NotifyIconActions actions)
    : m_window(owner.hWnd()),
      m_id(definition.id),
      m_callbackMessage(definition.callbackMessage),
      m_actions(std::move(actions)) {
    const NotifyIconData record =
        BuildNotifyIconData(HandleBits(m_window), definition.id, definition.flags,
                            definition.callbackMessage, HandleBits(owner.Icon()), tip);
    m_added = API::Shell_NotifyIconA(kNimAdd, record) != FALSE;
    if (m_added && definition.callbackMessage != 0) {
        SetWindowSubclass(m_window, &NotifyIcon::Subclass, kSubclassId,
                          reinterpret_cast<DWORD_PTR>(this));
    }
}

// The icon goes with its window: a dead icon would stay in the notification area until
// the user moved the mouse over it.
NotifyIcon::~NotifyIcon() {
    RemoveWindowSubclass(m_window, &NotifyIcon::Subclass, kSubclassId);
    if (!m_added) {
        return;
    }
    RunTrapped([this] {
        API::Shell_NotifyIconA(kNimDelete,
                               BuildNotifyIconData(HandleBits(m_window), m_id, 0, 0, 0, ""));
    });
}

// The callback message is the mouse-move message, which the window also gets for the
// pointer over it. The shell's report carries the icon's id and a mouse message in
// lParam's low word, with nothing above it; a real move there would be at the pointer's
// own position, which the report's is not.
bool NotifyIcon::IsIconReport(WPARAM wParam, LPARAM lParam) const {
    const auto report = static_cast<UINT>(lParam);
    if (wParam != m_id || report < WM_MOUSEFIRST || report > WM_MOUSELAST) {
        return false;
    }
    if (m_callbackMessage != WM_MOUSEMOVE) {
        return true;
    }
    const DWORD at = GetMessagePos();
    POINT pointer{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ScreenToClient(m_window, &pointer);
    return pointer.x != GET_X_LPARAM(lParam) || pointer.y != GET_Y_LPARAM(lParam);
}

LRESULT CALLBACK NotifyIcon::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR self) {
    const auto* icon = reinterpret_cast<const NotifyIcon*>(self);
    if (message != icon->m_callbackMessage || !icon->IsIconReport(wParam, lParam)) {
        return DefSubclassProc(window, message, wParam, lParam);
    }
    // An action may unload the form and this icon with it: nothing of it is used after.
    switch (static_cast<UINT>(lParam)) {
        case WM_LBUTTONUP:
            if (const auto activate = icon->m_actions.activate) {
                RunUntrapped(activate);
            }
            break;
        case WM_RBUTTONUP:
            if (!icon->m_actions.menu.empty()) {
                // The menu runs a loop of its own, in which anything may happen.
                const auto choose = icon->m_actions.choose;
                const unsigned picked = TrackMenu(window, icon->m_actions.menu);
                if (picked != 0 && choose) {
                    RunUntrapped([&] { choose(picked); });
                }
            }
            break;
        default:
            break;
    }
    return 0;
}

// As the shell's own icons do it: the window to the foreground first, or the menu would
// stay open when the user clicks elsewhere, and a message after it, or it would not
// open again at once.
unsigned NotifyIcon::TrackMenu(HWND window, std::vector<MenuItemDefinition> items) {
    const Menu menu(CreatePopupMenu());
    if (menu.get() == nullptr) {
        return 0;
    }
    for (const MenuItemDefinition& item : items) {
        AppendMenuA(menu.get(), MF_STRING, item.id, item.caption);
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    SetForegroundWindow(window);
    const BOOL picked = TrackPopupMenu(
        menu.get(),
        TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_RIGHTALIGN | TPM_BOTTOMALIGN,
        pointer.x, pointer.y, 0, window, nullptr);
    PostMessageW(window, WM_NULL, 0, 0);
    return static_cast<unsigned>(picked);
}

}  // namespace zavi
