#include "ZaviRadioSplash.h"

#include "../platform/Api.h"
#include "../platform/ErrorReport.h"
#include "../platform/Misc.h"
#include "../platform/Screen.h"
#include "../player/VelostanZaviRadio.h"
#include "SplashDefinition.h"

namespace zavi {
namespace forms {
namespace {

// Borderless, so the colour key leaves no frame behind, and kept out of the taskbar.
const FormDefinition kDefinition{
    L"VLZaviRadio.ZaviRadioSplash",
    splash::kTitle,
    {splash::kDesignLeft, splash::kDesignTop, splash::kClientWidth, splash::kClientHeight},
    WS_POPUP | WS_CLIPCHILDREN,
    WS_EX_TOOLWINDOW,
    splash::kBackColour,
    SW_SHOWNOACTIVATE};

// Handles are 32 bits wide in the record on every Windows; see API::Shell_NotifyIconA.
template <class Handle>
std::uint32_t HandleBits(Handle handle) {
    return static_cast<std::uint32_t>(HandleToLong(handle));
}

}  // namespace

ZaviRadioSplash::Controls::Controls(HWND window, int dpi)
    : Label1(splash::kLabel1, dpi),
      Label2(splash::kLabel2, dpi),
      Label3(splash::kLabel3, dpi),
      ProgressBar1(window, splash::kProgressBar1, dpi) {}

ZaviRadioSplash::ZaviRadioSplash() : Form(kDefinition) {}

ZaviRadioSplash::~ZaviRadioSplash() {
    Unload();
}

NotifyIconData ZaviRadioSplash::BuildNotifyIconData(HWND window, std::uint32_t id,
                                                    std::uint32_t flags,
                                                    std::uint32_t callbackMessage, HICON icon,
                                                    const std::string& tip) const {
    return zavi::BuildNotifyIconData(HandleBits(window), id, flags, callbackMessage,
                                     HandleBits(icon), tip);
}

void ZaviRadioSplash::CreateControls() {
    m_controls = std::make_unique<Controls>(hWnd(), Dpi());
    m_sweep = ProgressSweep{};
    AddLabel(m_controls->Label1);
    AddLabel(m_controls->Label2);
    AddLabel(m_controls->Label3);
    StartTimer(splash::kTimer1);
    StartTimer(splash::kTimer2);
}

void ZaviRadioSplash::DestroyControls() {
    m_controls.reset();
}

void ZaviRadioSplash::OnLoad() {
    RunTrapped([this] {
        const std::string tip = splash::kTrayTip;
        const HWND window = hWnd();
        const HICON icon = Icon();

        const NotifyIconData record =
            BuildNotifyIconData(window, splash::kTrayIconId, splash::kTrayFlags,
                                splash::kTrayCallbackMessage, icon, tip);
        m_notifyIconAdded = API::Shell_NotifyIconA(kNimAdd, record) != FALSE;

        LayerColorKey = Rgb(255, 255, 255);
        LayerFlags = 0;
        LayerFlags = LayerFlags | LWA_COLORKEY;
        MakeWindowTransparent(window, LayerColorKey, LayerAlpha, LayerFlags);

        const Placement corner =
            BottomRightCorner(Screen::Width(), Screen::Height(), Width(), Height());
        SetLeft(corner.left);
        SetTop(corner.top);
    });
}

void ZaviRadioSplash::OnUnload() {
    WithdrawNotifyIcon();
}

// The icon goes with the window: a dead icon would stay in the notification area until
// the user moved the mouse over it.
void ZaviRadioSplash::WithdrawNotifyIcon() {
    if (!m_notifyIconAdded) {
        return;
    }
    m_notifyIconAdded = false;
    RunTrapped([this] {
        API::Shell_NotifyIconA(kNimDelete,
                               BuildNotifyIconData(hWnd(), splash::kTrayIconId, 0, 0, nullptr, ""));
    });
}

void ZaviRadioSplash::OnTimer(UINT_PTR id) {
    switch (id) {
        case splash::kTimer1.id:
            OnTimer1();
            break;
        case splash::kTimer2.id:
            OnTimer2();
            break;
        default:
            break;
    }
}

// One step of the progress sweep at most, so paints, input and the other timer are
// handled between steps.
void ZaviRadioSplash::OnTimer1() {
    ProgressBar& bar = ProgressBar1();
    const auto value = m_sweep.Tick(ProgressSweep::Clock::now(), [&bar] {
        return SweepLimits{bar.Min(), bar.Max()};
    });
    if (value) {
        bar.SetValue(*value);
    }
}

// The hand-off. Show leaves a player that is already up as it is: visible, minimized or
// behind other windows, it is not brought forward every two seconds.
void ZaviRadioSplash::OnTimer2() {
    zavi::VelostanZaviRadio().Show();
}

}  // namespace forms

DefaultInstance<forms::ZaviRadioSplash>& ZaviRadioSplashInstance() {
    static DefaultInstance<forms::ZaviRadioSplash> instance;
    return instance;
}

}  // namespace zavi
