// Forms: building the window from its form resource, binding by name, and
// showing, closing and modal showing.
#include "kit/form.h"

#include <algorithm>
#include <optional>

#include "kit/application.h"
#include "kit/exceptions.h"
#include "kit/modal_windows.h"
#include "kit/resource_stream.h"
#include "kit/text.h"
#include "kit/window_thunk.h"

namespace {

constexpr int kFirstControlId = 100;  // above IDOK and IDCANCEL, which dialog keys send

std::string LoadResourceText(const std::string& name) {
    TResourceStream resource(::GetModuleHandleW(nullptr), name);
    return std::string(reinterpret_cast<const char*>(resource.Memory()), resource.Size());
}

// A dialog frame shows no icon in its title bar, so its class carries none.
void RegisterFormClass(const std::wstring& className, bool withIcon) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(instance, className.c_str(), &wc)) return;
    wc.lpfnWndProc = WindowThunk<TForm>;
    wc.hInstance = instance;
    wc.hIcon = withIcon ? ::LoadIconW(instance, L"MAINICON") : nullptr;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className.c_str();
    if (!::RegisterClassExW(&wc)) throw Exception("ウィンドウ クラスを登録できません");
}

// Controls in creation order: those without a tab stop as written, then the
// tab stops by tab order, so that Tab walks them in that order.
std::vector<const ControlDesc*> CreationOrder(const FormDesc& desc) {
    std::vector<const ControlDesc*> order;
    for (const auto& c : desc.controls)
        if (c.tabOrder < 0) order.push_back(&c);
    std::size_t firstTab = order.size();
    for (const auto& c : desc.controls) {
        if (c.tabOrder < 0) continue;
        std::size_t at = order.size();  // insertion keeps the few tab stops sorted
        while (at > firstTab && order[at - 1]->tabOrder > c.tabOrder) --at;
        order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), &c);
    }
    return order;
}

}  // namespace

TForm::TForm(TApplication* owner) : application_(owner) {}

TForm::~TForm() {
    // The window goes first, while the controls its messages reach still exist.
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void TForm::LoadFromResource(const char* resourceName, const std::vector<FieldBinding>& fields,
                             const std::vector<HandlerBinding>& handlers) {
    FormDesc desc = ParseFormResource(LoadResourceText(resourceName), resourceName);
    Build(desc);
    Bind(desc, resourceName, fields, handlers);
    application_->Dispatch(OnCreate, this);
}

void TForm::Build(const FormDesc& desc) {
    className_ = desc.className;
    std::wstring className = Utf8ToWide(desc.className);
    RegisterFormClass(className, desc.border != BorderStyle::Dialog);

    DWORD style = WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    if (desc.border == BorderStyle::Dialog) {
        style |= WS_CAPTION | WS_SYSMENU;
        exStyle |= WS_EX_DLGMODALFRAME;
    } else {
        style |= WS_OVERLAPPEDWINDOW;
    }
    int width = desc.width, height = desc.height;
    if (desc.clientWidth || desc.clientHeight) {
        RECT r = {0, 0, desc.clientWidth, desc.clientHeight};
        ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
        width = r.right - r.left;
        height = r.bottom - r.top;
    }
    TForm* mainForm = application_->MainForm();
    HWND owner = mainForm ? mainForm->Handle() : nullptr;
    hwnd_ = ::CreateWindowExW(exStyle, className.c_str(), Utf8ToWide(desc.caption).c_str(), style, desc.left,
                              desc.top, width, height, owner, nullptr, ::GetModuleHandleW(nullptr), this);
    if (!hwnd_) throw Exception("ウィンドウ " + desc.className + " を作成できません");

    if (!desc.fontName.empty()) {
        font_.Reset(::CreateFontW(desc.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  static_cast<BYTE>(desc.fontCharset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Utf8ToWide(desc.fontName).c_str()));
        if (!font_) throw Exception("フォントを作成できません");
        ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    }
    HFONT font = static_cast<HFONT>(font_.Get());
    int id = kFirstControlId;
    for (const ControlDesc* c : CreationOrder(desc)) {
        if (c->kind == "TButton")
            controls_.push_back(std::make_unique<TButton>(*c, hwnd_, id++, font));
        else if (c->kind == "TLabel")
            controls_.push_back(std::make_unique<TLabel>(*c, hwnd_, id++, font));
        else
            controls_.push_back(std::make_unique<TImage>(*c, hwnd_, id++));
    }
}

void TForm::Bind(const FormDesc& desc, const std::string& resourceName, const std::vector<FieldBinding>& fields,
                 const std::vector<HandlerBinding>& handlers) {
    auto fail = [&](const std::string& what) {
        throw EFormResourceError(FormatMessage1(msg::kFormMalformed, resourceName) + " (" + what + ")");
    };
    for (const auto& field : fields) {
        auto it = std::find_if(controls_.begin(), controls_.end(),
                               [&](const auto& c) { return c->Name() == field.name; });
        if (it == controls_.end() || !field.assign(it->get())) fail(field.name);
    }
    auto handler = [&](const std::string& name) -> TNotifyEvent {
        if (name.empty()) return {};
        for (const auto& h : handlers)
            if (name == h.name) return h.handler;
        fail(name);
        return {};
    };
    OnCreate = handler(desc.onCreate);
    OnShow = handler(desc.onShow);
    for (const auto& control : controls_) {
        auto* button = dynamic_cast<TButton*>(control.get());
        if (!button) continue;
        for (const auto& c : desc.controls)
            if (c.name == button->Name()) button->OnClick = handler(c.onClick);
    }
}

RECT TForm::Bounds() const {
    RECT r;
    ::GetWindowRect(hwnd_, &r);
    return r;
}
int TForm::Left() const { return Bounds().left; }
int TForm::Top() const { return Bounds().top; }
int TForm::Width() const { return Bounds().right - Bounds().left; }
int TForm::Height() const { return Bounds().bottom - Bounds().top; }
void TForm::SetLeft(int left) {
    ::SetWindowPos(hwnd_, nullptr, left, Top(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void TForm::SetTop(int top) {
    ::SetWindowPos(hwnd_, nullptr, Left(), top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show() {
    if (Visible()) return;
    application_->Dispatch(OnShow, this);
    bool isMain = application_->MainForm() == this;
    if (isMain && application_->Terminated()) return;  // closed by its own show event
    // The first showing of the main form follows the show command the
    // program was started with.
    ::ShowWindow(hwnd_, isMain && !shownOnce_ ? SW_SHOWDEFAULT : SW_SHOW);
    ::UpdateWindow(hwnd_);
    shownOnce_ = true;
}

void TForm::Close() {
    if (inModalShow_) {
        modalResult_ = mrCancel;
    } else if (application_->MainForm() == this) {
        application_->Terminate();
    } else {
        ::ShowWindow(hwnd_, SW_HIDE);
    }
}

TModalResult TForm::ShowModal() {
    if (Visible() || inModalShow_) throw Exception("表示中のウィンドウはモーダルにできません");
    std::optional<DisabledTaskWindows> disabled(std::in_place, hwnd_);
    inModalShow_ = true;
    modalResult_ = mrNone;
    Show();
    while (modalResult_ == mrNone && !application_->Terminated()) application_->HandleMessage();
    // Enable the others before hiding, so that activation returns to them.
    disabled.reset();
    ::ShowWindow(hwnd_, SW_HIDE);
    inModalShow_ = false;
    return modalResult_ == mrNone ? mrCancel : modalResult_;
}

TControl* TForm::FindControl(HWND hwnd) const {
    for (const auto& c : controls_)
        if (c->Handle() == hwnd) return c.get();
    return nullptr;
}

LRESULT TForm::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            auto* button = dynamic_cast<TButton*>(FindControl(reinterpret_cast<HWND>(lParam)));
            // A disabled or hidden button cannot be pressed, whatever message arrives.
            if (button && button->Enabled() && button->Visible()) application_->Dispatch(button->OnClick, button);
        }
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(hwnd, focus)) focused_ = focus;
        } else {
            HWND target = focused_ && ::IsWindow(focused_) ? focused_ : ::GetNextDlgTabItem(hwnd, nullptr, FALSE);
            if (target && ::IsWindowEnabled(target)) ::SetFocus(target);
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}
