// MediaWatch: brings a station page's dropped stream back. A user script in a world of its
// own (MediaWatch.js, built into the program) reports the page's media elements' playing,
// pauses, ends and failures; MediaRecovery answers each with when, if at all, the element
// is to be started again, and the script does it in its frame. The page is not reloaded.
#pragma once

#include <webkit2/webkit2.h>

#include "../../player/MediaRecovery.h"
#include "Gtk.h"

namespace zavi {

class MediaWatch {
  public:
    // Adds the script and its message channel to the manager the web view is made with.
    explicit MediaWatch(WebKitUserContentManager* manager);
    ~MediaWatch();
    MediaWatch(const MediaWatch&) = delete;
    MediaWatch& operator=(const MediaWatch&) = delete;

    // A new page is loading: the old one's elements are gone.
    void PageStarted() { m_recovery.Forget(); }

  private:
    static gboolean OnMessage(WebKitUserContentManager* manager, JSCValue* message,
                              WebKitScriptMessageReply* reply, gpointer self);

    GObjectPtr<WebKitUserContentManager> m_manager;
    MediaRecovery m_recovery;
};

}  // namespace zavi
