// A drawing surface over a bitmap of its own: brush, font, FillRect and
// TextOut, with pixels kept exactly as drawn (32-bit DIB section).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "kit/component.h"
#include "kit/win_handles.h"

enum TBrushStyle { bsSolid, bsClear };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

// The font of a new drawing surface: the Japanese proportional gothic face
// with the Shift-JIS character set, so Japanese text draws on any system.
struct TFont {
    std::string Name = "ＭＳ Ｐゴシック";
    int Charset = SHIFTJIS_CHARSET;
    int Height = -12;  // as LOGFONT: negative = character height, positive = cell height
    TColor Color = clBlack;
};

class TCanvas {
public:
    // A white surface of the given size. Throws Exception when the bitmap
    // cannot be made.
    TCanvas(int width, int height);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TBrush Brush;
    TFont Font;

    // Fills left..right-1 × top..bottom-1 with the brush colour (bsSolid);
    // a clear brush fills nothing.
    void FillRect(const RECT& rect);
    // Draws text with its cell's top-left corner at (x, y) in the font's
    // colour; on a clear brush the background stays, else it is the brush
    // colour.
    void TextOut(int x, int y, const std::string& text);

    HDC Handle() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    std::function<void()> OnChange;  // after each drawing operation

private:
    HFONT CurrentFont();
    void Changed();

    int width_, height_;
    UniqueDc dc_;
    UniqueGdiObject bitmap_;
    HGDIOBJ originalBitmap_ = nullptr;
    UniqueGdiObject font_;
    TFont fontMade_;  // what font_ was made from
    HGDIOBJ originalFont_ = nullptr;
};
