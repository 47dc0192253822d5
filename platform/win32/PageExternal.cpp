#include "PageExternal.h"

#include <chrono>
#include <utility>

#include "../ErrorReport.h"
#include "../PageProtocol.h"

namespace zavi {
ComPtr<PageExternal> PageExternal::Create(std::wstring method) {
    return ComPtr<PageExternal>(new PageExternal(std::move(method)));
}

STDMETHODIMP PageExternal::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) PageExternal::Release() {
    const ULONG left = --m_references;
    if (left == 0) {
        delete this;
    }
    return left;
}

STDMETHODIMP PageExternal::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

STDMETHODIMP PageExternal::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (names == nullptr || ids == nullptr) {
        return E_POINTER;
    }
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
        const bool known = i == 0 && names[i] != nullptr && m_method == names[i];
        ids[i] = known ? kReport : DISPID_UNKNOWN;
        if (!known) {
            result = DISP_E_UNKNOWNNAME;
        }
    }
    return result;
}

// One argument, the message as text; the answer a number. An error in here would reach the
// page's script engine: it is reported, not thrown.
STDMETHODIMP PageExternal::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                  VARIANT* result, EXCEPINFO*, UINT*) {
    if (member != kReport) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if ((flags & DISPATCH_METHOD) == 0) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (parameters == nullptr || parameters->cArgs != 1 || parameters->rgvarg[0].vt != VT_BSTR) {
        return DISP_E_BADPARAMCOUNT;
    }
    long long answer = -1;
    const BSTR message = parameters->rgvarg[0].bstrVal;
    if (m_keeper != nullptr && message != nullptr) {
        RunTrapped([&] { answer = page::Answer(*m_keeper, Utf8(message), Clock::now()); });
    }
    if (result != nullptr) {
        VariantInit(result);
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(answer);
    }
    return S_OK;
}

}  // namespace zavi
