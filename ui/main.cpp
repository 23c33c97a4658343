// The updater's entry point: DLL search hardening, the single-instance
// guard, then the two forms and the message loop.
#include <windows.h>

#include "kit/application.h"
#include "ui/unit1.h"
#include "ui/unit3.h"

namespace {

// The single-instance guard, held from start to end of the run.
HANDLE SetupMutex = nullptr;

// Restricts DLL loading to System32 before anything can load a DLL from
// the program's folder (a download folder may hold planted DLLs). Looked up
// at run time: Vista without its security update lacks the function.
void RestrictDllSearch() {
    using SetDirs = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto setDirs = kernel ? reinterpret_cast<SetDirs>(
                                reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                          : nullptr;
    if (setDirs) setDirs(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RestrictDllSearch();
    ::SetLastError(0);
    SetupMutex = ::CreateMutexW(nullptr, TRUE, L"ZOR_SETUP");
    if (::GetLastError() != 0) return 1;
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->CreateForm(Form3);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    }
    ::ReleaseMutex(SetupMutex);
    return 0;
}
