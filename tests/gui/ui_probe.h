// What a person sees of another program's windows, read through Win32 as a
// UI test tool reads it: top-level windows of a process, their controls,
// texts, places and states, and the colours on the screen.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Waits until `ready` holds, checking every millisecond; false on timeout.
bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds timeout);

// The visible top-level window of process `pid` with the window class
// `windowClass` (and, if not empty, this caption); null when there is none.
HWND FindTopWindow(DWORD pid, const std::wstring& windowClass, const std::wstring& caption = L"");
// Waits for it; null on timeout.
HWND WaitForTopWindow(DWORD pid, const std::wstring& windowClass, const std::wstring& caption = L"",
                      std::chrono::milliseconds timeout = std::chrono::seconds(20));
// Every top-level window of the process, visible or not.
std::vector<HWND> TopWindowsOf(DWORD pid);

std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);  // WM_GETTEXT, as a screen reader asks

// A control as seen inside its window: rectangle in the parent's client
// coordinates.
struct ControlView {
    HWND hwnd;
    std::wstring windowClass;
    std::wstring text;
    RECT rect;
    bool visible;
    bool enabled;
};
// The direct children of a window, in Z order (which is also the Tab order).
std::vector<ControlView> ControlsOf(HWND window);
// The child with this text (first in Z order); hwnd null when none.
ControlView ControlWithText(HWND window, const std::wstring& text);

RECT WindowRect(HWND hwnd);  // screen coordinates, frame included
SIZE ClientSize(HWND hwnd);

// The colour on screen at a point of a window's client area.
COLORREF ClientPixel(HWND hwnd, int x, int y);

// The screen's pixels over a window's client area, copied at once.
class ClientCapture {
public:
    explicit ClientCapture(HWND hwnd);
    COLORREF Pixel(int x, int y) const;  // black outside the area
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, top row first
};

// A message box (dialog class "#32770") as shown: caption, text, buttons,
// and whether its icon is the stop sign (red) or the information mark
// (blue).
struct MessageBoxView {
    HWND hwnd = nullptr;
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons;
    enum Icon { None, Stop, Information } icon = None;
};
MessageBoxView ReadMessageBox(HWND box);
// Waits for a message box of the process; hwnd null on timeout.
MessageBoxView WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout = std::chrono::seconds(20));

// Actions of a person, posted as the input they cause.
void Click(HWND button);                 // a press of the button
void PressKey(HWND window, WPARAM key);  // a key pressed and let go in the focused control
void CloseByTitleBar(HWND window);       // the title bar's close button
void PressAltF4(HWND window);
