#include "VelostanZaviRadio.h"

#include "../splash/ZaviRadioSplash.h"
#include "PlayerDefinition.h"
#include "StationAddress.h"
#include "StationConfig.h"

namespace zavi {
namespace forms {
namespace {

// A fixed-size window with a title bar and a minimize box, in the taskbar.
const FormDefinition kDefinition{
    L"VLZaviRadio.VelostanZaviRadio",
    player::kTitle,
    {0, 0, player::kClientWidth, player::kClientHeight},
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    WS_EX_APPWINDOW,
    kWhite,
    SW_SHOWNORMAL,
    true};

bool IsPlainTab(const MSG& message) {
    return message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
           GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
}

}  // namespace

VelostanZaviRadio::Controls::Controls(HWND window, int dpi)
    : WebBrowser2(window, ToPixels(player::kWebBrowser2.bounds, dpi)),
      Command1(window, player::kCommand1, dpi) {
    SetWindowPos(Command1.hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

VelostanZaviRadio::VelostanZaviRadio() : Form(kDefinition) {}

VelostanZaviRadio::~VelostanZaviRadio() {
    Unload();
}

void VelostanZaviRadio::CreateControls() {
    m_controls = std::make_unique<Controls>(hWnd(), Dpi());
}

void VelostanZaviRadio::DestroyControls() {
    m_controls.reset();
}

void VelostanZaviRadio::OnLoad() {
    zavi::ZaviRadioSplash().Hide();
    WebBrowser2().Navigate(StationPageAddress(kStationHost));
}

// Every way of closing the window ends the program, as "X" does; otherwise the start-up
// window's timer would bring the player back two seconds later.
void VelostanZaviRadio::OnClose() {
    CloseSequence();
}

void VelostanZaviRadio::OnCommand(unsigned controlId, unsigned code) {
    if (controlId == player::kCommand1.id && code == BN_CLICKED) {
        OnCommand1Click();
    }
}

void VelostanZaviRadio::OnCommand1Click() {
    CloseSequence();
}

void VelostanZaviRadio::CloseSequence() {
    Unload();
    ZaviRadioSplashInstance().Unload();
}

// The browser is first in the tab order, so it takes the focus the window is given.
void VelostanZaviRadio::OnSetFocus() {
    if (m_controls) {
        WebBrowser2().Focus();
    }
}

// Tab moves between the browser (first) and the button (second); inside the page the
// browser has every key first, and Tab leaves it once it has run out of links.
bool VelostanZaviRadio::PreTranslate(MSG& message) {
    if (!m_controls || message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
        return false;
    }
    WebBrowser& browser = WebBrowser2();
    if (browser.HasFocus()) {
        if (browser.TranslateAccelerator(message)) {
            return true;
        }
        if (IsPlainTab(message)) {
            SetFocus(Command1().hWnd());
            return true;
        }
        return false;
    }
    if (IsPlainTab(message) && GetFocus() == Command1().hWnd()) {
        browser.Focus();
        return true;
    }
    return false;
}

}  // namespace forms

DefaultInstance<forms::VelostanZaviRadio>& VelostanZaviRadioInstance() {
    static DefaultInstance<forms::VelostanZaviRadio> instance;
    return instance;
}

}  // namespace zavi
