#include "WebBrowser.h"

#include <mshtml.h>

#include <cstdio>

#include "../ErrorReport.h"
#include "../ProgramError.h"
#include "PageScriptSource.h"

namespace zavi {
namespace {

ProgramError BrowserError(const char* step, HRESULT result) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "The web browser control could not be %s (error 0x%08lX). Internet Explorer "
                  "or its browser engine may be missing.",
                  step, static_cast<unsigned long>(result));
    return ProgramError(text);
}

// A BSTR for the length of one call.
class Bstr {
  public:
    explicit Bstr(const std::wstring& text) : m_string(SysAllocString(text.c_str())) {}
    ~Bstr() { SysFreeString(m_string); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return m_string; }

  private:
    BSTR m_string;
};

// Names of the program's own in the page, new for each control: a page cannot count on
// them.
std::string RandomName(const char* prefix) {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    char name[64];
    std::snprintf(name, sizeof name, "%s%08lx%08lx", prefix,
                  static_cast<unsigned long>(GetCurrentProcessId() ^ GetTickCount()),
                  static_cast<unsigned long>(counter.LowPart));
    return name;
}

// The retry's timer runs on the parent window, which carries the browser as a property.
constexpr UINT_PTR kRetryTimer = 0x5A52;
constexpr const wchar_t* kBrowserProperty = L"VLZaviRadio.WebBrowser";

}  // namespace

WebBrowser::WebBrowser(HWND parent, const PixelRect& bounds, BrowserKeeper& keeper,
                       const CLSID& control)
    : m_parent(parent),
      m_keeper(keeper),
      m_bounds{bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height},
      m_site(BrowserSite::Create(parent, m_bounds)),
      m_script{page::Transport::External, page::ScriptPart::All, RandomName("zaviReport"),
               RandomName("zaviListen"),  RandomName("zavi"),    {}},
      m_external(PageExternal::Create(Widen(m_script.channel))) {
    m_site->SetExternal(m_external.get());
    m_external->SetKeeper(&keeper);
    HRESULT result = CoCreateInstance(control, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                      m_object.PutVoid());
    if (FAILED(result)) {
        throw BrowserError("created", result);
    }
    // Set up in the documented order: site, then activation, then the interfaces we use.
    result = m_object->SetClientSite(m_site.get());
    if (SUCCEEDED(result)) {
        OleSetContainedObject(m_object.get(), TRUE);
        result =
            m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_site.get(), 0, parent, &m_bounds);
    }
    if (SUCCEEDED(result)) {
        result = m_object->QueryInterface(IID_IOleInPlaceObject, m_inPlace.PutVoid());
    }
    if (SUCCEEDED(result)) {
        result = m_object->QueryInterface(IID_IWebBrowser2, m_browser.PutVoid());
    }
    if (SUCCEEDED(result)) {
        result = m_inPlace->GetWindow(&m_window);
    }
    if (FAILED(result)) {
        TearDown();  // what was set up is taken down again, in order
        throw BrowserError("activated", result);
    }
    m_inPlace->SetObjectRects(&m_bounds, &m_bounds);
}

WebBrowser::WebBrowser(Form& form, const WebBrowserDefinition& definition, BrowserKeeper& keeper)
    : WebBrowser(form.hWnd(), ToPixels(definition.bounds, form.Dpi()), keeper) {
    form.AddTabStop(*this, definition.tabIndex);
}

WebBrowser::~WebBrowser() {
    TearDown();
}

void WebBrowser::TearDown() {
    KillTimer(m_parent, kRetryTimer);
    if (GetPropW(m_parent, kBrowserProperty) == this) {
        RemovePropW(m_parent, kBrowserProperty);
    }
    // Taken down in the reverse order; the site lets go of the control's active object
    // first, so neither keeps the other alive.
    if (m_inPlace) {
        m_inPlace->InPlaceDeactivate();
    }
    m_site->Forget();
    if (m_events) {
        m_events->Disconnect();
        m_events.Reset();
    }
    m_browser.Reset();
    m_inPlace.Reset();
    if (m_object) {
        m_object->SetClientSite(nullptr);
        m_object->Close(OLECLOSE_NOSAVE);
        m_object.Reset();
    }
    m_window = nullptr;
}

void WebBrowser::Navigate(const std::string& address) {
    if (m_events) {
        m_events->Disconnect();
    }
    m_events = BrowserEvents::Connect(
        m_browser.get(), m_keeper, [this](PageFailure failure) { PageFailed(failure); },
        [this] { PageLoaded(); });
    if (!m_events->Connected()) {
        throw BrowserError("connected to its events", E_NOINTERFACE);
    }
    m_address = address;
    Load();
}

void WebBrowser::Load() {
    const Bstr url(Widen(m_address));
    // The address alone: no flags, target frame, post data or headers.
    VARIANT none;
    VariantInit(&none);
    const HRESULT result = m_browser->Navigate(url.get(), &none, &none, &none, &none);
    if (FAILED(result)) {
        throw BrowserError("told to open the page", result);
    }
}

void WebBrowser::PageFailed(PageFailure failure) {
    const auto delay = m_keeper.PageFailed(failure);
    SetPropW(m_parent, kBrowserProperty, this);
    SetTimer(m_parent, kRetryTimer, static_cast<UINT>(delay.count()), &WebBrowser::OnRetry);
}

void WebBrowser::SetListening(const page::ListenerState& state) {
    m_script.state = state;
    m_script.state.resume = false;  // a page still to come plays as it will
    RunScript(page::CommandCall(m_script, state));
}

void WebBrowser::PageLoaded() {
    RunScript(page::ScriptCall(page::kScriptSource, m_script));
}

// The control runs a host's script through the document's window; a page without a
// document of the engine's (Wine has none) runs nothing.
void WebBrowser::RunScript(const std::string& code) {
    if (!m_browser) {
        return;
    }
    ComPtr<IDispatch> document;
    ComPtr<IHTMLDocument2> html;
    ComPtr<IHTMLWindow2> window;
    if (FAILED(m_browser->get_Document(document.Put())) || !document ||
        FAILED(document->QueryInterface(IID_IHTMLDocument2, html.PutVoid())) ||
        FAILED(html->get_parentWindow(window.Put())) || !window) {
        return;
    }
    const Bstr text(FromUtf8(code));
    const Bstr language(L"JScript");
    VARIANT result;
    VariantInit(&result);
    window->execScript(text.get(), language.get(), &result);
    VariantClear(&result);
}

void CALLBACK WebBrowser::OnRetry(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    auto* browser = static_cast<WebBrowser*>(GetPropW(window, kBrowserProperty));
    if (browser != nullptr) {
        RunTrapped([browser] { browser->Load(); });
    }
}

bool WebBrowser::TranslateAccelerator(MSG& message) {
    IOleInPlaceActiveObject* active = m_site->ActiveObject();
    return active != nullptr && active->TranslateAccelerator(&message) == S_OK;
}

bool WebBrowser::HasFocus() const {
    const HWND focus = GetFocus();
    return focus != nullptr && (focus == m_window || IsChild(m_window, focus));
}

// UI activation gives the page the focus; a control with no page yet may not take it,
// and then its window does.
void WebBrowser::Focus() {
    m_object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, m_site.get(), 0, m_parent, &m_bounds);
    if (!HasFocus()) {
        SetFocus(m_window);
    }
}

}  // namespace zavi
