// API: the platform operations the program calls by name. They are bound at run time, as
// the program's own declarations of them are, so a library that lacks one raises an error
// the caller can trap; a test binds stand-ins through ScopedBinding.
#pragma once

#include <string>

#include "Win32.h"

namespace zavi {
class NotifyIconData;
}

namespace zavi::API {

struct Table {
    BOOL(WINAPI* Shell_NotifyIconA)(DWORD message, PNOTIFYICONDATAA data);
    LONG(WINAPI* GetWindowLongA)(HWND window, int index);
    LONG(WINAPI* SetWindowLongA)(HWND window, int index, LONG value);
    BOOL(WINAPI* SetLayeredWindowAttributes)(HWND window, COLORREF key, BYTE alpha, DWORD flags);
    HINSTANCE(WINAPI* ShellExecuteW)
    (HWND window, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show);
};

// The operations as user32 and shell32 export them; an entry is null where one is missing.
Table Platform();

// Binds a table for as long as it lives, then restores the one bound before.
class ScopedBinding {
  public:
    explicit ScopedBinding(const Table& table);
    ~ScopedBinding();
    ScopedBinding(const ScopedBinding&) = delete;
    ScopedBinding& operator=(const ScopedBinding&) = delete;

  private:
    Table m_previous;
};

// The record is mapped onto the platform's own NOTIFYICONDATAA: byte for byte on 32-bit
// Windows, field by field onto the wider 64-bit layout.
BOOL Shell_NotifyIconA(DWORD message, const NotifyIconData& record);
LONG GetWindowLongA(HWND window, int index);
LONG SetWindowLongA(HWND window, int index, LONG value);
BOOL SetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags);
// Opens an address in the user's own program for it (the default browser for a web page).
void OpenInDefaultHandler(const std::wstring& address);

}  // namespace zavi::API
