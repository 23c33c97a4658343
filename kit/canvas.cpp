// The bitmap drawing surface.
#include "kit/canvas.h"

#include "kit/exceptions.h"
#include "kit/text.h"

TCanvas::TCanvas(int width, int height) : width_(width), height_(height) {
    dc_.Reset(::CreateCompatibleDC(nullptr));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width > 0 ? width : 1;
    info.bmiHeader.biHeight = -(height > 0 ? height : 1);  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc_ || !bitmap_) throw Exception("ビットマップを作成できません");
    originalBitmap_ = ::SelectObject(dc_.Get(), bitmap_.Get());
    RECT all = {0, 0, width_, height_};
    ::FillRect(dc_.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

TCanvas::~TCanvas() {
    // Put the DC's original objects back before the ones made here go.
    if (originalFont_) ::SelectObject(dc_.Get(), originalFont_);
    ::SelectObject(dc_.Get(), originalBitmap_);
}

void TCanvas::FillRect(const RECT& rect) {
    if (Brush.Style == bsClear) return;
    UniqueGdiObject brush(::CreateSolidBrush(Brush.Color));
    if (!brush) throw Exception("ブラシを作成できません");
    ::FillRect(dc_.Get(), &rect, static_cast<HBRUSH>(brush.Get()));
    Changed();
}

HFONT TCanvas::CurrentFont() {
    bool same = font_ && fontMade_.Name == Font.Name && fontMade_.Charset == Font.Charset &&
                fontMade_.Height == Font.Height;
    if (!same) {
        std::wstring face = Utf8ToWide(Font.Name);
        UniqueGdiObject made(::CreateFontW(Font.Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                           static_cast<BYTE>(Font.Charset), OUT_DEFAULT_PRECIS,
                                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                           face.c_str()));
        if (!made) throw Exception("フォントを作成できません");
        HGDIOBJ previous = ::SelectObject(dc_.Get(), made.Get());
        if (!originalFont_) originalFont_ = previous;
        font_ = std::move(made);  // the old one is no longer selected: safe to delete
        fontMade_ = Font;
    }
    return static_cast<HFONT>(font_.Get());
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    CurrentFont();
    ::SetTextColor(dc_.Get(), Font.Color);
    if (Brush.Style == bsClear) {
        ::SetBkMode(dc_.Get(), TRANSPARENT);
    } else {
        ::SetBkMode(dc_.Get(), OPAQUE);
        ::SetBkColor(dc_.Get(), Brush.Color);
    }
    ::SetTextAlign(dc_.Get(), TA_LEFT | TA_TOP);
    std::wstring wide = Utf8ToWide(text);
    ::TextOutW(dc_.Get(), x, y, wide.c_str(), static_cast<int>(wide.size()));
    Changed();
}

void TCanvas::Changed() {
    if (OnChange) OnChange();
}
