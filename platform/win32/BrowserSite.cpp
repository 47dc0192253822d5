#include "BrowserSite.h"

namespace zavi {
namespace {

// The group of the commands the control's document sends its host (mshtmhst.h declares
// it; no import library defines it).
constexpr GUID kDocHostCommandHandler{
    0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};

bool IsDocHostCommand(const GUID* group) {
    return group != nullptr && IsEqualGUID(*group, kDocHostCommandHandler);
}

// No group is the standard one, which every target knows; any other is not ours.
HRESULT NotOurs(const GUID* group) {
    return group == nullptr ? OLECMDERR_E_NOTSUPPORTED : OLECMDERR_E_UNKNOWNGROUP;
}

}  // namespace

ComPtr<BrowserSite> BrowserSite::Create(HWND parent, const RECT& bounds) {
    return ComPtr<BrowserSite>(new BrowserSite(parent, bounds));
}

STDMETHODIMP BrowserSite::QueryInterface(REFIID iid, void** object) {
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
    } else if (iid == IID_IDocHostUIHandler) {
        *object = static_cast<IDocHostUIHandler*>(this);
    } else if (iid == IID_IOleCommandTarget) {
        *object = static_cast<IOleCommandTarget*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) BrowserSite::Release() {
    const ULONG left = --m_references;
    if (left == 0) {
        delete this;
    }
    return left;
}

STDMETHODIMP BrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetContainer(IOleContainer** container) {
    *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP BrowserSite::GetWindow(HWND* window) {
    *window = m_parent;
    return S_OK;
}

STDMETHODIMP BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                           LPRECT position, LPRECT clip,
                                           LPOLEINPLACEFRAMEINFO info) {
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

STDMETHODIMP BrowserSite::OnInPlaceDeactivate() {
    m_activeObject.Reset();
    return S_OK;
}

STDMETHODIMP BrowserSite::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
    if (active != nullptr) {
        active->AddRef();
    }
    m_activeObject = ComPtr<IOleInPlaceActiveObject>(active);
    return S_OK;
}

STDMETHODIMP BrowserSite::GetHostInfo(DOCHOSTUIINFO* info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    // The caller sets cbSize; an older, shorter structure gets only the fields it has.
    info->dwFlags = DOCHOSTUIFLAG_DPI_AWARE | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_THEME;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP BrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    if (key != nullptr) {
        *key = nullptr;
    }
    return S_FALSE;
}

STDMETHODIMP BrowserSite::GetDropTarget(IDropTarget*, IDropTarget** target) {
    if (target != nullptr) {
        *target = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetExternal(IDispatch** external) {
    if (external == nullptr) {
        return E_POINTER;
    }
    *external = m_external.get();
    if (*external == nullptr) {
        return S_FALSE;
    }
    (*external)->AddRef();
    return S_OK;
}

STDMETHODIMP BrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
    if (translated != nullptr) {
        *translated = nullptr;
    }
    return S_FALSE;
}

STDMETHODIMP BrowserSite::FilterDataObject(IDataObject*, IDataObject** filtered) {
    if (filtered != nullptr) {
        *filtered = nullptr;
    }
    return S_FALSE;
}

STDMETHODIMP BrowserSite::QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                                      OLECMDTEXT*) {
    if (commands == nullptr) {
        return E_POINTER;
    }
    const bool docHost = IsDocHostCommand(group);
    if (!docHost && group != nullptr) {
        return OLECMDERR_E_UNKNOWNGROUP;
    }
    // Only the document host's script-error command is ours; the standard group has none.
    for (ULONG i = 0; i < count; ++i) {
        commands[i].cmdf = docHost && commands[i].cmdID == OLECMDID_SHOWSCRIPTERROR
                               ? OLECMDF_SUPPORTED | OLECMDF_ENABLED
                               : 0;
    }
    return S_OK;
}

STDMETHODIMP BrowserSite::Exec(const GUID* group, DWORD command, DWORD, VARIANT*, VARIANT* out) {
    if (!IsDocHostCommand(group)) {
        return NotOurs(group);
    }
    if (command != OLECMDID_SHOWSCRIPTERROR) {
        // The control's own handling, as if there were no host command target.
        return OLECMDERR_E_NOTSUPPORTED;
    }
    // Handled, with no dialog; true tells the document to go on running its scripts.
    if (out != nullptr) {
        VariantClear(out);
        out->vt = VT_BOOL;
        out->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}

}  // namespace zavi
