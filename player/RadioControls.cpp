#include "RadioControls.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zavi {
namespace {

int Clamped(int volume) {
    return std::clamp(volume, 0, 100);
}

}  // namespace

RadioControls::RadioControls(int volume, bool muted, Delay minute)
    : m_volume(Clamped(volume)), m_muted(muted), m_minute(minute) {}

page::ListenerState RadioControls::State() const {
    page::ListenerState state;
    state.paused = m_paused;
    state.volume = static_cast<int>(std::lround(m_volume * m_fade));
    state.muted = m_muted;
    state.resume = m_resume;
    return state;
}

// Play after a pause, or after the station went silent, asks every element to play again
// at once; a sleep timer that faded the station out is over.
void RadioControls::TogglePause() {
    m_paused = !Paused();
    m_pagePaused = false;
    m_resume = !m_paused;
    m_fade = 1.0;
    if (m_paused) {
        m_sleepUntil.reset();
        m_sleepMinutes = 0;
    }
}

void RadioControls::Scroll(int steps, TimePoint now) {
    m_volume = Clamped(m_volume + steps * kStep);
    m_levelUntil = now + kLevelShown;
}

void RadioControls::SetSleep(int minutes, TimePoint now) {
    m_fade = 1.0;
    m_sleepMinutes = minutes;
    if (minutes <= 0) {
        m_sleepUntil.reset();
    } else {
        m_sleepUntil = now + minutes * m_minute;
    }
}

bool RadioControls::Tick(TimePoint now) {
    if (m_levelUntil && now >= *m_levelUntil) {
        m_levelUntil.reset();
    }
    if (!m_sleepUntil) {
        return false;
    }
    const auto left = *m_sleepUntil - now;
    if (left <= Delay::zero()) {
        // Faded out: the listener's pause, at the listener's volume for the next Play.
        m_sleepUntil.reset();
        m_sleepMinutes = 0;
        m_fade = 1.0;
        m_paused = true;
        m_resume = false;
        return true;
    }
    const double fade =
        left >= kFade ? 1.0
                      : std::chrono::duration<double>(left) / std::chrono::duration<double>(kFade);
    const bool changed = std::abs(fade - m_fade) > 1e-9;
    m_fade = fade;
    return changed;
}

std::optional<Delay> RadioControls::NextTick(TimePoint now) const {
    std::optional<Delay> next;
    const auto until = [&](TimePoint when) {
        const auto wait = std::max(Delay::zero(), std::chrono::ceil<Delay>(when - now));
        next = next ? std::min(*next, wait) : wait;
    };
    if (m_levelUntil) {
        until(*m_levelUntil);
    }
    if (m_sleepUntil) {
        const auto left = *m_sleepUntil - now;
        if (left <= kFade) {
            until(now + std::min<Delay>(kFadeStep, std::chrono::ceil<Delay>(left)));
        } else {
            // The fade's start, or the next whole minute left, which the menu shows.
            const auto minutesLeft = std::chrono::ceil<Delay>(left) % m_minute;
            until(now + std::min<Delay>(std::chrono::ceil<Delay>(left - kFade),
                                        minutesLeft == Delay::zero() ? m_minute : minutesLeft));
        }
    }
    return next;
}

void RadioControls::SetNowPlaying(std::string title, std::string artist) {
    m_title = std::move(title);
    m_artist = std::move(artist);
}

void RadioControls::PageGone() {
    m_title.clear();
    m_artist.clear();
    m_pageTitle.clear();
}

// The page's media session says it best; its title otherwise.
std::string RadioControls::NowPlaying() const {
    if (!m_title.empty()) {
        return m_artist.empty() ? m_title : m_title + " - " + m_artist;
    }
    return m_pageTitle;
}

MenuEntry RadioControls::Level() const {
    MenuEntry level;
    level.id = kNowPlaying;
    level.enabled = false;
    if (m_muted) {
        level.caption = "Muted";
    } else {
        level.caption = "Volume: %s";
        level.argument = std::to_string(m_volume) + " %";
    }
    return level;
}

MenuEntry RadioControls::Tip(TimePoint now, const std::string& name) const {
    if (LevelShown(now)) {
        return Level();
    }
    MenuEntry tip;
    tip.caption = "%s";
    tip.argument = NowPlaying().empty() ? name : NowPlaying();
    return tip;
}

std::vector<MenuEntry> RadioControls::Menu(TimePoint now, bool menuVolume,
                                           bool startAtLogin) const {
    using Mark = MenuEntry::Mark;
    const auto item = [](unsigned id, const char* caption, std::string argument = {},
                         Mark mark = Mark::None, bool marked = false) {
        MenuEntry entry;
        entry.id = id;
        entry.caption = caption;
        entry.argument = std::move(argument);
        entry.mark = mark;
        entry.marked = marked;
        return entry;
    };
    std::vector<MenuEntry> menu;
    if (LevelShown(now)) {
        menu.push_back(Level());
    } else if (!NowPlaying().empty()) {
        menu.push_back(item(kNowPlaying, "%s", NowPlaying()));
        menu.back().enabled = false;
    }
    menu.push_back(item(kPausePlay, Paused() ? "Play" : "Pause"));
    menu.push_back(item(kMute, "Mute", {}, Mark::Check, m_muted));
    if (menuVolume) {
        menu.push_back(item(kLouder, "Louder"));
        menu.back().enabled = m_volume < 100;
        menu.push_back(item(kSofter, "Softer"));
        menu.back().enabled = m_volume > 0;
    }

    MenuEntry sleep = item(kSleep, "Sleep timer");
    if (m_sleepUntil) {
        const auto left = std::chrono::ceil<Delay>(*m_sleepUntil - now);
        const auto minutes = (left + m_minute - Delay(1)) / m_minute;
        sleep.caption = "Sleep timer: %s min left";
        sleep.argument = std::to_string(std::max<long long>(minutes, 0));
    }
    sleep.children.push_back(item(kSleepOff, "Off", {}, Mark::Radio, !m_sleepUntil));
    for (std::size_t i = 0; i < std::size(kSleepMinutes); ++i) {
        sleep.children.push_back(item(kFirstSleepItem + static_cast<unsigned>(i), "%s minutes",
                                      std::to_string(kSleepMinutes[i]), Mark::Radio,
                                      m_sleepUntil && m_sleepMinutes == kSleepMinutes[i]));
    }
    menu.push_back(std::move(sleep));
    menu.push_back(item(kStartAtLogin, "Start at login", {}, Mark::Check, startAtLogin));
    return menu;
}

std::optional<int> RadioControls::SleepChoice(unsigned id) {
    if (id == kSleepOff) {
        return 0;
    }
    if (id >= kFirstSleepItem && id < kFirstSleepItem + std::size(kSleepMinutes)) {
        return kSleepMinutes[id - kFirstSleepItem];
    }
    return std::nullopt;
}

}  // namespace zavi
