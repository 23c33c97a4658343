// A started copy of SETUP.exe: its process id, its exit, and what it left of
// the single-instance mutex.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

class SetupProcess {
public:
    // Starts `exePath` with `workDir` as its current directory.
    SetupProcess(const std::wstring& exePath, const std::wstring& workDir);
    ~SetupProcess();  // ends the process if it is still running
    SetupProcess(const SetupProcess&) = delete;
    SetupProcess& operator=(const SetupProcess&) = delete;

    DWORD Pid() const { return pid_; }
    bool Running() const;
    // Waits for the exit; false on timeout.
    bool WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    DWORD ExitCode() const;

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// A handle to SETUP's mutex "ZOR_SETUP", to see after SETUP has ended
// whether it released the mutex or ended owning it (abandoned). While the
// test holds it, the name exists: it is closed when the watch goes.
class MutexWatch {
public:
    MutexWatch() = default;
    ~MutexWatch();
    MutexWatch(const MutexWatch&) = delete;
    MutexWatch& operator=(const MutexWatch&) = delete;

    bool Open();  // false when no process holds the mutex
    // After the holder has exited: true when it had released the mutex.
    // Closes the handle.
    bool WasReleased();

private:
    HANDLE mutex_ = nullptr;
};
