#include "NotifyIcon.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "../ErrorReport.h"
#include "../NotifyIconData.h"
#include "../TipText.h"
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
// The shell's tip field in its wide form: 127 characters and a NUL.
constexpr std::size_t kLongestTip = 127;

void AppendEntries(HMENU menu, const std::vector<MenuEntry>& items) {
    for (const MenuEntry& item : items) {
        if (item.caption.empty()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const std::wstring text = FromUtf8(MenuText(item.caption, item.argument));
        UINT flags = MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED) |
                     (item.marked ? MF_CHECKED : MF_UNCHECKED);
        UINT_PTR id = item.id;
        if (!item.children.empty()) {
            HMENU submenu = CreatePopupMenu();  // the menu it is appended to owns it
            AppendEntries(submenu, item.children);
            flags |= MF_POPUP;
            id = reinterpret_cast<UINT_PTR>(submenu);
        }
        AppendMenuW(menu, flags, id, text.c_str());
        if (item.mark == MenuEntry::Mark::Radio) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE;
            info.fType = MFT_STRING | MFT_RADIOCHECK;
            SetMenuItemInfoW(menu, GetMenuItemCount(menu) - 1, TRUE, &info);
        }
    }
}

}  // namespace

NotifyIcon::NotifyIcon(const Form& owner, const NotifyIconDefinition& definition,
                       const std::string& tip, NotifyIconActions actions)
    : m_window(owner.hWnd()),
      m_id(definition.id),
      m_flags(definition.flags),
      m_callbackMessage(definition.callbackMessage),
      m_icon(owner.Icon()),
      m_firstTip(tip),
      m_taskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")),
      m_actions(std::move(actions)) {
    m_added = Add();
    if (m_added && definition.callbackMessage != 0) {
        SetWindowSubclass(m_window, &NotifyIcon::Subclass, kSubclassId,
                          reinterpret_cast<DWORD_PTR>(this));
    }
}

bool NotifyIcon::Add() {
    const NotifyIconData record = BuildNotifyIconData(
        HandleBits(m_window), m_id, m_flags, m_callbackMessage, HandleBits(m_icon), m_firstTip);
    return API::Shell_NotifyIconA(kNimAdd, record) != FALSE;
}

void NotifyIcon::Update(const MenuEntry& tip, std::vector<MenuEntry> menu) {
    m_actions.menu = std::move(menu);
    const std::wstring text = FromUtf8(MenuText(tip.caption, tip.argument));
    const std::u16string cut =
        CutAtCharacter(std::u16string(text.begin(), text.end()), kLongestTip);
    const std::wstring next(cut.begin(), cut.end());
    if (next != m_tip) {
        m_tip = next;
        ShowTip();
    }
}

// The tip in its wide form, which holds the page's own words.
void NotifyIcon::ShowTip() {
    if (!m_added || m_tip.empty()) {
        return;
    }
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = m_window;
    data.uID = m_id;
    data.uFlags = NIF_TIP;
    m_tip.copy(data.szTip, kLongestTip);
    Shell_NotifyIconW(NIM_MODIFY, &data);
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
    auto* icon = reinterpret_cast<NotifyIcon*>(self);
    // Explorer restarted: every icon must be added again, or it is gone for good.
    if (message == icon->m_taskbarCreated && icon->m_taskbarCreated != 0) {
        RunTrapped([icon] {
            if (icon->Add()) {
                icon->ShowTip();
            }
        });
        return DefSubclassProc(window, message, wParam, lParam);
    }
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
        case WM_MBUTTONUP:
            if (const auto secondary = icon->m_actions.secondaryActivate) {
                RunUntrapped(secondary);
            }
            break;
        case WM_RBUTTONUP:
            if (!icon->m_actions.menu.empty()) {
                // The menu runs a loop of its own, in which anything may happen.
                const auto choose = icon->m_actions.choose;
                const auto items = icon->m_actions.menu;
                const unsigned picked = TrackMenu(window, items);
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
unsigned NotifyIcon::TrackMenu(HWND window, const std::vector<MenuEntry>& items) {
    const Menu menu(CreatePopupMenu());
    if (menu.get() == nullptr) {
        return 0;
    }
    AppendEntries(menu.get(), items);
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
