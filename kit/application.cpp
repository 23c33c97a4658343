// The application object and its message loop.
#include "kit/application.h"

#include "kit/app_text.h"
#include "kit/message_box.h"
#include "kit/window_thunk.h"

namespace {
TApplication theApplication;
}  // namespace

TApplication* const Application = &theApplication;

TApplication::~TApplication() {
    // Forms go in the reverse order of their creation: the dialogs that the
    // main form owns go before it.
    while (!forms_.empty()) forms_.pop_back();
}

void TApplication::Initialize() { terminated_ = false; }

void TApplication::Adopt(std::unique_ptr<TForm> form) {
    if (!mainForm_) mainForm_ = form.get();
    forms_.push_back(std::move(form));
}

void TApplication::Run() {
    if (mainForm_) mainForm_->Show();
    while (!terminated_) HandleMessage();
}

bool TApplication::IsOwnForm(HWND hwnd) const {
    for (const auto& f : forms_)
        if (f->Handle() == hwnd) return true;
    return false;
}

void TApplication::DispatchOne(MSG& msg) {
    // Dialog keys (Tab between controls, Enter on a focused button) work in
    // every form.
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsOwnForm(root) && ::IsDialogMessageW(root, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

bool TApplication::HandleMessage() {
    if (terminated_) return false;
    MSG msg;
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        terminated_ = true;
        return false;
    }
    DispatchOne(msg);
    return !terminated_;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (!terminated_ && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        DispatchOne(msg);
    }
}

void TApplication::Terminate() {
    if (!terminated_) ::PostQuitMessage(0);
    terminated_ = true;
}

std::string TApplication::Title() const {
    wchar_t path[MAX_PATH * 2];
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return TitleFromExePath(std::wstring(path, n));
}

void TApplication::ShowException(const Exception& e) {
    ShowMessageBox(WithClosingPeriod(e.Message()), Title(), MB_OK | MB_ICONSTOP);
}

void TApplication::Dispatch(const TNotifyEvent& handler, TObject* sender) {
    if (!handler) return;
    try {
        handler(sender);
    } catch (...) {
        ShowCurrentException();
    }
}

void ShowCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (const Exception& e) {
            Application->ShowException(e);
        } catch (const std::exception& e) {
            Application->ShowException(Exception(e.what()));
        } catch (...) {
            Application->ShowException(Exception("不明な例外が発生しました"));
        }
    } catch (...) {
        // Building the box's texts failed (out of memory): nothing can be shown.
    }
}
