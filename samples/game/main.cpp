// A stand-in for the game: a small window that shows the build's version, so
// that an update can be seen to have happened. OVAK_VERSION is set by the
// build ("1.1" for the payload, "1.0" for the older copy of demo installs).
#include <windows.h>

#include "ovak_version.h"

#define WIDEN2(x) L##x
#define WIDEN(x) WIDEN2(x)

namespace {

const wchar_t kText[] = L"OVAK  version " WIDEN(OVAK_VERSION);

LRESULT CALLBACK GameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, kText, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = GameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"OvakGame";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(L"OvakGame", kText, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 160,
                              nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
