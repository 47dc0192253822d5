#include "NavigationGuard.h"

namespace zavi {
namespace {

void Launched(GObject*, GAsyncResult* result, gpointer) {
    // A scheme with no handler on this desktop: the click does nothing, as in a browser.
    g_app_info_launch_default_for_uri_finish(result, nullptr);
}

// In the user's own program for the scheme, as a desktop's file manager would open it.
void OpenInDefaultHandler(const char* uri) {
    GdkAppLaunchContext* context = gdk_display_get_app_launch_context(gdk_display_get_default());
    g_app_info_launch_default_for_uri_async(uri, G_APP_LAUNCH_CONTEXT(context), nullptr, &Launched,
                                            nullptr);
    g_object_unref(context);
}

const char* RequestUri(WebKitNavigationPolicyDecision* decision) {
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(decision);
    return webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
}

}  // namespace

NavigationGuard::NavigationGuard(WebKitWebView* view, const NavigationKeeper& keeper)
    : m_view(view),
      m_context(WEBKIT_WEB_CONTEXT(g_object_ref(webkit_web_view_get_context(view)))),
      m_keeper(keeper) {
    g_signal_connect(view, "decide-policy", G_CALLBACK(&NavigationGuard::OnDecidePolicy), this);
    g_signal_connect(view, "create", G_CALLBACK(&NavigationGuard::OnCreate), this);
    g_signal_connect(view, "permission-request", G_CALLBACK(&NavigationGuard::OnPermissionRequest),
                     this);
    g_signal_connect(m_context.get(), "download-started",
                     G_CALLBACK(&NavigationGuard::OnDownloadStarted), this);
}

NavigationGuard::~NavigationGuard() {
    g_signal_handlers_disconnect_by_data(m_view, this);
    g_signal_handlers_disconnect_by_data(m_context.get(), this);
}

bool NavigationGuard::Apply(NavigationVerdict verdict, const char* uri) const {
    if (verdict == NavigationVerdict::OpenInBrowser) {
        OpenInDefaultHandler(uri);
    }
    return verdict != NavigationVerdict::Stay;
}

gboolean NavigationGuard::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                         WebKitPolicyDecisionType type, gpointer self) {
    const auto* guard = static_cast<const NavigationGuard*>(self);
    switch (type) {
        case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION: {
            // WebKit asks alike for the top page and for frames, and a station's player is
            // often a frame from its streaming service's host: what the page loads by
            // itself is left to the response, where the top page can be told apart, and
            // only what the user does (a link, a form) is judged here, before any request.
            auto* navigation = WEBKIT_NAVIGATION_POLICY_DECISION(decision);
            const WebKitNavigationType kind = webkit_navigation_action_get_navigation_type(
                webkit_navigation_policy_decision_get_navigation_action(navigation));
            if (kind != WEBKIT_NAVIGATION_TYPE_LINK_CLICKED &&
                kind != WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED) {
                return FALSE;
            }
            const char* uri = RequestUri(navigation);
            if (guard->Apply(guard->m_keeper.TopPage(uri), uri)) {
                webkit_policy_decision_ignore(decision);
                return TRUE;
            }
            return FALSE;
        }
        case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION:
            guard->NewWindow(RequestUri(WEBKIT_NAVIGATION_POLICY_DECISION(decision)));
            webkit_policy_decision_ignore(decision);
            return TRUE;
        case WEBKIT_POLICY_DECISION_TYPE_RESPONSE: {
            auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
            if (webkit_response_policy_decision_is_main_frame_main_resource(response)) {
                const char* uri = webkit_uri_response_get_uri(
                    webkit_response_policy_decision_get_response(response));
                if (guard->Apply(guard->m_keeper.TopPage(uri), uri)) {
                    webkit_policy_decision_ignore(decision);
                    return TRUE;
                }
            }
            // What WebKit cannot show, it would save: the player saves nothing.
            if (!webkit_response_policy_decision_is_mime_type_supported(response)) {
                webkit_policy_decision_ignore(decision);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

// Never a window of ours: within the station the player goes there itself.
void NavigationGuard::NewWindow(const char* uri) const {
    if (!Apply(m_keeper.NewWindow(uri), uri)) {
        webkit_web_view_load_uri(m_view, uri);
    }
}

// window.open; a link with a target comes as a new-window decision instead.
GtkWidget* NavigationGuard::OnCreate(WebKitWebView*, WebKitNavigationAction* action,
                                     gpointer self) {
    static_cast<const NavigationGuard*>(self)->NewWindow(
        webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
    return nullptr;
}

gboolean NavigationGuard::OnPermissionRequest(WebKitWebView*, WebKitPermissionRequest* request,
                                              gpointer) {
    webkit_permission_request_deny(request);
    return TRUE;
}

// A link with a download attribute becomes a download without a response to judge.
void NavigationGuard::OnDownloadStarted(WebKitWebContext*, WebKitDownload* download, gpointer) {
    webkit_download_cancel(download);
}

}  // namespace zavi
