// MediaWatch: the program's script in the station page (PageScript.js), put in every frame
// twice: in a world of the program's own for the media in the page's documents, and in the
// page's world for media played outside them, for the volume the page sets and for what it
// says it plays. The script reports what the elements do, the view's keeper (the window
// that owns it) answers each report with when, if at all, the element is to be started
// again, and the script does it in its frame. The listener's state (pause, volume, mute)
// is handed to the script as it is put in each new page, and told to the page there is.
#pragma once

#include <string>

#include <webkit2/webkit2.h>

#include "../PageKeeper.h"
#include "../PageProtocol.h"
#include "Gtk.h"

namespace zavi {

class MediaWatch {
  public:
    // Adds the scripts and their message channels to the manager the web view is made with;
    // KEEPER answers the reports.
    MediaWatch(WebKitUserContentManager* manager, MediaKeeper& keeper);
    ~MediaWatch();
    MediaWatch(const MediaWatch&) = delete;
    MediaWatch& operator=(const MediaWatch&) = delete;

    // The listener's state, for the pages and frames to come and for the one in VIEW now.
    void SetState(WebKitWebView* view, const page::ListenerState& state);

  private:
    static gboolean OnMessage(WebKitUserContentManager* manager, JSCValue* message,
                              WebKitScriptMessageReply* reply, gpointer self);
    page::ScriptSettings Settings(page::ScriptPart part) const;
    void AddScripts();
    void Listen(const std::string& channel, const char* world);

    MediaKeeper& m_keeper;
    GObjectPtr<WebKitUserContentManager> m_manager;
    // The page's world has a channel too, under a name the page cannot know.
    std::string m_pageChannel;
    std::string m_command;
    std::string m_token;
    page::ListenerState m_state;
};

}  // namespace zavi
