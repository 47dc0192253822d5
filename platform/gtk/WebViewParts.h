// WebViewParts: a web view set up as a radio page needs it, with the context and content
// manager it was made with: media may start without a gesture, the page's cookies and
// storage are kept in the program's data folder, and nothing is cached on disk.
#pragma once

#include <webkit2/webkit2.h>

#include "Gtk.h"

namespace zavi {

struct WebViewParts {
    GObjectPtr<WebKitWebContext> context;
    GObjectPtr<WebKitUserContentManager> content;
    GObjectPtr<WebKitWebView> view;
};

WebViewParts MakeWebViewParts();

}  // namespace zavi
