// OLE on the calling thread for as long as the session lives: the browser control needs it.
#pragma once

#include "Win32.h"

#include <ole2.h>

namespace zavi {

class OleSession {
  public:
    OleSession() : m_result(OleInitialize(nullptr)) {}
    ~OleSession() {
        if (SUCCEEDED(m_result)) {
            OleUninitialize();
        }
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

    HRESULT Result() const { return m_result; }

  private:
    HRESULT m_result;
};

}  // namespace zavi
