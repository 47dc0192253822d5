#include "WebBrowser.h"

#include <optional>
#include <utility>

#include "../ErrorReport.h"
#include "WebEngineWarmUp.h"

namespace zavi {
namespace {

std::string Reason(WebKitWebProcessTerminationReason reason) {
    switch (reason) {
        case WEBKIT_WEB_PROCESS_CRASHED:
            return "its web process crashed";
        case WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT:
            return "its web process ran out of memory";
        default:
            return "its web process was ended";
    }
}

}  // namespace

// The warm-up's spare view when there is one: its web engine's processes are already up.
WebBrowser::WebBrowser(Form& form, const WebBrowserDefinition& definition)
    : WebBrowser(form, definition, [] {
          std::optional<WebViewParts> spare = WebEngineWarmUp::TakeSpare();
          return spare ? std::move(*spare) : MakeWebViewParts();
      }()) {}

WebBrowser::WebBrowser(Form& form, const WebBrowserDefinition& definition, WebViewParts parts)
    : m_context(std::move(parts.context)),
      m_content(std::move(parts.content)),
      m_mediaWatch(m_content.get()),
      m_view(std::move(parts.view)) {
    g_signal_connect(m_view.get(), "load-changed", G_CALLBACK(&WebBrowser::OnLoadChanged), this);
    g_signal_connect(m_view.get(), "web-process-terminated",
                     G_CALLBACK(&WebBrowser::OnWebProcessTerminated), this);
    g_signal_connect(m_view.get(), "map", G_CALLBACK(&WebBrowser::OnMapped), this);
    form.Place(Widget(), ToPixels(definition.bounds, form.Dpi()));
    form.AddTabStop(Widget(), definition.tabIndex);
}

WebBrowser::~WebBrowser() {
    if (m_redrawSource != 0) {
        g_source_remove(m_redrawSource);
    }
    g_signal_handlers_disconnect_by_data(m_view.get(), this);
    // The page's web process goes with the control, not a second or two later: by then the
    // program's end has closed its line to the session bus, and it would complain of it.
    webkit_web_view_terminate_web_process(m_view.get());
}

void WebBrowser::Navigate(const std::string& address) {
    m_guard.emplace(m_view.get(), HostOf(address));
    webkit_web_view_load_uri(m_view.get(), address.c_str());
}

bool WebBrowser::HasFocus() const {
    return gtk_widget_has_focus(Widget()) != FALSE;
}

void WebBrowser::OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
    auto* browser = static_cast<WebBrowser*>(self);
    if (event == WEBKIT_LOAD_STARTED) {
        browser->m_mediaWatch.PageStarted();
    } else if (event == WEBKIT_LOAD_COMMITTED) {
        browser->m_committed = true;
    }
}

// The page starts loading while the player is being shown, and WebKit keeps no frame it
// drew before the view was on the screen: on about half of all launches the page stayed
// blank but for its media controls until the window was minimized and restored. A
// relayout at the same size, once the view is on the screen, has it draw the page again;
// a second one a little later catches a first frame that was still on its way.
void WebBrowser::OnMapped(GtkWidget* view, gpointer self) {
    auto* browser = static_cast<WebBrowser*>(self);
    g_signal_handlers_disconnect_by_func(view, reinterpret_cast<gpointer>(&WebBrowser::OnMapped),
                                         self);
    browser->m_redrawSource = g_timeout_add(kFirstRedrawMs, &WebBrowser::OnRedraw, self);
}

gboolean WebBrowser::OnRedraw(gpointer self) {
    auto* browser = static_cast<WebBrowser*>(self);
    gtk_widget_queue_resize(browser->Widget());
    browser->m_redrawSource = 0;
    if (++browser->m_redraws < kRedraws) {
        browser->m_redrawSource = g_timeout_add(kNextRedrawMs, &WebBrowser::OnRedraw, self);
    }
    return G_SOURCE_REMOVE;
}

// The engine's web process is gone: the page is dead, and the program says so and ends,
// as it does where the Windows control cannot be made.
void WebBrowser::OnWebProcessTerminated(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                                        gpointer self) {
    const bool started = static_cast<WebBrowser*>(self)->m_committed;
    ErrorReportAndQuit(ProgramError(started
                                        ? "The web engine stopped (" + Reason(reason) + ")."
                                        : "The web engine could not be started (" + Reason(reason) +
                                              "). WebKitGTK or its web process may be missing."));
}

}  // namespace zavi
