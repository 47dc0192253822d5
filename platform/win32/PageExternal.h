// PageExternal: the object the browser control gives the page as window.external (through
// its document host, BrowserSite). The program's page script reports on it, by a method
// whose name the program chose, and gets its keeper's answer back (PageProtocol); nothing
// else of it is the page's to call.
#pragma once

#include <string>

#include "../PageKeeper.h"
#include "ComPtr.h"
#include "Win32.h"

#include <oaidl.h>

namespace zavi {

class PageExternal final : public IDispatch {
  public:
    // One reference, the caller's. METHOD is the name the script calls.
    static ComPtr<PageExternal> Create(std::wstring method);

    // Who answers; without one, every report is left unanswered (-1).
    void SetKeeper(MediaKeeper* keeper) { m_keeper = keeper; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() override;
    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                        VARIANT* result, EXCEPINFO*, UINT*) override;

    static constexpr DISPID kReport = 1;

  private:
    explicit PageExternal(std::wstring method) : m_method(std::move(method)) {}
    ~PageExternal() = default;

    ULONG m_references = 1;
    std::wstring m_method;
    MediaKeeper* m_keeper = nullptr;
};

}  // namespace zavi
