// Forms: top-level windows built from a form resource. A derived form class
// names its control fields and its event handlers; LoadFromResource builds
// the window, binds both by name and runs the creation event.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kit/component.h"
#include "kit/controls.h"
#include "kit/form_resource.h"
#include "kit/win_handles.h"

class TApplication;

class TForm : public TObject {
public:
    ~TForm() override;

    HWND Handle() const { return hwnd_; }
    const std::string& ClassName() const { return className_; }
    int Left() const;
    int Top() const;
    int Width() const;   // outer size, frame included
    int Height() const;
    void SetLeft(int left);
    void SetTop(int top);
    bool Visible() const { return ::IsWindowVisible(hwnd_) != FALSE; }

    // Makes the form visible; the show event runs first, while it is not
    // yet on screen.
    void Show();
    // The main form ends the application; a modal form ends its modal show
    // with mrCancel; any other form hides.
    void Close();
    // Shows the form with the application's other windows disabled and
    // returns its modal result when it closes (mrCancel on every way of
    // closing, and when the application ends meanwhile).
    TModalResult ShowModal();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;

    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    explicit TForm(TApplication* owner);

    // Binds a control field of the derived class to the control of that name.
    struct FieldBinding {
        const char* name;
        std::function<bool(TControl*)> assign;  // false when the kind differs
    };
    template <typename T>
    static FieldBinding Field(const char* name, T*& field) {
        return {name, [&field](TControl* control) {
                    field = dynamic_cast<T*>(control);
                    return field != nullptr;
                }};
    }
    struct HandlerBinding {
        const char* name;
        TNotifyEvent handler;
    };

    // Reads the RT_RCDATA resource `resourceName` of the running module,
    // builds the window (hidden) and its controls, binds the fields and the
    // handlers the resource names, and then runs the creation event (an
    // exception there is shown, and creation goes on). A missing resource
    // raises EResNotFound; a malformed one, a missing field or an unknown
    // handler name EFormResourceError.
    void LoadFromResource(const char* resourceName, const std::vector<FieldBinding>& fields,
                          const std::vector<HandlerBinding>& handlers);

private:
    RECT Bounds() const;  // outer rectangle in screen coordinates
    void Build(const FormDesc& desc);
    void Bind(const FormDesc& desc, const std::string& resourceName, const std::vector<FieldBinding>& fields,
              const std::vector<HandlerBinding>& handlers);
    TControl* FindControl(HWND hwnd) const;

    TApplication* application_;
    HWND hwnd_ = nullptr;
    std::string className_;
    UniqueGdiObject font_;
    std::vector<std::unique_ptr<TControl>> controls_;
    HWND focused_ = nullptr;  // control to refocus when the form is activated again
    bool shownOnce_ = false;
    bool inModalShow_ = false;
    TModalResult modalResult_ = mrNone;
};
