#include "WebBrowser.h"

#include <cstdio>

#include "../ProgramError.h"

namespace zavi {

// The container side of the control: one reference-counted object that is the client
// site, the in-place site and the in-place frame, since all three describe the same
// parent window. The control keeps its active object here, for keyboard messages.
class WebBrowser::Site final : public IOleClientSite,
                               public IOleInPlaceSite,
                               public IOleInPlaceFrame {
  public:
    Site(HWND parent, const RECT& bounds) : m_parent(parent), m_bounds(bounds) {}

    IOleInPlaceActiveObject* ActiveObject() const { return m_activeObject.get(); }
    void Forget() { m_activeObject.Reset(); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
            *object = static_cast<IOleClientSite*>(this);
        } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
            *object = static_cast<IOleInPlaceSite*>(this);
        } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
            *object = static_cast<IOleInPlaceFrame*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --m_references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, for the site and the frame alike
    STDMETHODIMP GetWindow(HWND* window) override {
        *window = m_parent;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        *position = m_bounds;
        *clip = m_bounds;
        info->fMDIApp = FALSE;
        info->hwndFrame = m_parent;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override {
        m_activeObject.Reset();
        return S_OK;
    }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    // The control keeps its defined bounds: nothing resizes it.
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
        if (active != nullptr) {
            active->AddRef();
        }
        m_activeObject = ComPtr<IOleInPlaceActiveObject>(active);
        return S_OK;
    }

    // IOleInPlaceFrame: no menus, toolbars or status line of the control's own.
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  private:
    ~Site() = default;

    ULONG m_references = 1;
    HWND m_parent;
    RECT m_bounds;
    ComPtr<IOleInPlaceActiveObject> m_activeObject;
};

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

}  // namespace

WebBrowser::WebBrowser(HWND parent, const PixelRect& bounds, const CLSID& control)
    : m_parent(parent),
      m_bounds{bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height},
      m_site(new Site(parent, m_bounds)) {
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

WebBrowser::WebBrowser(Form& form, const WebBrowserDefinition& definition)
    : WebBrowser(form.hWnd(), ToPixels(definition.bounds, form.Dpi())) {
    form.AddTabStop(*this, definition.tabIndex);
}

WebBrowser::~WebBrowser() {
    TearDown();
}

void WebBrowser::TearDown() {
    // Taken down in the reverse order; the site lets go of the control's active object
    // first, so neither keeps the other alive.
    if (m_inPlace) {
        m_inPlace->InPlaceDeactivate();
    }
    m_site->Forget();
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
    const Bstr url(Widen(address));
    // The address alone: no flags, target frame, post data or headers.
    VARIANT none;
    VariantInit(&none);
    const HRESULT result = m_browser->Navigate(url.get(), &none, &none, &none, &none);
    if (FAILED(result)) {
        throw BrowserError("told to open the page", result);
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
