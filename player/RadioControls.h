// RadioControls: what the listener holds from the notification icon: pause and play, the
// volume (in steps, from the wheel or the menu) and mute, a sleep timer that fades the
// station out and pauses it, and what plays, said in the icon's tip and the menu's first
// line. It decides only; the clock is passed in, and the player carries the state to the
// page and the tray.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "../platform/Clock.h"
#include "../platform/NotifyIconActions.h"
#include "../platform/PageProtocol.h"

namespace zavi {

class RadioControls {
  public:
    // The menu items' ids, apart from the start-up window's own.
    enum Item : unsigned {
        kNowPlaying = 10,
        kPausePlay,
        kMute,
        kLouder,
        kSofter,
        kSleep,
        kSleepOff,
        kStartAtLogin = 30,
    };
    static constexpr int kSleepMinutes[] = {15, 30, 60, 90};
    static constexpr unsigned kFirstSleepItem = 20;
    static constexpr int kStep = 5;            // per cent, one notch of the wheel
    static constexpr Delay kLevelShown{3000};  // the new level, in the tip and menu
    static constexpr Delay kFade{10000};       // the sleep timer's end
    static constexpr Delay kFadeStep{500};

    // MINUTE is how long the sleep timer's minute lasts (shorter only in tests).
    RadioControls(int volume, bool muted, Delay minute = std::chrono::minutes(1));

    // Paused from the tray, or by the listener in the page (its button, the media keys).
    bool Paused() const { return m_paused || m_pagePaused; }
    int Volume() const { return m_volume; }
    bool Muted() const { return m_muted; }
    // What the page is told: the volume faded while the sleep timer ends.
    page::ListenerState State() const;
    // The page was told: a Play's call to bring silent elements back is not said again.
    void Told() { m_resume = false; }

    // The listener hears nothing on purpose: muted, or the volume at nothing.
    bool Silenced() const { return m_muted || State().volume == 0; }
    void TogglePause();
    // The page's media were paused by the listener there, or play again.
    void PagePaused(bool paused) { m_pagePaused = paused; }
    void Scroll(int steps, TimePoint now);
    void ToggleMute() { m_muted = !m_muted; }
    void SetSleep(int minutes, TimePoint now);
    // The sleep timer and the shown level moved on; true when the page is to be told.
    bool Tick(TimePoint now);
    // When Tick is next due, if at all: nothing runs while nobody touched anything.
    std::optional<Delay> NextTick(TimePoint now) const;

    void SetNowPlaying(std::string title, std::string artist);
    void SetPageTitle(std::string title) { m_pageTitle = std::move(title); }
    // The page went: nothing it said is kept.
    void PageGone();
    std::string NowPlaying() const;

    // The tip's text (the caption of an entry) and the menu, without the window's own items.
    MenuEntry Tip(TimePoint now, const std::string& name) const;
    std::vector<MenuEntry> Menu(TimePoint now, bool menuVolume, bool startAtLogin) const;
    // The sleep timer's item picked: its minutes, 0 for off; none for another item.
    static std::optional<int> SleepChoice(unsigned id);

  private:
    bool LevelShown(TimePoint now) const { return m_levelUntil && now < *m_levelUntil; }
    MenuEntry Level() const;

    bool m_paused = false;
    bool m_pagePaused = false;
    bool m_resume = false;
    int m_volume;
    bool m_muted;
    Delay m_minute;
    double m_fade = 1.0;
    int m_sleepMinutes = 0;
    std::optional<TimePoint> m_sleepUntil;
    std::optional<TimePoint> m_levelUntil;
    std::string m_title;
    std::string m_artist;
    std::string m_pageTitle;
};

}  // namespace zavi
