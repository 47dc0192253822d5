// StationKeeper: the player's answers to what its web browser meets: where the page may go
// (NavigationPolicy, the built-in station's), when a page that did not load is loaded
// again (PageRetry), when a media element is started again (MediaRecovery), when a page
// gone silent is loaded again as the last resort (PageReload), and when a page whose web
// process crashed is loaded in a new one (EngineRestart). What the page says it plays goes
// to the listener's controls (RadioControls), whose pause no reload undoes.
#pragma once

#include <functional>
#include <string>

#include "../platform/PageKeeper.h"
#include "StationConfig.h"
#include "EngineRestart.h"
#include "MediaRecovery.h"
#include "NavigationPolicy.h"
#include "PageReload.h"
#include "PageRetry.h"
#include "RadioControls.h"

namespace zavi {

class StationKeeper final : public PageKeeper {
  public:
    StationKeeper() = default;
    // What the page says it plays goes to RADIO, and HEARD runs when it has changed.
    StationKeeper(RadioControls& radio, std::function<void()> heard)
        : m_radio(&radio), m_heard(std::move(heard)) {}

    NavigationVerdict TopPage(std::string_view url) const override {
        return m_navigation.TopPage(url);
    }
    NavigationVerdict NewWindow(std::string_view url) const override {
        return m_navigation.NewWindow(url);
    }
    Delay PageFailed(PageFailure failure) override { return m_retry.Failed(failure); }
    Delay LoadTimeout() const override { return PageRetry::kLoadTimeout; }
    Delay NetworkReturned() override { return PageRetry::NetworkReturned(); }
    void PageLoaded() override {
        m_retry.Loaded();
        m_media.Forget();
        Heard([](RadioControls& radio) { radio.PageGone(); });
    }
    std::optional<Delay> OnMedia(const std::string& element, const MediaReport& report,
                                 TimePoint now) override {
        const auto delay = m_media.OnEvent(element, report, now);
        // A pause the listener made in the page is the radio's pause too.
        if (report.event == MediaEvent::ListenerPause || report.event == MediaEvent::Playing) {
            const bool paused = m_media.ListenerPaused();
            Heard([paused](RadioControls& radio) { radio.PagePaused(paused); });
        }
        return delay;
    }
    void OnSound(bool playing, TimePoint now) override { m_reload.OnSound(playing, now); }
    bool ReloadDue(TimePoint now) override {
        // Silence the listener made is no silence to mend.
        const bool paused = m_media.ListenerPaused() ||
                            (m_radio != nullptr && (m_radio->Paused() || m_radio->Silenced()));
        return m_reload.Due(now, paused, m_media.Recovering());
    }
    void NowPlaying(const std::string& title, const std::string& artist) override {
        Heard([&](RadioControls& radio) { radio.SetNowPlaying(title, artist); });
    }
    void PageTitle(const std::string& title) override {
        Heard([&](RadioControls& radio) { radio.SetPageTitle(title); });
    }
    Delay EngineStopped(TimePoint now) override { return m_restart.Stopped(now); }

  private:
    template <class Change>
    void Heard(Change change) {
        if (m_radio != nullptr) {
            change(*m_radio);
            m_heard();
        }
    }

    RadioControls* m_radio = nullptr;
    std::function<void()> m_heard;
    NavigationPolicy m_navigation{kStationHost};
    PageRetry m_retry;
    MediaRecovery m_media;
    PageReload m_reload;
    EngineRestart m_restart;
};

}  // namespace zavi
