// The application title from the executable's path.
#include <windows.h>

#include "kit/app_text.h"
#include "kit/text.h"

std::string TitleFromExePath(const std::wstring& exePath) {
    std::size_t start = exePath.find_last_of(L"\\/:");
    std::wstring name = exePath.substr(start == std::wstring::npos ? 0 : start + 1);
    name = name.substr(0, name.find(L'.'));
    if (name.size() > 1) ::CharLowerBuffW(&name[1], static_cast<DWORD>(name.size() - 1));
    return WideToUtf8(name);
}
