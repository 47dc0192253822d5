// WebBrowser: a WebKitGTK web view on a form, set up as a radio page needs it: media may
// start without a gesture, nothing is kept on disk, the page is never waited for, and the
// view keeps to the host it was sent to (NavigationGuard). Given a keeper, it keeps the
// page playing through what networks do: a page that did not load is loaded again (a
// page of the program's own says so meanwhile), sooner when the desktop says the network
// is back; a stream that drops, never comes or hangs is started again (MediaWatch); and a
// page gone silent is loaded again as the last resort. The keeper decides each.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include <webkit2/webkit2.h>

#include "../ControlDefinitions.h"
#include "../PageKeeper.h"
#include "Form.h"
#include "Gtk.h"
#include "MediaWatch.h"
#include "NavigationGuard.h"
#include "SourceId.h"
#include "WebViewParts.h"

namespace zavi {

class WebBrowser {
  public:
    // On the form at its defined bounds (larger than the window, which cuts it off) and in
    // its tab order; KEEPER decides where the page may go and when it and its media are
    // tried again.
    WebBrowser(Form& form, const WebBrowserDefinition& definition, PageKeeper& keeper);
    ~WebBrowser();
    WebBrowser(const WebBrowser&) = delete;
    WebBrowser& operator=(const WebBrowser&) = delete;

    // Starts loading the address and returns; the page loads inside the engine, and goes
    // only where the keeper lets it.
    void Navigate(const std::string& address);
    // The listener's pause, volume and mute, for the page there is and those to come. A
    // Play that asks silent media back also loads at once a page still waited for.
    void SetListening(const page::ListenerState& state);

    GtkWidget* Widget() const { return GTK_WIDGET(m_view.get()); }
    WebKitWebView* View() const { return m_view.get(); }
    bool HasFocus() const;

  private:
    WebBrowser(Form& form, const WebBrowserDefinition& definition, PageKeeper& keeper,
               WebViewParts parts);

    // The address once more: one page request.
    void Load();
    // The address once more after DELAY, in place of any load still to come.
    void LoadAfter(Delay delay);
    void ShowWaiting();

    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri,
                                 GError* error, gpointer self);
    static gboolean OnResponse(WebKitWebView* view, WebKitPolicyDecision* decision,
                               WebKitPolicyDecisionType type, gpointer self);
    static void OnNetworkChanged(GNetworkMonitor* monitor, gboolean available, gpointer self);
    static void OnPlayingAudio(GObject* view, GParamSpec* property, gpointer self);
    static void OnTitle(GObject* view, GParamSpec* property, gpointer self);
    static gboolean OnRetry(gpointer self);
    static gboolean OnLoadTimeout(gpointer self);
    static gboolean OnSilence(gpointer self);
    static void OnWebProcessTerminated(WebKitWebView* view,
                                       WebKitWebProcessTerminationReason reason, gpointer self);
    static void OnMapped(GtkWidget* view, gpointer self);
    static gboolean OnRedraw(gpointer self);

    static constexpr guint kFirstRedrawMs = 100;
    static constexpr guint kNextRedrawMs = 900;
    static constexpr int kRedraws = 2;
    // A host that takes the connection but never answers is given up on after this.
    static constexpr guint kLoadTimeoutS = 30;
    // How often a silent page asks its keeper whether it is to be loaded again.
    static constexpr guint kSilenceCheckS = 5;

    PageKeeper& m_keeper;
    GObjectPtr<WebKitWebContext> m_context;
    GObjectPtr<WebKitUserContentManager> m_content;
    MediaWatch m_mediaWatch;
    GObjectPtr<WebKitWebView> m_view;
    std::optional<NavigationGuard> m_guard;
    std::string m_address;
    std::optional<PageFailure> m_httpFailure;  // of the load under way
    bool m_timedOut = false;
    bool m_showingWaiting = false;  // asked for, not yet come
    bool m_onWaitingPage = false;
    SourceId m_retrySource;
    SourceId m_loadTimeoutSource;
    SourceId m_silenceSource;
    bool m_committed = false;
    SourceId m_redrawSource;
    int m_redraws = 0;
};

}  // namespace zavi
