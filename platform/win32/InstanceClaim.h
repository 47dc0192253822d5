// InstanceClaim: one program per user session, as a session-local named mutex. Windows
// gives it up when the process ends however it ends, so a killed program blocks nothing.
#pragma once

#include <chrono>

#include "../ControlDefinitions.h"
#include "../UniqueHandle.h"
#include "Win32.h"

namespace zavi {

class InstanceClaim {
  public:
    // Tries to take the session's claim of this name; Held() says whether it did.
    explicit InstanceClaim(const char* name);
    ~InstanceClaim();
    InstanceClaim(const InstanceClaim&) = delete;
    InstanceClaim& operator=(const InstanceClaim&) = delete;

    bool Held() const { return m_held; }
    // Waits up to `patience` for the program holding it to end; true once this one holds it.
    bool WaitFor(std::chrono::milliseconds patience);

  private:
    UniqueHandle<HANDLE, &CloseHandle> m_mutex;
    bool m_held = false;
};

// Brings the visible top-level form of this definition, in whatever process, to the
// front, restoring it when minimized. False when there is none.
bool ShowRunningForm(const FormDefinition& definition);

}  // namespace zavi
