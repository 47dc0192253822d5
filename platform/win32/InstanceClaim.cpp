#include "../InstanceClaim.h"

#include <string>

#include "Win32.h"

namespace zavi {

InstanceClaim::InstanceClaim(const char* name) {
    // "Local\": the user's logon session, not every session on the machine.
    const std::wstring objectName = L"Local\\" + Widen(name) + L".Instance";
    const HANDLE mutex = CreateMutexW(nullptr, TRUE, objectName.c_str());
    const DWORD created = GetLastError();  // before any other call can change it
    if (mutex == nullptr) {
        // The name is taken by an object of another kind, or not ours to open: run
        // unguarded rather than never.
        m_held = true;
        return;
    }
    m_mutex = mutex;
    m_held = created != ERROR_ALREADY_EXISTS;
}

InstanceClaim::~InstanceClaim() {
    if (m_mutex != nullptr) {
        if (m_held) {
            ReleaseMutex(m_mutex);
        }
        CloseHandle(m_mutex);
    }
}

bool InstanceClaim::WaitFor(std::chrono::milliseconds patience) {
    if (!m_held) {
        // Abandoned counts: a program that was killed leaves the mutex to the next one.
        const DWORD result = WaitForSingleObject(m_mutex, static_cast<DWORD>(patience.count()));
        m_held = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
    return m_held;
}

bool ShowRunningForm(const FormDefinition& definition) {
    const HWND window = FindWindowW(Widen(definition.name).c_str(), nullptr);
    if (window == nullptr || !IsWindowVisible(window)) {
        return false;
    }
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    // Allowed: this process was started by the user's action, so it may give the
    // foreground to the program the user asked for.
    SetForegroundWindow(window);
    return true;
}

}  // namespace zavi
