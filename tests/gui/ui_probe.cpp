// Reading windows and screen pixels of another process, and posting input.
#include "tests/gui/ui_probe.h"

#include <thread>

bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (ready()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

namespace {

struct EnumState {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<EnumState*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid) s->found.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopWindowsOf(DWORD pid) {
    EnumState s{pid, {}};
    ::EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    int n = ::GetClassNameW(hwnd, name, 256);
    return std::wstring(name, n > 0 ? n : 0);
}

std::wstring TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return L"?";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          2000, &copied);
    text.resize(copied);
    return text;
}

HWND FindTopWindow(DWORD pid, const std::wstring& windowClass, const std::wstring& caption) {
    for (HWND hwnd : TopWindowsOf(pid))
        if (::IsWindowVisible(hwnd) && ClassOf(hwnd) == windowClass && (caption.empty() || TextOf(hwnd) == caption))
            return hwnd;
    return nullptr;
}

HWND WaitForTopWindow(DWORD pid, const std::wstring& windowClass, const std::wstring& caption,
                      std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindTopWindow(pid, windowClass, caption)) != nullptr; }, timeout);
    return found;
}

std::vector<ControlView> ControlsOf(HWND window) {
    std::vector<ControlView> controls;
    for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        ::GetWindowRect(c, &r);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        controls.push_back({c, ClassOf(c), TextOf(c), r, (::GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE) != 0,
                            ::IsWindowEnabled(c) != FALSE});
    }
    return controls;
}

ControlView ControlWithText(HWND window, const std::wstring& text) {
    for (const auto& c : ControlsOf(window))
        if (c.text == text) return c;
    return ControlView{};
}

RECT WindowRect(HWND hwnd) {
    RECT r = {};
    ::GetWindowRect(hwnd, &r);
    return r;
}

SIZE ClientSize(HWND hwnd) {
    RECT r = {};
    ::GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
}

COLORREF ClientPixel(HWND hwnd, int x, int y) {
    POINT p = {x, y};
    ::ClientToScreen(hwnd, &p);
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, p.x, p.y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

ClientCapture::ClientCapture(HWND hwnd) {
    SIZE size = ClientSize(hwnd);
    width_ = size.cx;
    height_ = size.cy;
    POINT origin = {0, 0};
    ::ClientToScreen(hwnd, &origin);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
        ::GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        pixels_.assign(p, p + static_cast<std::size_t>(width_) * height_);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

COLORREF ClientCapture::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || pixels_.empty()) return 0;
    std::uint32_t v = pixels_[static_cast<std::size_t>(y) * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

namespace {

// The icon's kind by its colours: the stop sign is mostly red, the
// information mark mostly blue.
MessageBoxView::Icon IconKind(HWND iconControl) {
    if (!iconControl || !::IsWindowVisible(iconControl)) return MessageBoxView::None;
    ClientCapture icon(iconControl);
    int red = 0, blue = 0;
    for (int y = 0; y < icon.Height(); ++y)
        for (int x = 0; x < icon.Width(); ++x) {
            COLORREF c = icon.Pixel(x, y);
            int R = GetRValue(c), G = GetGValue(c), B = GetBValue(c);
            if (R > 150 && G < 100 && B < 100) ++red;
            if (B > 150 && R < 120) ++blue;
        }
    if (red > 100 && red > blue) return MessageBoxView::Stop;
    if (blue > 100 && blue > red) return MessageBoxView::Information;
    return MessageBoxView::None;
}

}  // namespace

MessageBoxView ReadMessageBox(HWND box) {
    MessageBoxView view;
    view.hwnd = box;
    view.caption = TextOf(box);
    HWND iconControl = nullptr;
    for (const auto& c : ControlsOf(box)) {
        if (!c.visible) continue;
        if (c.windowClass == L"Button") view.buttons.push_back(c.text);
        if (c.windowClass == L"Static") {
            LONG style = ::GetWindowLongW(c.hwnd, GWL_STYLE);
            if ((style & SS_TYPEMASK) == SS_ICON)
                iconControl = c.hwnd;
            else if (!c.text.empty())
                view.text = c.text;
        }
    }
    view.icon = IconKind(iconControl);
    return view;
}

MessageBoxView WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout) {
    HWND box = WaitForTopWindow(pid, L"#32770", L"", timeout);
    if (!box) return {};
    // Visible is not yet painted: read until the icon shows (or give up and
    // report what is there).
    MessageBoxView view;
    WaitFor([&] { return (view = ReadMessageBox(box)).icon != MessageBoxView::None; }, std::chrono::seconds(3));
    return view;
}

void Click(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

void PressKey(HWND window, WPARAM key) {
    DWORD tid = ::GetWindowThreadProcessId(window, nullptr);
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    HWND target = ::GetGUIThreadInfo(tid, &info) && info.hwndFocus ? info.hwndFocus : window;
    UINT scan = ::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    ::PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
    ::PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

void CloseByTitleBar(HWND window) { ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

void PressAltF4(HWND window) {
    UINT scan = ::MapVirtualKeyW(VK_F4, MAPVK_VK_TO_VSC);
    ::PostMessageW(window, WM_SYSKEYDOWN, VK_F4, 1 | (scan << 16) | (1u << 29));
}
