// NavigationGuard: a web view kept where its keeper says (the player keeps it to its
// station) and to what a radio page needs. A link, form, redirect of the top page or new window to
// another host goes to the user's default handler for its scheme instead (GIO's); downloads are
// refused; and every permission the page asks for (microphone, camera, location, notifications and
// the rest) is denied.
#pragma once

#include <webkit2/webkit2.h>

#include "../PageKeeper.h"
#include "Gtk.h"

namespace zavi {

class NavigationGuard {
  public:
    NavigationGuard(WebKitWebView* view, const NavigationKeeper& keeper);
    ~NavigationGuard();
    NavigationGuard(const NavigationGuard&) = delete;
    NavigationGuard& operator=(const NavigationGuard&) = delete;

  private:
    static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);
    static GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer self);
    static gboolean OnPermissionRequest(WebKitWebView* view, WebKitPermissionRequest* request,
                                        gpointer self);
    static void OnDownloadStarted(WebKitWebContext* context, WebKitDownload* download,
                                  gpointer self);
    // Carries out a verdict on a navigation to `uri`; true when the navigation is not to
    // happen in the view.
    bool Apply(NavigationVerdict verdict, const char* uri) const;
    void NewWindow(const char* uri) const;

    WebKitWebView* m_view;
    GObjectPtr<WebKitWebContext> m_context;
    const NavigationKeeper& m_keeper;
};

}  // namespace zavi
