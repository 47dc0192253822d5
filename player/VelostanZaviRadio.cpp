#include "VelostanZaviRadio.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "../app/Program.h"
#include "../platform/ListenerSettings.h"
#include "PlayerDefinition.h"
#include "StationAddress.h"
#include "StationConfig.h"

namespace zavi {
namespace forms {

namespace {

RadioControls RememberedRadio() {
    const Listening listening = LoadListening();
    // The sleep timer's minute, shortened by the tests alone.
    const char* minute = std::getenv("ZAVIRADIO_TEST_MINUTE_MS");
    const long long ms = minute != nullptr ? std::atoll(minute) : 0;
    return ms > 0 ? RadioControls(listening.volume, listening.muted, std::chrono::milliseconds(ms))
                  : RadioControls(listening.volume, listening.muted);
}

}  // namespace

VelostanZaviRadio::Controls::Controls(Form& form, RadioControls& radio)
    : keeper(radio, [] { RadioChanged(); }),
      WebBrowser2(form, player::kWebBrowser2, keeper),
      Command1(form, player::kCommand1) {}

VelostanZaviRadio::VelostanZaviRadio() : Form(player::kForm), m_radio(RememberedRadio()) {}

VelostanZaviRadio::~VelostanZaviRadio() {
    Unload();
}

void VelostanZaviRadio::CreateControls() {
    m_controls = std::make_unique<Controls>(*this, m_radio);
}

void VelostanZaviRadio::DestroyControls() {
    m_controls.reset();
}

void VelostanZaviRadio::OnLoad() {
    WebBrowser2().SetListening(m_radio.State());
    WebBrowser2().Navigate(StationPageAddress(kStationHost));
    PlayerLoaded();
}

void VelostanZaviRadio::OnTimer(unsigned id) {
    if (id == player::kListenTimer) {
        StopTimer({player::kListenTimer, 0});
        const bool changed = m_radio.Tick(Clock::now());
        if (changed) {
            WebBrowser2().SetListening(m_radio.State());
        }
        ListenerChanged(false);
    }
}

void VelostanZaviRadio::Listen(unsigned itemId) {
    const auto now = Clock::now();
    bool remember = false;
    if (itemId == RadioControls::kPausePlay) {
        m_radio.TogglePause();
    } else if (itemId == RadioControls::kMute) {
        m_radio.ToggleMute();
        remember = true;
    } else if (itemId == RadioControls::kLouder || itemId == RadioControls::kSofter) {
        m_radio.Scroll(itemId == RadioControls::kLouder ? 1 : -1, now);
        remember = true;
    } else if (const auto minutes = RadioControls::SleepChoice(itemId)) {
        m_radio.SetSleep(*minutes, now);
    } else if (itemId == RadioControls::kStartAtLogin) {
        SetStartAtLogin(!StartsAtLogin());
    } else {
        return;
    }
    WebBrowser2().SetListening(m_radio.State());
    m_radio.Told();
    ListenerChanged(remember);
}

void VelostanZaviRadio::TogglePause() {
    Listen(RadioControls::kPausePlay);
}

void VelostanZaviRadio::Scroll(int steps) {
    m_radio.Scroll(steps, Clock::now());
    WebBrowser2().SetListening(m_radio.State());
    ListenerChanged(true);
}

void VelostanZaviRadio::ListenerChanged(bool remember) {
    if (remember) {
        SaveListening({m_radio.Volume(), m_radio.Muted()});
    }
    StopTimer({player::kListenTimer, 0});
    if (const auto next = m_radio.NextTick(Clock::now())) {
        StartTimer(
            {player::kListenTimer, static_cast<unsigned>(std::max<long long>(next->count(), 1))});
    }
    RadioChanged();
}

MenuEntry VelostanZaviRadio::TrayTip(const char* idleTip) const {
    return m_radio.Tip(Clock::now(), idleTip);
}

std::vector<MenuEntry> VelostanZaviRadio::TrayMenu() const {
    return m_radio.Menu(Clock::now(), !kTrayHasWheel, StartsAtLogin());
}

// Every way of closing the window ends the program, as "X" does; otherwise the start-up
// window's timer would bring the player back two seconds later.
void VelostanZaviRadio::OnClose() {
    UnloadProgramWindows();
}

void VelostanZaviRadio::OnClick(unsigned controlId) {
    if (controlId == player::kCommand1.id) {
        OnCommand1Click();
    }
}

void VelostanZaviRadio::OnCommand1Click() {
    UnloadProgramWindows();
}

}  // namespace forms

DefaultInstance<forms::VelostanZaviRadio>& VelostanZaviRadioInstance() {
    static DefaultInstance<forms::VelostanZaviRadio> instance;
    return instance;
}

}  // namespace zavi
