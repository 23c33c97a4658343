// Disabling and re-enabling the thread's top-level windows around modal UI.
#include "kit/modal_windows.h"

namespace {

struct Collect {
    HWND keep;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    auto* c = reinterpret_cast<Collect*>(param);
    if (hwnd != c->keep && ::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd)) {
        try {
            c->found->push_back(hwnd);
        } catch (...) {
            return FALSE;  // out of memory: leave the rest enabled
        }
    }
    return TRUE;
}

}  // namespace

DisabledTaskWindows::DisabledTaskWindows(HWND keep) {
    Collect collect{keep, &disabled_};
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&collect));
    for (HWND hwnd : disabled_) ::EnableWindow(hwnd, FALSE);
}

DisabledTaskWindows::~DisabledTaskWindows() {
    for (HWND hwnd : disabled_)
        if (::IsWindow(hwnd)) ::EnableWindow(hwnd, TRUE);
}
