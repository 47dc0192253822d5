// InstanceClaim: one program per user session, and ShowRunningForm for a later launch.
// The claim is a platform object the system gives up when the process ends however it
// ends, so a killed program blocks nothing:
//   Windows  a session-local named mutex
//   Linux    a lock on a file in the session's runtime folder ($XDG_RUNTIME_DIR, in
//            memory, gone at logout), one per X display
#pragma once

#include <chrono>

#include "ControlDefinitions.h"

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
#if defined(_WIN32)
    void* m_mutex = nullptr;  // HANDLE
#else
    int m_file = -1;
#endif
    bool m_held = false;
};

// Brings the visible top-level form of this definition, in whatever process of the
// session, to the front, restoring it when minimized. False when there is none.
bool ShowRunningForm(const FormDefinition& definition);

}  // namespace zavi
