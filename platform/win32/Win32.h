// The one place that includes <windows.h>, with the settings every Win32 file shares.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <string>

namespace zavi {

// The program's texts are 8-bit strings in the system code page; windows take UTF-16.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);
// UTF-8 and back, for a page's words as they are (a station's title may be in Nepali).
std::string Utf8(const wchar_t* text);
std::wstring FromUtf8(const std::string& text);

}  // namespace zavi
