// ui_step: one step of a person at SETUP.exe's windows, for the demo and
// screenshot scripts, which run it under Wine between screenshots.
//
//   ui_step wait CLASS [CAPTION]   waits (up to 20 s) for a visible window
//                                  of that class and prints its place as
//                                  WxH+X+Y
//   ui_step click CLASS TEXT       presses the button TEXT in that window
//   ui_step enter CLASS [CAPTION]  presses Enter in that window
//
// The window class of a message box is #32770. Exit code 0 on success, 1
// when the window or button is not there.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND FindVisible(const wchar_t* windowClass, const wchar_t* caption) {
    HWND hwnd = nullptr;
    while ((hwnd = ::FindWindowExW(nullptr, hwnd, windowClass, caption)) != nullptr)
        if (::IsWindowVisible(hwnd)) return hwnd;
    return nullptr;
}

HWND WaitVisible(const wchar_t* windowClass, const wchar_t* caption) {
    for (int i = 0; i < 2000; ++i) {
        if (HWND hwnd = FindVisible(windowClass, caption)) return hwnd;
        ::Sleep(10);
    }
    return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ui_step wait|click|enter CLASS [CAPTION|TEXT]\n");
        return 2;
    }
    std::wstring step = argv[1];
    const wchar_t* windowClass = argv[2];
    const wchar_t* extra = argc > 3 ? argv[3] : nullptr;
    if (step == L"wait") {
        HWND hwnd = WaitVisible(windowClass, extra);
        if (!hwnd) return 1;
        ::Sleep(300);  // let it finish painting before a screenshot
        RECT r;
        ::GetWindowRect(hwnd, &r);
        std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        return 0;
    }
    HWND hwnd = step == L"click" ? FindVisible(windowClass, nullptr) : FindVisible(windowClass, extra);
    if (!hwnd) return 1;
    if (step == L"click") {
        HWND button = ::FindWindowExW(hwnd, nullptr, L"Button", extra);
        if (!button || !::IsWindowEnabled(button)) return 1;
        ::PostMessageW(button, BM_CLICK, 0, 0);
        return 0;
    }
    if (step == L"enter") {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        HWND target = ::GetGUIThreadInfo(::GetWindowThreadProcessId(hwnd, nullptr), &info) && info.hwndFocus
                          ? info.hwndFocus
                          : hwnd;
        ::PostMessageW(target, WM_KEYDOWN, VK_RETURN, 1);
        ::PostMessageW(target, WM_KEYUP, VK_RETURN, 1 | (3u << 30));
        return 0;
    }
    return 2;
}
