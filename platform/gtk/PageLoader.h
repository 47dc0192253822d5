// PageLoader: the station page's loads. One request at a time, given up when the keeper's
// time-out passes; a page that did not come is classed (no answer, a 5xx, a 4xx) for the
// keeper, which says when it is loaded again, and a page of the program's own says
// meanwhile that the station is waited for. When the desktop has a network again, a page
// waited for is loaded when the keeper says.
#pragma once

#include <optional>
#include <string>

#include <webkit2/webkit2.h>

#include "../PageKeeper.h"
#include "SourceId.h"

namespace zavi {

class PageLoader {
  public:
    PageLoader(WebKitWebView* view, PageKeeper& keeper);
    ~PageLoader();
    PageLoader(const PageLoader&) = delete;
    PageLoader& operator=(const PageLoader&) = delete;

    // The address, from now on, and its first load.
    void Navigate(const std::string& address);
    // The address once more: one page request.
    void Load();
    // The address once more after DELAY, in place of any load still to come.
    void LoadAfter(Delay delay);
    // A load waits for its time: the page did not come, or its process ended.
    bool Waiting() const { return m_retrySource.Active(); }
    // Some page, the station's or the waiting one, has come since the view was made.
    bool Committed() const { return m_committed; }
    // What the view shows is the program's waiting page, not the station's.
    bool OnWaitingPage() const { return m_onWaitingPage; }

  private:
    void ShowWaiting();

    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri,
                                 GError* error, gpointer self);
    static gboolean OnResponse(WebKitWebView* view, WebKitPolicyDecision* decision,
                               WebKitPolicyDecisionType type, gpointer self);
    static void OnNetworkChanged(GNetworkMonitor* monitor, gboolean available, gpointer self);
    static gboolean OnRetry(gpointer self);
    static gboolean OnLoadTimeout(gpointer self);

    WebKitWebView* m_view;
    PageKeeper& m_keeper;
    std::string m_address;
    std::optional<PageFailure> m_httpFailure;  // of the load under way
    bool m_timedOut = false;
    bool m_showingWaiting = false;  // asked for, not yet come
    bool m_onWaitingPage = false;
    bool m_committed = false;
    SourceId m_retrySource;
    SourceId m_loadTimeoutSource;
};

}  // namespace zavi
