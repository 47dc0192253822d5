// WebBrowser: a WebKitGTK web view on a form, set up as a radio page needs it: media may
// start without a gesture, nothing is kept on disk, the page is never waited for, a
// stream that drops is started again (MediaWatch), and the view keeps to the host it was
// sent to (NavigationGuard).
#pragma once

#include <optional>
#include <string>

#include <webkit2/webkit2.h>

#include "../ControlDefinitions.h"
#include "Form.h"
#include "Gtk.h"
#include "MediaWatch.h"
#include "NavigationGuard.h"
#include "WebViewParts.h"

namespace zavi {

class WebBrowser {
  public:
    // On the form at its defined bounds (larger than the window, which cuts it off) and in
    // its tab order.
    WebBrowser(Form& form, const WebBrowserDefinition& definition);
    ~WebBrowser();
    WebBrowser(const WebBrowser&) = delete;
    WebBrowser& operator=(const WebBrowser&) = delete;

    // Starts loading the address and returns; the page loads inside the engine. From then
    // on the view keeps to the address's host.
    void Navigate(const std::string& address);

    GtkWidget* Widget() const { return GTK_WIDGET(m_view.get()); }
    WebKitWebView* View() const { return m_view.get(); }
    bool HasFocus() const;

  private:
    WebBrowser(Form& form, const WebBrowserDefinition& definition, WebViewParts parts);

    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static void OnWebProcessTerminated(WebKitWebView* view,
                                       WebKitWebProcessTerminationReason reason, gpointer self);
    static void OnMapped(GtkWidget* view, gpointer self);
    static gboolean OnRedraw(gpointer self);

    static constexpr guint kFirstRedrawMs = 100;
    static constexpr guint kNextRedrawMs = 900;
    static constexpr int kRedraws = 2;

    GObjectPtr<WebKitWebContext> m_context;
    GObjectPtr<WebKitUserContentManager> m_content;
    MediaWatch m_mediaWatch;
    GObjectPtr<WebKitWebView> m_view;
    std::optional<NavigationGuard> m_guard;
    bool m_committed = false;
    guint m_redrawSource = 0;
    int m_redraws = 0;
};

}  // namespace zavi
