#include "ZaviRadioSplash.h"

#include <utility>

#include "../app/Program.h"
#include "../platform/ErrorReport.h"
#include "../platform/Misc.h"
#include "../platform/Screen.h"
#include "SplashDefinition.h"

namespace zavi {
namespace forms {

ZaviRadioSplash::Controls::Controls(Form& form)
    : Label1(splash::kLabel1, form.Dpi()),
      Label2(splash::kLabel2, form.Dpi()),
      Label3(splash::kLabel3, form.Dpi()),
      ProgressBar1(form, splash::kProgressBar1) {}

ZaviRadioSplash::ZaviRadioSplash() : Form(splash::kForm) {}

ZaviRadioSplash::~ZaviRadioSplash() {
    Unload();
}

void ZaviRadioSplash::CreateControls() {
    m_controls = std::make_unique<Controls>(*this);
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
        NotifyIconActions actions;
        actions.activate = [this] { OnTrayMenu(splash::kShowPlayer.id); };
        // The middle click and the wheel reach the radio once the player is up.
        actions.secondaryActivate = [] { TogglePlayerPause(); };
        actions.scroll = [](int steps) { ScrollPlayerVolume(steps); };
        actions.menu = {splash::kShowPlayer, splash::kQuit};
        actions.choose = [this](unsigned id) { OnTrayMenu(id); };
        m_notifyIcon.emplace(*this, splash::kTrayIcon, tip, std::move(actions));

        LayerColorKey = Rgb(255, 255, 255);
        LayerFlags = 0;
        LayerFlags = LayerFlags | kLayerColourKey;
        MakeWindowTransparent(hWnd(), LayerColorKey, LayerAlpha, LayerFlags);

        const Placement corner =
            BottomRightCorner(Screen::Width(), Screen::Height(), Width(), Height());
        SetLeft(Screen::Left() + corner.left);
        SetTop(Screen::Top() + corner.top);
    });
}

// The icon goes with the window, while the window still exists.
void ZaviRadioSplash::OnUnload() {
    m_notifyIcon.reset();
}

void ZaviRadioSplash::OnTimer(unsigned id) {
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

// A bar nobody can see is not swept: after the hand-off the window stays loaded but hidden
// for as long as the program runs, and a 10 ms sweep would wake it a hundred times a
// second for nothing. Shown again, it sweeps afresh from the minimum.
void ZaviRadioSplash::OnVisibleChanged(bool visible) {
    if (visible) {
        m_sweep = ProgressSweep{};
        StartTimer(splash::kTimer1);
    } else {
        StopTimer(splash::kTimer1);
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

// "Show player" brings the player up as a second launch does, restored and raised; while
// only this window is up there is no player to show. "Quit" closes as "X" does. The rest
// are the radio's.
void ZaviRadioSplash::OnTrayMenu(unsigned itemId) {
    if (itemId == splash::kShowPlayer.id) {
        // The program's own window, shown in the process: no round trip through the
        // display as a second launch needs.
        PresentPlayer();
    } else if (itemId == splash::kQuit.id) {
        UnloadProgramWindows();
    } else {
        PlayerMenuItem(itemId);
    }
}

// The radio's lines first, then the window's own.
void ZaviRadioSplash::UpdateTray() {
    if (!m_notifyIcon) {
        return;
    }
    MenuEntry tip;
    tip.caption = "%s";
    tip.argument = splash::kTrayTip;
    std::vector<MenuEntry> menu;
    if (auto radio = PlayerTrayLines(splash::kTrayTip)) {
        tip = std::move(radio->tip);
        menu = std::move(radio->menu);
        menu.emplace_back();  // a separator
    }
    menu.emplace_back(splash::kShowPlayer);
    menu.emplace_back(splash::kQuit);
    m_notifyIcon->Update(tip, std::move(menu));
}

// The hand-off. Show leaves a player that is already up as it is: visible, minimized or
// behind other windows, it is not brought forward every two seconds.
void ZaviRadioSplash::OnTimer2() {
    ShowPlayer();
}

}  // namespace forms

DefaultInstance<forms::ZaviRadioSplash>& ZaviRadioSplashInstance() {
    static DefaultInstance<forms::ZaviRadioSplash> instance;
    return instance;
}

void RefreshTray() {
    if (ZaviRadioSplashInstance().IsLoaded()) {
        ZaviRadioSplash().UpdateTray();
    }
}

}  // namespace zavi
