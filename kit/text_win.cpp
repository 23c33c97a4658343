// UTF-8 <-> UTF-16 conversion through the Windows code page functions.
#include <windows.h>

#include "kit/text.h"

std::wstring Utf8ToWide(const std::string& text) {
    if (text.empty()) return {};
    int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string WideToUtf8(const wchar_t* text, std::size_t length) {
    if (length == 0) return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

std::string WideToUtf8(const std::wstring& text) { return WideToUtf8(text.data(), text.size()); }
