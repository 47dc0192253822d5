#include "Form.h"

#include <algorithm>
#include <utility>

#include "../../resources/ResourceIds.h"
#include "../ErrorReport.h"
#include "../ProgramError.h"
#include "../Screen.h"

namespace zavi {
namespace {

// Marks a window as one of our forms, so the runtime can tell whether any is loaded
// without a registry of its own.
constexpr wchar_t kFormProperty[] = L"VLZaviRadio.Form";

void RegisterFormClass(const wchar_t* className, WNDPROC procedure) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, className, &existing)) {
        return;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    if (RegisterClassExW(&windowClass) == 0) {
        throw ProgramError("The window class could not be registered.");
    }
}

BOOL CALLBACK IsFormWindow(HWND window, LPARAM found) {
    if (GetPropW(window, kFormProperty) != nullptr) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

RECT CentredInWorkArea(const RECT& outer) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const LONG width = outer.right - outer.left;
    const LONG height = outer.bottom - outer.top;
    const LONG left = work.left + (work.right - work.left - width) / 2;
    const LONG top = work.top + (work.bottom - work.top - height) / 2;
    return RECT{left, top, left + width, top + height};
}

struct Chrome {
    DWORD style;
    DWORD exStyle;
    int showCommand;
    bool centred;  // in the work area, instead of at the client's position
};

Chrome ChromeFor(FormKind kind) {
    switch (kind) {
        case FormKind::Floating:
            // Borderless, so a colour key leaves no frame behind, and kept out of the taskbar.
            return {WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, SW_SHOWNOACTIVATE, false};
        case FormKind::Fixed:
            break;
    }
    return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
            WS_EX_APPWINDOW, SW_SHOWNORMAL, true};
}

bool IsPlainTab(const MSG& message) {
    return message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
           GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
}

HICON LoadProgramIcon(int width, int height) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                         MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, width,
                                         height, LR_DEFAULTCOLOR | LR_SHARED));
}

}  // namespace

Form::Form(const FormDefinition& definition) : m_definition(definition) {}

Form::~Form() {
    // A derived form unloads itself in its own destructor, while its handlers still exist;
    // this only makes sure no window outlives its form.
    if (IsLoaded()) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        RemovePropW(m_window, kFormProperty);
        DestroyWindow(std::exchange(m_window, nullptr));
    }
}

void Form::Load() {
    if (IsLoaded()) {
        return;
    }
    const std::wstring className = Widen(m_definition.name);
    RegisterFormClass(className.c_str(), &Form::WindowProc);
    const Chrome chrome = ChromeFor(m_definition.kind);
    m_dpi = Screen::Dpi();
    m_background = Brush(CreateSolidBrush(
        ResolveColour(m_definition.backColour, [](int index) { return GetSysColor(index); })));
    m_bigIcon = LoadProgramIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    m_smallIcon = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));

    const PixelRect client = ToPixels(m_definition.client, m_dpi);
    RECT outer{client.left, client.top, client.left + client.width, client.top + client.height};
    AdjustWindowRectEx(&outer, chrome.style, FALSE, chrome.exStyle);
    if (chrome.centred) {
        outer = CentredInWorkArea(outer);
    }
    const std::wstring caption = Widen(m_definition.caption);
    // WM_NCCREATE stores the window handle, so the form counts as loaded from here on.
    CreateWindowExW(chrome.exStyle, className.c_str(), caption.c_str(), chrome.style, outer.left,
                    outer.top, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (!IsLoaded()) {
        throw ProgramError("The window could not be created.");
    }
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon));
    try {
        CreateControls();
    } catch (...) {
        // A form whose controls could not all be made is not left half loaded.
        Unload();
        throw;
    }
    OnLoad();
}

void Form::Show() {
    Load();
    if (!IsWindowVisible(m_window)) {
        ShowWindow(m_window, ChromeFor(m_definition.kind).showCommand);
    }
}

void Form::Present() {
    Show();
    if (IsIconic(m_window)) {
        ShowWindow(m_window, SW_RESTORE);
    }
    // Allowed: the user's click on the notification icon gave this process the foreground.
    SetForegroundWindow(m_window);
}

void Form::Hide() {
    Load();
    ShowWindow(m_window, SW_HIDE);
}

void Form::Unload() {
    if (IsLoaded()) {
        DestroyWindow(m_window);
    }
}

RECT Form::OuterRect() const {
    RECT outer{};
    GetWindowRect(m_window, &outer);
    return outer;
}

double Form::Width() const {
    const RECT outer = OuterRect();
    return PixelsToTwips(outer.right - outer.left, m_dpi);
}

double Form::Height() const {
    const RECT outer = OuterRect();
    return PixelsToTwips(outer.bottom - outer.top, m_dpi);
}

double Form::Left() const {
    return PixelsToTwips(OuterRect().left, m_dpi);
}

double Form::Top() const {
    return PixelsToTwips(OuterRect().top, m_dpi);
}

void Form::SetLeft(double twips) {
    MoveTo(TwipsToPixels(twips, m_dpi), OuterRect().top);
}

void Form::SetTop(double twips) {
    MoveTo(OuterRect().left, TwipsToPixels(twips, m_dpi));
}

void Form::MoveTo(int x, int y) {
    SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Form::AnyLoaded() {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), &IsFormWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool Form::PreTranslateMessage(MSG& message) {
    if (message.hwnd == nullptr) {
        return false;
    }
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    auto* form = root ? static_cast<Form*>(GetPropW(root, kFormProperty)) : nullptr;
    if (form == nullptr) {
        return false;
    }
    bool used = true;  // a message whose handling failed is not handled twice
    RunUntrapped([&] { used = form->PreTranslate(message); });
    return used;
}

void Form::AddTabStop(TabStop& control, int tabIndex) {
    auto at = m_tabStops.begin();
    while (at != m_tabStops.end() && at->first <= tabIndex) {
        ++at;
    }
    m_tabStops.insert(at, {tabIndex, &control});
}

// Keys go first to the control that has the focus (a hosted browser uses Tab inside its
// page, for example); a Tab it leaves alone moves the focus to the next tab stop.
bool Form::PreTranslate(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
        return false;
    }
    for (std::size_t i = 0; i < m_tabStops.size(); ++i) {
        TabStop& control = *m_tabStops[i].second;
        if (!control.HasFocus()) {
            continue;
        }
        if (control.TranslateAccelerator(message)) {
            return true;
        }
        if (IsPlainTab(message)) {
            m_tabStops[(i + 1) % m_tabStops.size()].second->Focus();
            return true;
        }
        return false;
    }
    return false;
}

void Form::AddLabel(const Label& label) {
    m_labels.push_back(&label);
}

void Form::StartTimer(const TimerDefinition& timer) {
    SetTimer(m_window, timer.id, timer.intervalMs, nullptr);
    if (std::find(m_timers.begin(), m_timers.end(), timer.id) == m_timers.end()) {
        m_timers.push_back(timer.id);
    }
}

void Form::StopTimer(const TimerDefinition& timer) {
    const auto running = std::find(m_timers.begin(), m_timers.end(), timer.id);
    if (running != m_timers.end()) {
        KillTimer(m_window, timer.id);
        m_timers.erase(running);
    }
}

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        SetPropW(window, kFormProperty, reinterpret_cast<HANDLE>(form));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        RemovePropW(window, kFormProperty);
        form->m_window = nullptr;
        if (!AnyLoaded()) {
            PostQuitMessage(0);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // An error that reaches here was trapped by nobody: it ends the program.
    LRESULT result = 0;
    RunUntrapped([&] { result = form->HandleMessage(message, wParam, lParam); });
    return result;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the background, so nothing flickers
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            const HDC dc = BeginPaint(m_window, &paint);
            Paint(dc);
            EndPaint(m_window, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == m_window && LOWORD(lParam) == HTCLIENT &&
                SetCursorForLabel()) {
                return TRUE;
            }
            break;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_SHOWWINDOW:
            if (lParam == 0) {  // ShowWindow's own, not an owner's minimize or restore
                OnVisibleChanged(wParam != FALSE);
            }
            break;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_COMMAND:
            if (lParam != 0) {
                if (HIWORD(wParam) == BN_CLICKED) {
                    OnClick(LOWORD(wParam));
                }
                return 0;
            }
            break;
        case WM_SETFOCUS:
            // The form itself got the focus, as on activation: the first tab stop takes it.
            if (!m_tabStops.empty()) {
                m_tabStops.front().second->Focus();
            }
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void Form::OnDestroy() {
    for (const UINT_PTR timer : m_timers) {
        KillTimer(m_window, timer);
    }
    m_timers.clear();
    OnUnload();
    m_labels.clear();
    m_tabStops.clear();
    DestroyControls();
}

void Form::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(m_window, &client);
    FillRect(dc, &client, m_background.get());
    for (const Label* label : m_labels) {
        label->Paint(dc);
    }
}

bool Form::SetCursorForLabel() const {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(m_window, &cursor);
    // The label painted last lies on top.
    for (auto label = m_labels.rbegin(); label != m_labels.rend(); ++label) {
        if ((*label)->Contains(cursor)) {
            if ((*label)->Pointer() == MousePointer::UpArrow) {
                SetCursor(LoadCursorW(nullptr, IDC_UPARROW));
                return true;
            }
            return false;
        }
    }
    return false;
}

}  // namespace zavi
