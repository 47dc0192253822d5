// BrowserSite: the container side of the hosted web browser control. One
// reference-counted object is the client site, the in-place site and the in-place frame,
// since all three describe the same parent window. It is also the control's document host:
// the page is drawn at the screen's DPI, without a 3-D border, with themed form controls,
// and a script error in the page is answered here, so it never opens a dialog.
#pragma once

#include "ComPtr.h"
#include "Win32.h"

#include <docobj.h>
#include <mshtmhst.h>
#include <ole2.h>

namespace zavi {

class BrowserSite final : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IDocHostUIHandler,
                          public IOleCommandTarget {
  public:
    // One reference, the caller's.
    static ComPtr<BrowserSite> Create(HWND parent, const RECT& bounds);

    // The control keeps its active object here, for keyboard messages.
    IOleInPlaceActiveObject* ActiveObject() const { return m_activeObject.get(); }
    void Forget() {
        m_activeObject.Reset();
        m_external.Reset();
    }
    // What the page gets as window.external.
    void SetExternal(IDispatch* external) {
        if (external != nullptr) {
            external->AddRef();
        }
        m_external = ComPtr<IDispatch>(external);
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, for the site and the frame alike
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    // The control keeps its defined bounds: nothing resizes it.
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override;

    // IOleInPlaceFrame: no menus, toolbars or status line of the control's own.
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    // Also IDocHostUIHandler's: the same answer for both.
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDocHostUIHandler: the host information is ours; everything else is left to the
    // control, which is what S_FALSE and E_NOTIMPL ask of it.
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override {
        return S_FALSE;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override;
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** target) override;
    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) override;
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** filtered) override;

    // IOleCommandTarget: only the document host's script-error command is ours.
    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                             OLECMDTEXT* text) override;
    STDMETHODIMP Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in,
                      VARIANT* out) override;

  private:
    BrowserSite(HWND parent, const RECT& bounds) : m_parent(parent), m_bounds(bounds) {}
    ~BrowserSite() = default;

    ULONG m_references = 1;
    HWND m_parent;
    RECT m_bounds;
    ComPtr<IOleInPlaceActiveObject> m_activeObject;
    ComPtr<IDispatch> m_external;
};

}  // namespace zavi
