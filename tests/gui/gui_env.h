// The test's surroundings: where SETUP.exe and its payload are, the screen
// the run expects, a scratch folder per test, the registry value the
// updater reads, and copies of SETUP.exe with edited resources.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct GuiConfig {
    std::wstring setupExe;  // Windows path of SETUP.exe
    std::wstring payload;   // the OVAK.EXE it carries, unpacked
    POINT expectedMain{0, 0};  // where the main window must stand on this screen
    bool haveExpectedMain = false;
};
GuiConfig& Config();

// Converts a Unix path ("/work/...") to its Wine drive Z: form; a Windows
// path is returned unchanged.
std::wstring ToWindowsPath(const std::string& path);

// The value GameDir under HKCU\Software\KARVOS\OVAK: a string, a DWORD, or
// absent.
void SetGameDir(const std::wstring& dir);
void SetGameDirDword(DWORD value);
void DeleteGameDir();

// A fresh, empty scratch folder for one test (C:\guitest\NAME\), with a
// trailing backslash.
std::wstring ScratchDir(const std::string& name);

std::vector<std::uint8_t> ReadBytes(const std::wstring& path);  // empty when missing
void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
bool FileExists(const std::wstring& path);

// Copies SETUP.exe to DIR\SETUP.exe (the name gives the title "Setup")
// with `edit` applied to its bytes (see pe_patch.h). Returns the copy's path.
std::wstring SetupVariant(const std::wstring& dir, const std::function<void(std::vector<std::uint8_t>&)>& edit);
// The bytes of an RT_RCDATA resource of SETUP.exe.
std::vector<std::uint8_t> SetupResource(const std::wstring& name);
