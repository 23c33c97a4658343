// Registry, files and resource-edited copies for the GUI tests.
#include "tests/gui/gui_env.h"

#include <stdexcept>

#include "kit/resource_stream.h"
#include "kit/text.h"

GuiConfig& Config() {
    static GuiConfig config;
    return config;
}

std::wstring ToWindowsPath(const std::string& path) {
    std::wstring wide = Utf8ToWide(path);
    if (wide.empty() || wide[0] != L'/') return wide;
    for (auto& c : wide)
        if (c == L'/') c = L'\\';
    return L"Z:" + wide;
}

namespace {

const wchar_t kKey[] = L"Software\\KARVOS\\OVAK";

HKEY OpenOvakKey() {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot open HKCU\\Software\\KARVOS\\OVAK");
    return key;
}

}  // namespace

void SetGameDir(const std::wstring& dir) {
    HKEY key = OpenOvakKey();
    ::RegSetValueExW(key, L"GameDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(dir.c_str()),
                     static_cast<DWORD>((dir.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

void SetGameDirDword(DWORD value) {
    HKEY key = OpenOvakKey();
    ::RegSetValueExW(key, L"GameDir", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(key);
}

void DeleteGameDir() {
    HKEY key = OpenOvakKey();
    ::RegDeleteValueW(key, L"GameDir");
    ::RegCloseKey(key);
}

namespace {

void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((dir + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = dir + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + L"\\");
            } else {
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(dir.c_str());
}

}  // namespace

std::wstring ScratchDir(const std::string& name) {
    ::CreateDirectoryW(L"C:\\guitest", nullptr);
    std::wstring dir = L"C:\\guitest\\" + Utf8ToWide(name) + L"\\";
    RemoveTree(dir);
    if (!::CreateDirectoryW(dir.c_str(), nullptr)) throw std::runtime_error("cannot make the scratch folder");
    return dir;
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    LARGE_INTEGER size;
    ::GetFileSizeEx(f, &size);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!bytes.empty()) ::ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    ::CloseHandle(f);
    bytes.resize(got);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write a test file");
    DWORD put = 0;
    ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    ::CloseHandle(f);
    if (put != bytes.size()) throw std::runtime_error("short write of a test file");
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::uint8_t> SetupResource(const std::wstring& name) {
    HMODULE module = ::LoadLibraryExW(Config().setupExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) throw std::runtime_error("cannot load SETUP.exe as data");
    const std::string utf8Name = WideToUtf8(name);
    const bool found = TResourceStream::Exists(module, utf8Name);
    std::vector<std::uint8_t> bytes;
    if (found) {
        TResourceStream resource(module, utf8Name);
        bytes.assign(resource.Memory(), resource.Memory() + resource.Size());
    }
    ::FreeLibrary(module);
    if (!found) throw std::runtime_error("SETUP.exe lacks a resource the test edits");
    return bytes;
}

std::wstring SetupVariant(const std::wstring& dir, const std::function<void(std::vector<std::uint8_t>&)>& edit) {
    std::vector<std::uint8_t> image = ReadBytes(Config().setupExe);
    if (image.empty()) throw std::runtime_error("cannot read SETUP.exe");
    edit(image);
    std::wstring copy = dir + L"SETUP.exe";
    WriteBytes(copy, image);
    return copy;
}
