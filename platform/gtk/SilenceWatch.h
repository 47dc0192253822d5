// SilenceWatch: whether the view makes sound, told to the keeper as it changes; while it is
// silent, the keeper is asked now and then whether the page is to be loaded again, the
// last resort for a station gone quiet. Nothing runs while the view plays.
#pragma once

#include <functional>

#include <webkit2/webkit2.h>

#include "../PageKeeper.h"
#include "SourceId.h"

namespace zavi {

class SilenceWatch {
  public:
    SilenceWatch(WebKitWebView* view, ViewKeeper& keeper, std::function<void()> reload);
    ~SilenceWatch();
    SilenceWatch(const SilenceWatch&) = delete;
    SilenceWatch& operator=(const SilenceWatch&) = delete;

  private:
    static void OnPlayingAudio(GObject* view, GParamSpec* property, gpointer self);
    static gboolean OnSilence(gpointer self);

    // How often a silent page asks its keeper.
    static constexpr guint kCheckS = 5;

    WebKitWebView* m_view;
    ViewKeeper& m_keeper;
    std::function<void()> m_reload;
    SourceId m_checkSource;
};

}  // namespace zavi
