// The window procedure shared by the layer's own window classes: it keeps the
// owning object's pointer in the window's user data and forwards every
// message to its HandleMessage. No C++ exception crosses back into Windows:
// one that escapes is caught here and shown by the application object.
#pragma once

#include <windows.h>

// Shows the exception being handled (call only inside a catch block); never
// throws. Defined by the application object.
void ShowCurrentException() noexcept;

template <typename T>
LRESULT CALLBACK WindowThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    T* self;
    if (message == WM_NCCREATE) {
        self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (message == WM_NCDESTROY) ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (self == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        return self->HandleMessage(hwnd, message, wParam, lParam);
    } catch (...) {
        ShowCurrentException();
        return 0;
    }
}
