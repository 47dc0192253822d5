// WebBrowser: the platform's web browser control, hosted in place in one of our windows
// by a small OLE container of our own, BrowserSite. Given a keeper, a station page that
// did not load is loaded again when the keeper says.
#pragma once

#include <string>

#include "../ControlDefinitions.h"
#include "../PageKeeper.h"
#include "../PageProtocol.h"
#include "BrowserEvents.h"
#include "BrowserSite.h"
#include "PageExternal.h"
#include "ComPtr.h"
#include "Form.h"
#include "Win32.h"

#include <exdisp.h>
#include <ole2.h>

namespace zavi {

class WebBrowser : public TabStop {
  public:
    // Creates the control and activates it in place over `bounds` of the parent's client
    // area. Raises a ProgramError when the platform cannot create it (no browser engine).
    // KEEPER decides where the page may go, when a page that did not load is loaded again
    // and when the page's media are started again.
    WebBrowser(HWND parent, const PixelRect& bounds, BrowserKeeper& keeper,
               const CLSID& control = CLSID_WebBrowser);
    // On the form, at its defined bounds and in its tab order.
    WebBrowser(Form& form, const WebBrowserDefinition& definition, BrowserKeeper& keeper);
    ~WebBrowser();
    WebBrowser(const WebBrowser&) = delete;
    WebBrowser& operator=(const WebBrowser&) = delete;

    // Starts loading the address and returns; the page loads inside the control and goes
    // only where the keeper lets it (BrowserEvents). Raises a ProgramError when its guard
    // cannot be connected: it never shows a page unguarded.
    void Navigate(const std::string& address);
    // The listener's pause, volume and mute, for the page there is and those to come.
    void SetListening(const page::ListenerState& state);
    // The settings the page script is put in each page with (its state the listener's).
    const page::ScriptSettings& Script() const { return m_script; }
    IDispatch* External() const { return m_external.get(); }

    // Offers a keyboard message to the control first, so Tab and the browser's shortcuts
    // work inside the page. True when the control used it.
    bool TranslateAccelerator(MSG& message) override;

    // The control's own window, a child of the parent.
    HWND hWnd() const { return m_window; }
    IWebBrowser2* Control() const { return m_browser.get(); }
    bool HasFocus() const override;
    void Focus() override;

  private:
    void TearDown();
    // The address once more: one page request.
    void Load();
    void PageFailed(PageFailure failure);
    // The program's script put in the page that came, with the listener's state.
    void PageLoaded();
    // Runs script in the top page's document, if it has one.
    void RunScript(const std::string& code);
    static void CALLBACK OnRetry(HWND window, UINT message, UINT_PTR id, DWORD time);

    HWND m_parent;
    BrowserKeeper& m_keeper;
    RECT m_bounds;
    ComPtr<BrowserSite> m_site;
    ComPtr<IOleObject> m_object;
    ComPtr<IOleInPlaceObject> m_inPlace;
    ComPtr<IWebBrowser2> m_browser;
    ComPtr<BrowserEvents> m_events;
    page::ScriptSettings m_script;
    ComPtr<PageExternal> m_external;
    HWND m_window = nullptr;
    std::string m_address;
};

}  // namespace zavi
