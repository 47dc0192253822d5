#include "SilenceWatch.h"

#include <utility>

namespace zavi {

SilenceWatch::SilenceWatch(WebKitWebView* view, ViewKeeper& keeper, std::function<void()> reload)
    : m_view(view), m_keeper(keeper), m_reload(std::move(reload)) {
    g_signal_connect(view, "notify::is-playing-audio", G_CALLBACK(&SilenceWatch::OnPlayingAudio),
                     this);
}

SilenceWatch::~SilenceWatch() {
    g_signal_handlers_disconnect_by_data(m_view, this);
}

void SilenceWatch::OnPlayingAudio(GObject*, GParamSpec*, gpointer self) {
    auto* watch = static_cast<SilenceWatch*>(self);
    const bool playing = webkit_web_view_is_playing_audio(watch->m_view) != FALSE;
    watch->m_keeper.OnSound(playing, Clock::now());
    if (playing) {
        watch->m_checkSource.Stop();
    } else if (!watch->m_checkSource.Active()) {
        watch->m_checkSource = g_timeout_add_seconds(kCheckS, &SilenceWatch::OnSilence, self);
    }
}

gboolean SilenceWatch::OnSilence(gpointer self) {
    auto* watch = static_cast<SilenceWatch*>(self);
    if (watch->m_keeper.ReloadDue(Clock::now())) {
        watch->m_reload();
    }
    return G_SOURCE_CONTINUE;
}

}  // namespace zavi
