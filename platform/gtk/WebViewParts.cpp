#include "WebViewParts.h"

#include <string>

namespace zavi {
namespace {

// The page's cookies and storage kept in the program's data folder, as a browser keeps
// them, so a station page remembers the listener's choices; no HTTP disk cache: a cached
// entry of a live stream was seen to stall every later launch.
GObjectPtr<WebKitWebContext> StationContext() {
    const std::string data = std::string(g_get_user_data_dir()) + "/zaviradio";
    WebKitWebsiteDataManager* manager =
        webkit_website_data_manager_new("base-data-directory", data.c_str(), "base-cache-directory",
                                        (data + "/cache").c_str(), nullptr);
    webkit_cookie_manager_set_persistent_storage(
        webkit_website_data_manager_get_cookie_manager(manager), (data + "/cookies.sqlite").c_str(),
        WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    WebKitWebContext* context = webkit_web_context_new_with_website_data_manager(manager);
    g_object_unref(manager);
    webkit_web_context_set_cache_model(context, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
    return GObjectPtr<WebKitWebContext>(context);
}

}  // namespace

WebViewParts MakeWebViewParts() {
    WebViewParts parts;
    parts.context = StationContext();
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
