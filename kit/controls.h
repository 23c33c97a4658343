// The controls a form holds: push buttons, labels and images. Each is a
// child window of its form, made from the form resource's description.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "kit/canvas.h"
#include "kit/component.h"
#include "kit/form_resource.h"

class TControl : public TObject {
public:
    const std::string& Name() const { return name_; }
    HWND Handle() const { return hwnd_; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Enabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }
    void SetEnabled(bool enabled) { ::EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
    bool Visible() const { return (::GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
    void SetVisible(bool visible) { ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

protected:
    explicit TControl(const ControlDesc& desc);
    // Creates the child window; `creator` is passed to WM_NCCREATE.
    void CreateChild(const wchar_t* windowClass, DWORD style, HWND parent, int id, HFONT font,
                     void* creator = nullptr);

    HWND hwnd_ = nullptr;

private:
    std::string name_;
    std::string caption_;
    int left_, top_, width_, height_;
    bool visible_;
};

class TButton : public TControl {
public:
    TButton(const ControlDesc& desc, HWND parent, int id, HFONT font);
    TNotifyEvent OnClick;
};

class TLabel : public TControl {
public:
    TLabel(const ControlDesc& desc, HWND parent, int id, HFONT font);
};

// Shows a bitmap of its own size that is drawn through Canvas() and kept
// across repaints; until the canvas is first used it shows the form colour.
class TImage : public TControl {
public:
    TImage(const ControlDesc& desc, HWND parent, int id);
    TCanvas* Canvas();  // made on first use
    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    std::unique_ptr<TCanvas> canvas_;
};
