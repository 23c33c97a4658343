// Reads the game's install directory from the current user's registry:
// HKCU\Software\KARVOS (opened, or created empty), subkey OVAK (only
// opened), value GameDir. Everything missing gives "", a value of another
// type or one that cannot be read raises ERegistryException. Both keys are
// closed by their owners on every path, before an exception leaves.
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "engine/install_dir.h"
#include "kit/exceptions.h"
#include "kit/text.h"
#include "kit/win_handles.h"

namespace {
constexpr const wchar_t* kKeyPath = L"Software\\KARVOS";
constexpr const wchar_t* kSubkey = L"OVAK";
constexpr const wchar_t* kValueName = L"GameDir";
constexpr const char* kValueNameUtf8 = "GameDir";
}  // namespace

std::string ReadInstallDir() {
    UniqueRegKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
        return {};
    UniqueRegKey subkey;
    if (::RegOpenKeyExW(key.Get(), kSubkey, 0, KEY_ALL_ACCESS, subkey.Put()) != ERROR_SUCCESS) return {};

    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(subkey.Get(), kValueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (size == 0) return {};

    std::vector<BYTE> data(size);
    if (::RegQueryValueExW(subkey.Get(), kValueName, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        throw ERegistryException(FormatMessage1(msg::kRegReadFailed, kValueNameUtf8));
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(FormatMessage1(msg::kRegInvalidType, kValueNameUtf8));

    // UTF-16 text up to its first zero character, or whole without one; an
    // odd trailing byte is no character and is ignored.
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return WideToUtf8(text);
}
