#include "BrowserEvents.h"

#include <exdispid.h>

#include <utility>

#include "../ErrorReport.h"
#include "Api.h"

namespace zavi {
namespace {

// An argument of an event, by its place in the event's declaration: the control passes
// them last to first.
VARIANT& Argument(DISPPARAMS& parameters, UINT place) {
    return parameters.rgvarg[parameters.cArgs - 1 - place];
}

const wchar_t* Text(const VARIANT& value) {
    const VARIANT& inner =
        (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal != nullptr) ? *value.pvarVal : value;
    if (inner.vt == VT_BSTR && inner.bstrVal != nullptr) {
        return inner.bstrVal;
    }
    if (inner.vt == (VT_BYREF | VT_BSTR) && inner.pbstrVal != nullptr &&
        *inner.pbstrVal != nullptr) {
        return *inner.pbstrVal;
    }
    return L"";
}

long Number(const VARIANT& value) {
    const VARIANT& inner =
        (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal != nullptr) ? *value.pvarVal : value;
    return inner.vt == VT_I4 ? inner.lVal : 0;
}

void SetCancel(VARIANT& cancel) {
    if (cancel.vt == (VT_BYREF | VT_BOOL) && cancel.pboolVal != nullptr) {
        *cancel.pboolVal = VARIANT_TRUE;
    }
}

// Whether two interface pointers are the same object: COM compares their IUnknowns.
bool SameObject(IUnknown* one, IUnknown* other) {
    ComPtr<IUnknown> first;
    ComPtr<IUnknown> second;
    return one != nullptr && other != nullptr &&
           SUCCEEDED(one->QueryInterface(IID_IUnknown, first.PutVoid())) &&
           SUCCEEDED(other->QueryInterface(IID_IUnknown, second.PutVoid())) &&
           first.get() == second.get();
}

}  // namespace

BrowserEvents::BrowserEvents(IWebBrowser2* browser, BrowserKeeper& keeper, FailureHandler onFailed,
                             std::function<void()> onLoaded)
    : m_browser(browser),
      m_keeper(keeper),
      m_onFailed(std::move(onFailed)),
      m_onLoaded(std::move(onLoaded)) {}

ComPtr<BrowserEvents> BrowserEvents::Connect(IWebBrowser2* browser, BrowserKeeper& keeper,
                                             FailureHandler onFailed,
                                             std::function<void()> onLoaded) {
    ComPtr<BrowserEvents> events(
        new BrowserEvents(browser, keeper, std::move(onFailed), std::move(onLoaded)));
    ComPtr<IConnectionPointContainer> container;
    if (browser != nullptr &&
        SUCCEEDED(browser->QueryInterface(IID_IConnectionPointContainer, container.PutVoid())) &&
        SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, events->m_point.Put()))) {
        if (FAILED(events->m_point->Advise(events.get(), &events->m_cookie))) {
            events->m_point.Reset();
        }
    }
    return events;
}

void BrowserEvents::Disconnect() {
    if (m_point) {
        m_point->Unadvise(m_cookie);
        m_point.Reset();
    }
    m_browser = nullptr;
}

STDMETHODIMP BrowserEvents::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BrowserEvents::Release() {
    const ULONG left = --m_references;
    if (left == 0) {
        delete this;
    }
    return left;
}

STDMETHODIMP BrowserEvents::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

STDMETHODIMP BrowserEvents::Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                   VARIANT*, EXCEPINFO*, UINT*) {
    if (parameters == nullptr) {
        return S_OK;
    }
    DISPPARAMS& arguments = *parameters;
    // An error in here would reach the control's own code: it is reported, not thrown.
    RunTrapped([&] {
        switch (event) {
            case DISPID_BEFORENAVIGATE2:  // (frame, url, flags, target, post data, headers, cancel)
                if (arguments.cArgs == 7 &&
                    BeforeNavigate(Argument(arguments, 0).pdispVal, Text(Argument(arguments, 1)))) {
                    SetCancel(Argument(arguments, 6));
                }
                break;
            case DISPID_NEWWINDOW3:  // (new window, cancel, flags, opener's url, url)
                if (arguments.cArgs == 5) {
                    SetCancel(Argument(arguments, 1));
                    NewWindow(Text(Argument(arguments, 4)));
                }
                break;
            case DISPID_NAVIGATEERROR:  // (frame, url, target, status code, cancel)
                if (arguments.cArgs == 5 && NavigateError(Argument(arguments, 0).pdispVal,
                                                          Number(Argument(arguments, 3)))) {
                    SetCancel(Argument(arguments, 4));
                }
                break;
            case DISPID_DOCUMENTCOMPLETE:  // (frame, url)
                if (arguments.cArgs == 2 && Argument(arguments, 0).vt == VT_DISPATCH) {
                    DocumentComplete(Argument(arguments, 0).pdispVal);
                }
                break;
            case DISPID_TITLECHANGE:  // (text)
                if (arguments.cArgs == 1) {
                    m_keeper.PageTitle(Utf8(Text(Argument(arguments, 0))));
                }
                break;
            case DISPID_FILEDOWNLOAD:  // (active document, cancel)
                // A page the control shows itself is loaded through this too; a file is not.
                if (arguments.cArgs == 2 && Argument(arguments, 0).vt == VT_BOOL &&
                    Argument(arguments, 0).boolVal == VARIANT_FALSE) {
                    SetCancel(Argument(arguments, 1));
                }
                break;
            default:
                break;
        }
    });
    return S_OK;
}

bool BrowserEvents::Apply(NavigationVerdict verdict, const wchar_t* url) const {
    if (verdict == NavigationVerdict::OpenInBrowser) {
        API::OpenInDefaultHandler(url);
    }
    return verdict != NavigationVerdict::Stay;
}

// Frames go where the page sends them: a station's player is often a frame of its
// streaming service's own.
bool BrowserEvents::BeforeNavigate(IDispatch* frame, const wchar_t* url) {
    if (!SameObject(frame, m_browser)) {
        return false;
    }
    return Apply(m_keeper.TopPage(Narrow(url)), url);
}

// The top page did not load: an HTTP error status, or one of the control's own for a host
// that did not answer (INET_E_*, facility 0x0C). Its error page is not shown. Any other
// status is the control's own trouble (under Wine without its engine: the class of the
// document not registered), which loading the page again would not mend.
bool BrowserEvents::NavigateError(IDispatch* frame, long status) {
    const auto code = static_cast<unsigned long>(status);
    const bool http = code >= 400 && code < 600;
    const bool unanswered = (code & 0xFFFF0000UL) == 0x800C0000UL;
    if (!SameObject(frame, m_browser) || !m_onFailed || !(http || unanswered)) {
        return false;
    }
    m_onFailed(!http         ? PageFailure::Unreachable
               : code >= 500 ? PageFailure::ServerError
                             : PageFailure::ClientError);
    return true;
}

// The top page came: its keeper starts afresh (the old page's media are gone, a failure's
// back-off is over), hears its title, and the owner puts its script in.
void BrowserEvents::DocumentComplete(IDispatch* frame) {
    if (!SameObject(frame, m_browser)) {
        return;
    }
    m_keeper.PageLoaded();
    BSTR title = nullptr;
    if (SUCCEEDED(m_browser->get_LocationName(&title)) && title != nullptr) {
        m_keeper.PageTitle(Utf8(title));
    }
    SysFreeString(title);
    if (m_onLoaded) {
        m_onLoaded();
    }
}

void BrowserEvents::NewWindow(const wchar_t* url) {
    if (!Apply(m_keeper.NewWindow(Narrow(url)), url) && m_browser != nullptr) {
        BSTR address = SysAllocString(url);
        VARIANT none;
        VariantInit(&none);
        m_browser->Navigate(address, &none, &none, &none, &none);
        SysFreeString(address);
    }
}

}  // namespace zavi
