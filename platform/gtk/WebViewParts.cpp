#include "WebViewParts.h"

namespace zavi {

WebViewParts MakeWebViewParts() {
    WebViewParts parts;
    // Ephemeral: no disk cache, cookies or storage. The program stores nothing, and a
    // cached entry of a live stream was seen to stall every later launch.
    parts.context = GObjectPtr<WebKitWebContext>(webkit_web_context_new_ephemeral());
    // The page comes over plain http from the internet: its web process runs confined
    // (bubblewrap), seeing only what it needs of the system.
    webkit_web_context_set_sandbox_enabled(parts.context.get(), TRUE);
    parts.content = GObjectPtr<WebKitUserContentManager>(webkit_user_content_manager_new());
    // A station page starts its stream with <audio autoplay>, as the Windows control lets it.
    WebKitWebsitePolicies* policies =
        webkit_website_policies_new_with_policies("autoplay", WEBKIT_AUTOPLAY_ALLOW, nullptr);
    parts.view = Retain(WEBKIT_WEB_VIEW(g_object_new(
        WEBKIT_TYPE_WEB_VIEW, "web-context", parts.context.get(), "user-content-manager",
        parts.content.get(), "website-policies", policies, nullptr)));
    g_object_unref(policies);
    return parts;
}

}  // namespace zavi
