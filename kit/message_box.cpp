// Message boxes centred on the screen. A CBT hook sees the box when it is
// activated, after it has sized itself, and moves it to the centre.
#include "kit/message_box.h"

#include "kit/modal_windows.h"
#include "kit/text.h"

namespace {

HHOOK centringHook = nullptr;
HWND centredBox = nullptr;  // the box already moved, so later activations leave it

LRESULT CALLBACK CentreBoxHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t cls[16] = {};
        ::GetClassNameW(box, cls, 16);
        if (box != centredBox && lstrcmpW(cls, L"#32770") == 0) {
            RECT r;
            ::GetWindowRect(box, &r);
            int x = CentredOffset(::GetSystemMetrics(SM_CXSCREEN), r.right - r.left);
            int y = CentredOffset(::GetSystemMetrics(SM_CYSCREEN), r.bottom - r.top);
            ::SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            centredBox = box;
        }
    }
    return ::CallNextHookEx(centringHook, code, wParam, lParam);
}

}  // namespace

int ShowMessageBox(const std::string& text, const std::string& caption, UINT type) noexcept {
    try {
        std::wstring wideText = Utf8ToWide(text);
        std::wstring wideCaption = Utf8ToWide(caption);
        HWND owner = ::GetActiveWindow();
        DisabledTaskWindows disabled(owner);
        HHOOK outer = centringHook;
        HWND outerBox = centredBox;
        centringHook = ::SetWindowsHookExW(WH_CBT, CentreBoxHook, nullptr, ::GetCurrentThreadId());
        centredBox = nullptr;
        int result = ::MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), type);
        if (centringHook) ::UnhookWindowsHookEx(centringHook);
        centringHook = outer;
        centredBox = outerBox;
        if (owner && ::IsWindow(owner)) ::SetActiveWindow(owner);
        return result;
    } catch (...) {
        return 0;  // out of memory for the texts: nothing can be shown
    }
}
