#include "WebEngineWarmUp.h"

#include <utility>

namespace zavi {

WebEngineWarmUp* WebEngineWarmUp::s_running = nullptr;

WebEngineWarmUp::WebEngineWarmUp() {
    if (s_running == nullptr) {
        s_running = this;
        m_source = g_timeout_add(kDelayMs, &WebEngineWarmUp::Start, this);
    }
}

WebEngineWarmUp::~WebEngineWarmUp() {
    m_source.Stop();
    if (s_running == this) {
        s_running = nullptr;
    }
}

gboolean WebEngineWarmUp::Start(gpointer self) {
    auto* warmUp = static_cast<WebEngineWarmUp*>(self);
    warmUp->m_source.Ended();
    warmUp->m_spare = MakeWebViewParts();
    // Asking what audio it can play has the web process start its media framework, which
    // a station page's <audio> would otherwise wait for.
    webkit_web_view_load_html(warmUp->m_spare->view.get(),
                              "<script>new Audio().canPlayType('audio/mpeg')</script>", nullptr);
    return G_SOURCE_REMOVE;
}

std::optional<WebViewParts> WebEngineWarmUp::TakeSpare() {
    if (s_running == nullptr) {
        return std::nullopt;
    }
    return std::exchange(s_running->m_spare, std::nullopt);
}

}  // namespace zavi
