// Disables the thread's other top-level windows while a modal window or box
// is up, and enables them again afterwards.
#pragma once

#include <windows.h>

#include <vector>

class DisabledTaskWindows {
public:
    // Disables every visible, enabled top-level window of the calling thread
    // except `keep` (may be null).
    explicit DisabledTaskWindows(HWND keep);
    ~DisabledTaskWindows();
    DisabledTaskWindows(const DisabledTaskWindows&) = delete;
    DisabledTaskWindows& operator=(const DisabledTaskWindows&) = delete;

private:
    std::vector<HWND> disabled_;
};
