// StationKeeper: the player's answers to what its web browser meets: where the page may go
// (NavigationPolicy, the built-in station's), when a page that did not load is loaded
// again (PageRetry), when a media element is started again (MediaRecovery), when a page
// gone silent is loaded again as the last resort (PageReload), and when a page whose web
// process crashed is loaded in a new one (EngineRestart).
#pragma once

#include "../platform/PageKeeper.h"
#include "StationConfig.h"
#include "EngineRestart.h"
#include "MediaRecovery.h"
#include "NavigationPolicy.h"
#include "PageReload.h"
#include "PageRetry.h"

namespace zavi {

class StationKeeper final : public PageKeeper {
  public:
    NavigationVerdict TopPage(std::string_view url) const override {
        return m_navigation.TopPage(url);
    }
    NavigationVerdict NewWindow(std::string_view url) const override {
        return m_navigation.NewWindow(url);
    }
    Delay PageFailed(PageFailure failure) override { return m_retry.Failed(failure); }
    void PageLoaded() override {
        m_retry.Loaded();
        m_media.Forget();
    }
    std::optional<Delay> OnMedia(const std::string& element, const MediaReport& report,
                                 TimePoint now) override {
        return m_media.OnEvent(element, report, now);
    }
    void OnSound(bool playing, TimePoint now) override { m_reload.OnSound(playing, now); }
    bool ReloadDue(TimePoint now) override {
        return m_reload.Due(now, m_media.ListenerPaused(), m_media.Recovering());
    }
    Delay EngineStopped(TimePoint now) override { return m_restart.Stopped(now); }

  private:
    NavigationPolicy m_navigation{kStationHost};
    PageRetry m_retry;
    MediaRecovery m_media;
    PageReload m_reload;
    EngineRestart m_restart;
};

}  // namespace zavi
