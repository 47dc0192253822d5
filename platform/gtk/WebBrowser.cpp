#include "WebBrowser.h"

#include <utility>

#include "WebEngineWarmUp.h"

namespace zavi {

// The warm-up's spare view when there is one: its web engine's processes are already up.
WebBrowser::WebBrowser(Form& form, const WebBrowserDefinition& definition, PageKeeper& keeper)
    : WebBrowser(form, definition, keeper, [] {
          std::optional<WebViewParts> spare = WebEngineWarmUp::TakeSpare();
          return spare ? std::move(*spare) : MakeWebViewParts();
      }()) {}

WebBrowser::WebBrowser(Form& form, const WebBrowserDefinition& definition, PageKeeper& keeper,
                       WebViewParts parts)
    : m_keeper(keeper),
      m_context(std::move(parts.context)),
      m_content(std::move(parts.content)),
      m_mediaWatch(m_content.get(), keeper),
      m_view(std::move(parts.view)),
      m_loader(m_view.get(), keeper),
      m_silence(m_view.get(), keeper, [this] { m_loader.Load(); }),
      m_crashRestart(m_view.get(), keeper, m_loader),
      m_redraw(Widget()) {
    g_signal_connect(m_view.get(), "notify::title", G_CALLBACK(&WebBrowser::OnTitle), this);
    form.Place(Widget(), ToPixels(definition.bounds, form.Dpi()));
    form.AddTabStop(Widget(), definition.tabIndex);
}

WebBrowser::~WebBrowser() {
    g_signal_handlers_disconnect_by_data(m_view.get(), this);
}

void WebBrowser::Navigate(const std::string& address) {
    m_guard.emplace(m_view.get(), m_keeper);
    m_loader.Navigate(address);
}

void WebBrowser::SetListening(const page::ListenerState& state) {
    m_mediaWatch.SetState(m_view.get(), state);
    if (state.resume && !state.paused && m_loader.Waiting()) {
        m_loader.Load();
    }
}

bool WebBrowser::HasFocus() const {
    return gtk_widget_has_focus(Widget()) != FALSE;
}

// The waiting page's title is the program's own, not the station's.
void WebBrowser::OnTitle(GObject*, GParamSpec*, gpointer self) {
    auto* browser = static_cast<WebBrowser*>(self);
    const char* title = webkit_web_view_get_title(browser->m_view.get());
    if (!browser->m_loader.OnWaitingPage()) {
        browser->m_keeper.PageTitle(title != nullptr ? title : "");
    }
}

}  // namespace zavi
