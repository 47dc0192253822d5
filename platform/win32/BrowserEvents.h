// BrowserEvents: the browser control's events (DWebBrowserEvents2), taken as a station's
// player needs them. The control keeps where its keeper says (the player: its station): a
// link, form or script that takes the top page to another host, and every new window, go
// to the user's default handler instead (the shell's); a new window within the station is
// opened in the control itself. Downloads are refused. A top page that fails to load shows
// no error page of the control's: its failure goes to the control's owner.
#pragma once

#include <functional>

#include "../PageKeeper.h"
#include "ComPtr.h"
#include "Win32.h"

#include <exdisp.h>
#include <ocidl.h>

namespace zavi {

class BrowserEvents final : public IDispatch {
  public:
    using FailureHandler = std::function<void(PageFailure)>;
    // Made for one control, and connected to it until Disconnect. ONLOADED runs when the
    // top page has come (its document complete), after its keeper was told.
    static ComPtr<BrowserEvents> Connect(IWebBrowser2* browser, BrowserKeeper& keeper,
                                         FailureHandler onFailed = {},
                                         std::function<void()> onLoaded = {});
    bool Connected() const { return static_cast<bool>(m_point); }
    void Disconnect();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() override;
    // IDispatch: only Invoke is of use to a control's events.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                        EXCEPINFO*, UINT*) override;

  private:
    BrowserEvents(IWebBrowser2* browser, BrowserKeeper& keeper, FailureHandler onFailed,
                  std::function<void()> onLoaded);
    ~BrowserEvents() = default;

    bool BeforeNavigate(IDispatch* frame, const wchar_t* url);
    void NewWindow(const wchar_t* url);
    bool NavigateError(IDispatch* frame, long status);
    void DocumentComplete(IDispatch* frame);
    // Carries out a verdict on a navigation to `url`; true when the control is not to go.
    bool Apply(NavigationVerdict verdict, const wchar_t* url) const;

    ULONG m_references = 1;
    IWebBrowser2* m_browser;  // the control owns this sink's connection, not the reverse
    BrowserKeeper& m_keeper;
    FailureHandler m_onFailed;
    std::function<void()> m_onLoaded;
    ComPtr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
};

}  // namespace zavi
