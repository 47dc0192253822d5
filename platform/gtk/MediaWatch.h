// MediaWatch: brings a station page's media back when its stream goes away, never comes
// or hangs. A user script (MediaWatch.js, built into the program) runs in a world of its
// own for the media in the page's documents and in the page's world for media played
// outside them; it reports what the elements do, the view's keeper (the window that owns
// it) answers each report with when, if at all, the element is to be started again, and
// the script does it in its frame.
#pragma once

#include <string>

#include <webkit2/webkit2.h>

#include "../PageKeeper.h"
#include "Gtk.h"

namespace zavi {

class MediaWatch {
  public:
    // Adds the scripts and their message channels to the manager the web view is made with.
    explicit MediaWatch(WebKitUserContentManager* manager);
    ~MediaWatch();
    MediaWatch(const MediaWatch&) = delete;
    MediaWatch& operator=(const MediaWatch&) = delete;

    // Who answers the reports; without one, every element is left as it is.
    void SetKeeper(PageKeeper* keeper) { m_keeper = keeper; }

  private:
    static gboolean OnMessage(WebKitUserContentManager* manager, JSCValue* message,
                              WebKitScriptMessageReply* reply, gpointer self);
    void AddScript(const std::string& text, const std::string& channel, const char* world);

    GObjectPtr<WebKitUserContentManager> m_manager;
    // The page's world has a channel too, under a name the page cannot know.
    std::string m_pageChannel;
    PageKeeper* m_keeper = nullptr;
};

}  // namespace zavi
