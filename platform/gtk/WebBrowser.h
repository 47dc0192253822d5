// WebBrowser: a WebKitGTK web view on a form, set up as a radio page needs it: media may
// start without a gesture, the page is never waited for, and the view keeps to the host
// it was sent to (NavigationGuard). Its jobs are pieces of their own, each carrying out
// what the keeper decides: the page's loads and the waiting page (PageLoader), the page's
// media and the listener's state told to it (MediaWatch), the silence watch
// (SilenceWatch), a crashed web process replaced (CrashRestart), and the first frame
// drawn again once shown (RedrawOnMap).
#pragma once

#include <optional>
#include <string>

#include <webkit2/webkit2.h>

#include "../ControlDefinitions.h"
#include "../PageKeeper.h"
#include "CrashRestart.h"
#include "Form.h"
#include "Gtk.h"
#include "MediaWatch.h"
#include "NavigationGuard.h"
#include "PageLoader.h"
#include "RedrawOnMap.h"
#include "SilenceWatch.h"
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

    static void OnTitle(GObject* view, GParamSpec* property, gpointer self);

    PageKeeper& m_keeper;
    GObjectPtr<WebKitWebContext> m_context;
    GObjectPtr<WebKitUserContentManager> m_content;
    MediaWatch m_mediaWatch;
    GObjectPtr<WebKitWebView> m_view;
    // Before the navigation guard, which is made at the first navigation.
    PageLoader m_loader;
    SilenceWatch m_silence;
    CrashRestart m_crashRestart;
    RedrawOnMap m_redraw;
    std::optional<NavigationGuard> m_guard;
};

}  // namespace zavi
