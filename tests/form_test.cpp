// The window layer in process: a form built from its resource, its events,
// every way of ending a modal show, and an exception leaving a handler.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "kit/application.h"
#include "kit/text.h"

namespace {

class TFormT : public TForm {
public:
    explicit TFormT(TApplication* owner) : TForm(owner) {
        LoadFromResource("TFORMT", {Field("Close1", Close1), Field("Raise1", Raise1)},
                         {{"FormCreate", [this](TObject*) { ++created; }},
                          {"FormShow", [this](TObject*) { visibleAtShow = Visible(); ++shown; }},
                          {"Close1Click", [this](TObject*) { Close(); }},
                          {"Raise1Click", [](TObject*) { throw Exception("ハンドラの例外"); }}});
    }
    TButton* Close1 = nullptr;
    TButton* Raise1 = nullptr;
    int created = 0;
    int shown = 0;
    bool visibleAtShow = true;
};

// Runs `step` once from a thread timer, i.e. from inside a modal loop.
std::function<void()> pendingStep;
void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    auto step = std::move(pendingStep);
    if (step) step();
}
void Later(std::function<void()> step, UINT ms = 20) {
    pendingStep = std::move(step);
    ::SetTimer(nullptr, 0, ms, RunStep);
}

TFormT* MakeForm() {
    TFormT* form = nullptr;
    Application->CreateForm(form);
    return form;
}

TEST(Form, IsBuiltFromItsResourceAndRunsItsEvents) {
    TFormT* form = MakeForm();
    EXPECT_EQ(form->created, 1);
    EXPECT_EQ(form->shown, 0);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(WideToUtf8(L"テスト"), [&] {
        wchar_t text[32] = {};
        ::GetWindowTextW(form->Handle(), text, 32);
        return WideToUtf8(text);
    }());
    EXPECT_EQ(form->Width(), 300);
    EXPECT_EQ(form->Close1->Left(), 10);
    // The controls use the window's font as the resource names it.
    auto font = reinterpret_cast<HFONT>(::SendMessageW(form->Close1->Handle(), WM_GETFONT, 0, 0));
    LOGFONTW lf = {};
    ASSERT_EQ(::GetObjectW(font, sizeof(lf), &lf), int(sizeof(lf)));
    EXPECT_EQ(std::wstring(lf.lfFaceName), L"ＭＳ Ｐゴシック");
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_TRUE(form->Close1->Visible());
    // Moving by Left and Top keeps the size.
    form->SetLeft(-3);
    form->SetTop(7);
    EXPECT_EQ(form->Left(), -3);
    EXPECT_EQ(form->Top(), 7);
    EXPECT_EQ(form->Height(), 200);
}

struct CloseWay {
    const char* name;
    std::function<void(TFormT*)> close;
};

TEST(Form, ShowModalEndsWithCancelOnEveryWayOfClosing) {
    TFormT* form = MakeForm();
    const CloseWay ways[] = {
        {"button calling Close", [](TFormT* f) { ::PostMessageW(f->Close1->Handle(), BM_CLICK, 0, 0); }},
        {"WM_CLOSE", [](TFormT* f) { ::PostMessageW(f->Handle(), WM_CLOSE, 0, 0); }},
        {"title bar close", [](TFormT* f) { ::PostMessageW(f->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Alt+F4", [](TFormT* f) { ::PostMessageW(f->Handle(), WM_SYSKEYDOWN, VK_F4, 1 | (1u << 29)); }},
    };
    int showings = 0;
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        Later([&] {
            EXPECT_TRUE(form->Visible());
            way.close(form);
        });
        EXPECT_EQ(form->ShowModal(), mrCancel);
        EXPECT_FALSE(form->Visible()) << "a closed modal form hides";
        EXPECT_FALSE(form->visibleAtShow) << "the show event ran after the window appeared";
        EXPECT_EQ(form->shown, ++showings) << "the show event runs at every showing";
    }
}

TEST(Form, AnExceptionLeavingAHandlerIsShownAndGoesNoFurther) {
    TFormT* form = MakeForm();
    std::wstring caption, text;
    // Inside the modal show: press the raising button, read the error box
    // when it is up and press its OK, then close the form.
    Later([&] {
        ::PostMessageW(form->Raise1->Handle(), BM_CLICK, 0, 0);
        Later([&] {
            HWND box = ::FindWindowW(L"#32770", nullptr);
            ASSERT_NE(box, nullptr) << "no error box";
            wchar_t buffer[128] = {};
            ::GetWindowTextW(box, buffer, 128);
            caption = buffer;
            ::GetDlgItemTextW(box, 0xFFFF, buffer, 128);
            text = buffer;
            EXPECT_FALSE(::IsWindowEnabled(form->Handle())) << "the form stays usable under the box";
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            Later([&] { form->Close(); }, 50);
        }, 200);
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(text, L"ハンドラの例外.");
    EXPECT_EQ(caption, L"form_test");  // from form_test.exe: the first letter stays
    EXPECT_TRUE(::IsWindowEnabled(form->Handle())) << "the form is enabled again after the box";
}

TEST(Form, MissingResourceOrBindingFailsConstruction) {
    struct Missing : TForm {
        explicit Missing(TApplication* owner) : TForm(owner) { LoadFromResource("TFORMX", {}, {}); }
    };
    struct Unbound : TForm {
        TLabel* Label9 = nullptr;
        explicit Unbound(TApplication* owner) : TForm(owner) {
            LoadFromResource("TFORMT", {Field("Label9", Label9)}, {});
        }
    };
    struct WrongKind : TForm {
        TLabel* Close1 = nullptr;  // a button in the resource
        explicit WrongKind(TApplication* owner) : TForm(owner) {
            LoadFromResource("TFORMT", {Field("Close1", Close1)}, {});
        }
    };
    Missing* m = nullptr;
    try {
        Application->CreateForm(m);
        ADD_FAILURE() << "a missing resource was accepted";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "TFORMX リソースが見つかりません");
    }
    EXPECT_EQ(m, nullptr);
    Unbound* u = nullptr;
    EXPECT_THROW(Application->CreateForm(u), EFormResourceError);
    WrongKind* w = nullptr;
    EXPECT_THROW(Application->CreateForm(w), EFormResourceError);
    // The handlers named by TFORMT (FormCreate, ...) are not offered either.
    EXPECT_EQ(u, nullptr);
    EXPECT_EQ(w, nullptr);
}

}  // namespace
