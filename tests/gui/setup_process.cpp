// Starting and watching SETUP.exe.
#include "tests/gui/setup_process.h"

#include <stdexcept>

SetupProcess::SetupProcess(const std::wstring& exePath, const std::wstring& workDir) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workDir.c_str(), &si, &pi))
        throw std::runtime_error("cannot start SETUP.exe");
    ::CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
}

SetupProcess::~SetupProcess() {
    if (Running()) {
        ::TerminateProcess(process_, 99);
        ::WaitForSingleObject(process_, 5000);
    }
    ::CloseHandle(process_);
}

bool SetupProcess::Running() const { return ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool SetupProcess::WaitForExit(std::chrono::milliseconds timeout) {
    return ::WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD SetupProcess::ExitCode() const {
    DWORD code = 0;
    ::GetExitCodeProcess(process_, &code);
    return code;
}

MutexWatch::~MutexWatch() {
    if (mutex_) ::CloseHandle(mutex_);
}

bool MutexWatch::Open() {
    mutex_ = ::OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, L"ZOR_SETUP");
    return mutex_ != nullptr;
}

bool MutexWatch::WasReleased() {
    if (!mutex_) return false;
    DWORD result = ::WaitForSingleObject(mutex_, 0);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) ::ReleaseMutex(mutex_);
    ::CloseHandle(mutex_);
    mutex_ = nullptr;
    return result == WAIT_OBJECT_0;
}
