// Child-window controls: creation from their descriptions and the image's
// painting.
#include "kit/controls.h"

#include "kit/exceptions.h"
#include "kit/text.h"
#include "kit/window_thunk.h"

namespace {

const wchar_t kImageClass[] = L"TImage";

void RegisterImageClass() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (::GetClassInfoExW(instance, kImageClass, &wc)) return;
    wc.lpfnWndProc = WindowThunk<TImage>;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kImageClass;
    if (!::RegisterClassExW(&wc)) throw Exception("ウィンドウ クラス TImage を登録できません");
}

}  // namespace

TControl::TControl(const ControlDesc& desc)
    : name_(desc.name), caption_(desc.caption), left_(desc.left), top_(desc.top), width_(desc.width),
      height_(desc.height), visible_(desc.visible) {}

void TControl::CreateChild(const wchar_t* windowClass, DWORD style, HWND parent, int id, HFONT font,
                           void* creator) {
    if (visible_) style |= WS_VISIBLE;
    hwnd_ = ::CreateWindowExW(0, windowClass, Utf8ToWide(caption_).c_str(), WS_CHILD | style, left_, top_,
                              width_, height_, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              ::GetModuleHandleW(nullptr), creator);
    if (!hwnd_) throw Exception("コントロール " + name_ + " を作成できません");
    if (font) ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

TButton::TButton(const ControlDesc& desc, HWND parent, int id, HFONT font) : TControl(desc) {
    DWORD style = BS_PUSHBUTTON | (desc.tabOrder >= 0 ? WS_TABSTOP : 0);
    CreateChild(L"BUTTON", style, parent, id, font);
}

TLabel::TLabel(const ControlDesc& desc, HWND parent, int id, HFONT font) : TControl(desc) {
    CreateChild(L"STATIC", SS_LEFT | SS_NOPREFIX, parent, id, font);
}

TImage::TImage(const ControlDesc& desc, HWND parent, int id) : TControl(desc) {
    RegisterImageClass();
    CreateChild(kImageClass, 0, parent, id, nullptr, this);
}

TCanvas* TImage::Canvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TCanvas>(Width(), Height());
        HWND hwnd = hwnd_;
        canvas_->OnChange = [hwnd] { ::InvalidateRect(hwnd, nullptr, FALSE); };
        ::InvalidateRect(hwnd_, nullptr, FALSE);
    }
    return canvas_.get();
}

LRESULT TImage::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        if (canvas_) return 1;  // the bitmap covers everything
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (canvas_) ::BitBlt(dc, 0, 0, Width(), Height(), canvas_->Handle(), 0, 0, SRCCOPY);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}
