#include "Api.h"

#include <cstddef>
#include <cstring>

#include "../NotifyIconData.h"
#include "../ProgramError.h"

namespace zavi::API {
namespace {

template <class Function>
Function Resolve(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (module == nullptr) {
        // Stays loaded for the life of the process, as a bound import would.
        module = LoadLibraryW(library);
    }
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

Table& Bound() {
    static Table table = Platform();
    return table;
}

template <class Function>
Function Require(Function function, const char* name, const char* library) {
    if (function == nullptr) {
        throw MissingEntryPoint(name, library);
    }
    return function;
}

#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == kNotifyIconDataSize);
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == 4);
static_assert(offsetof(NOTIFYICONDATAA, uID) == 8);
static_assert(offsetof(NOTIFYICONDATAA, uFlags) == 12);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) == 16);
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == 20);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == kNotifyIconTipOffset);
#endif
// Newer headers widen the field to 128; a version-1 size tells the shell to read 64.
static_assert(sizeof(NOTIFYICONDATAA{}.szTip) >= kNotifyIconTipLength);

// Window and icon handles are 32 bits wide on 64-bit Windows too; they widen by sign.
template <class Handle>
Handle WidenHandle(std::uint32_t value) {
    return static_cast<Handle>(LongToHandle(static_cast<LONG>(value)));
}

}  // namespace

Table Platform() {
    using ShellNotify = decltype(Table::Shell_NotifyIconA);
    using GetLong = decltype(Table::GetWindowLongA);
    using SetLong = decltype(Table::SetWindowLongA);
    using SetLayered = decltype(Table::SetLayeredWindowAttributes);
    using ShellExecute = decltype(Table::ShellExecuteW);
    return {Resolve<ShellNotify>(L"shell32.dll", "Shell_NotifyIconA"),
            Resolve<GetLong>(L"user32.dll", "GetWindowLongA"),
            Resolve<SetLong>(L"user32.dll", "SetWindowLongA"),
            Resolve<SetLayered>(L"user32.dll", "SetLayeredWindowAttributes"),
            Resolve<ShellExecute>(L"shell32.dll", "ShellExecuteW")};
}

ScopedBinding::ScopedBinding(const Table& table) : m_previous(Bound()) {
    Bound() = table;
}

ScopedBinding::~ScopedBinding() {
    Bound() = m_previous;
}

BOOL Shell_NotifyIconA(DWORD message, const NotifyIconData& record) {
    const auto call = Require(Bound().Shell_NotifyIconA, "Shell_NotifyIconA", "shell32");
    NOTIFYICONDATAA native{};
    native.cbSize = NOTIFYICONDATAA_V1_SIZE;
    native.hWnd = WidenHandle<HWND>(record.hWnd());
    native.uID = record.uID();
    native.uFlags = record.uFlags();
    native.uCallbackMessage = record.uCallbackMessage();
    native.hIcon = WidenHandle<HICON>(record.hIcon());
    std::memcpy(native.szTip, record.bytes().data() + kNotifyIconTipOffset, kNotifyIconTipLength);
    return call(message, &native);
}

LONG GetWindowLongA(HWND window, int index) {
    return Require(Bound().GetWindowLongA, "GetWindowLongA", "user32")(window, index);
}

LONG SetWindowLongA(HWND window, int index, LONG value) {
    return Require(Bound().SetWindowLongA, "SetWindowLongA", "user32")(window, index, value);
}

BOOL SetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
    const auto call =
        Require(Bound().SetLayeredWindowAttributes, "SetLayeredWindowAttributes", "user32");
    return call(window, key, alpha, flags);
}

void OpenInDefaultHandler(const std::wstring& address) {
    const auto call = Require(Bound().ShellExecuteW, "ShellExecuteW", "shell32");
    call(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace zavi::API
