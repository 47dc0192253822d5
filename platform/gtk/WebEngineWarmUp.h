// WebEngineWarmUp: starts the web engine's processes while the start-up window is up, so
// that at the hand-off the player's page does not wait for them. Nothing is asked of the
// station: the spare view it makes loads a local page that only asks what audio the
// engine can play, which starts the media framework too. The player's web browser takes the
// spare, which then goes on to load the station's page; a spare never taken goes with
// this object. One lives for as long as the program runs its windows.
#pragma once

#include <optional>

#include "Gtk.h"
#include "SourceId.h"
#include "WebViewParts.h"

namespace zavi {

class WebEngineWarmUp {
  public:
    // The warm-up starts a moment later, once the start-up window is on the screen.
    WebEngineWarmUp();
    ~WebEngineWarmUp();
    WebEngineWarmUp(const WebEngineWarmUp&) = delete;
    WebEngineWarmUp& operator=(const WebEngineWarmUp&) = delete;

    // The spare view and its parts, if a warm-up made one that nobody has taken yet.
    static std::optional<WebViewParts> TakeSpare();

  private:
    static gboolean Start(gpointer self);

    static constexpr guint kDelayMs = 250;
    static WebEngineWarmUp* s_running;

    SourceId m_source;
    std::optional<WebViewParts> m_spare;
};

}  // namespace zavi
