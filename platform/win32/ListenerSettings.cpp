#include "../ListenerSettings.h"

#include <windows.h>

#include <string>

namespace zavi {
namespace {

constexpr const wchar_t* kSettingsKey = L"Software\\Velostan\\Zavi Radio";
constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kRunValue = L"Zavi Radio";

DWORD ReadNumber(HKEY key, const wchar_t* name, DWORD otherwise) {
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD) {
        return otherwise;
    }
    return value;
}

}  // namespace

Listening LoadListening() {
    Listening listening;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        const DWORD volume = ReadNumber(key, L"Volume", 100);
        listening.volume = volume > 100 ? 100 : static_cast<int>(volume);
        listening.muted = ReadNumber(key, L"Muted", 0) != 0;
        RegCloseKey(key);
    }
    return listening;
}

void SaveListening(const Listening& listening) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    const DWORD volume = static_cast<DWORD>(listening.volume);
    const DWORD muted = listening.muted ? 1 : 0;
    RegSetValueExW(key, L"Volume", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&volume),
                   sizeof volume);
    RegSetValueExW(key, L"Muted", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&muted),
                   sizeof muted);
    RegCloseKey(key);
}

bool StartsAtLogin() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    const bool present =
        RegQueryValueExW(key, kRunValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return present;
}

void SetStartAtLogin(bool start) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    if (start) {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        const std::wstring command = L"\"" + std::wstring(path) + L"\"";
        RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(key, kRunValue);
    }
    RegCloseKey(key);
}

}  // namespace zavi
