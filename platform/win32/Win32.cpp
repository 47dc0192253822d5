#include "Win32.h"

namespace zavi {
namespace {

std::wstring ToWide(UINT codePage, const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string FromWide(UINT codePage, const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

}  // namespace

std::wstring Widen(const std::string& text) {
    return ToWide(CP_ACP, text);
}

std::string Narrow(const std::wstring& text) {
    return FromWide(CP_ACP, text);
}

std::string Utf8(const wchar_t* text) {
    return text != nullptr ? FromWide(CP_UTF8, text) : std::string();
}

std::wstring FromUtf8(const std::string& text) {
    return ToWide(CP_UTF8, text);
}

}  // namespace zavi
