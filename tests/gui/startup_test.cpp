// Start-up: the single-instance guard, a broken form resource, and a
// registry value the lookup rejects.
#include "tests/gui/scenario.h"
#include "tests/gui/pe_patch.h"

#include <functional>
#include <string>

namespace {

std::vector<std::uint8_t> Bytes(const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); }

TEST(Startup, ASecondCopyIsTurnedAwayWhileTheFirstRuns) {
    std::wstring dir = ScratchDir("second_copy");
    SetGameDir(dir);
    auto first = StartSetup(dir);
    HWND main = WaitForTopWindow(first->Pid(), kMainClass);
    ASSERT_NE(main, nullptr);

    auto second = StartSetup(dir);
    bool showedWindow = false;
    bool exited = WaitFor(
        [&] {
            for (HWND w : TopWindowsOf(second->Pid()))
                if (::IsWindowVisible(w)) showedWindow = true;
            return !second->Running();
        },
        std::chrono::seconds(20));
    ASSERT_TRUE(exited) << "the second copy kept running";
    EXPECT_EQ(second->ExitCode(), 1u);
    EXPECT_FALSE(showedWindow) << "the second copy showed a window";
    EXPECT_TRUE(::IsWindowVisible(main)) << "the first copy was affected";

    Click(ButtonsOf(main).exit.hwnd);
    ASSERT_TRUE(first->WaitForExit());
    EXPECT_EQ(first->ExitCode(), 0u);

    // Once the first has ended, a new copy runs normally.
    auto third = StartSetup(dir);
    HWND again = WaitForTopWindow(third->Pid(), kMainClass);
    ASSERT_NE(again, nullptr) << "a copy started after the first ended was turned away";
    Click(ButtonsOf(again).exit.hwnd);
    ASSERT_TRUE(third->WaitForExit());
    EXPECT_EQ(third->ExitCode(), 0u);
}

struct BrokenForm {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> edit;
    const wchar_t* message;
};

TEST(Startup, ABrokenFormResourceShowsOneBoxAndEndsWithExitCodeZero) {
    const BrokenForm cases[] = {
        {"main form missing", [](auto& image) { RenameRcData(image, L"TFORM1", L"TFORM2"); },
         L"TFORM1 リソースが見つかりません."},
        {"main form malformed",
         [](auto& image) {
             ReplaceRcData(image, L"TFORM1", Bytes("window TForm1\n  Width = 538\n  Height = wide\nend\n"));
         },
         // ")" is below "." in code points: no period is added.
         L"フォーム リソース TFORM1 が不正です (3 行目)"},
        {"main form lacks a control the window needs",
         [](auto& image) { ReplaceRcData(image, L"TFORM1", Bytes("window TForm1\n Width = 538\n Height = 291\nend\n")); },
         L"フォーム リソース TFORM1 が不正です (Image1)"},
        {"main form names an unknown handler",
         [](auto& image) {
             std::vector<std::uint8_t> form = SetupResource(L"TFORM1");
             std::string text(form.begin(), form.end());
             text.replace(text.find("OnShow = FormShow"), 17, "OnShow = FormPaint");
             ReplaceRcData(image, L"TFORM1", Bytes(text.substr(0, form.size())));
         },
         L"フォーム リソース TFORM1 が不正です (FormPaint)"},
        {"notice dialog missing", [](auto& image) { RenameRcData(image, L"TFORM3", L"TFORM4"); },
         L"TFORM3 リソースが見つかりません."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring dir = ScratchDir("broken_form");
        SetGameDir(dir);
        std::wstring exe = SetupVariant(dir, c.edit);
        MutexWatch mutex;
        {
            auto setup = StartSetup(dir, exe);
            MessageBoxView box = WaitForMessageBox(setup->Pid());
            EXPECT_TRUE(mutex.Open());
            ExpectErrorBox(box, c.message);
            EXPECT_EQ(FindTopWindow(setup->Pid(), kMainClass), nullptr) << "the main window showed";
            DismissBox(box);
            bool anotherBox = false;
            bool exited = WaitFor(
                [&] {
                    if (FindTopWindow(setup->Pid(), L"#32770")) anotherBox = true;
                    return !setup->Running();
                },
                std::chrono::seconds(20));
            ASSERT_TRUE(exited) << "SETUP kept running after the start-up failure";
            EXPECT_FALSE(anotherBox) << "more than one box";
            EXPECT_EQ(setup->ExitCode(), 0u);
        }
        EXPECT_TRUE(mutex.WasReleased()) << "the mutex was not released";
    }
}

// GameDir of the wrong type: the lookup fails at creation and again after
// the notice; both are shown and the window still opens. With no folder
// known, the start button refuses rather than write into the current folder.
TEST(Startup, LookupErrorsAreShownAndTheStartButtonThenRefusesToWrite) {
    std::wstring dir = ScratchDir("lookup_error");
    SetGameDirDword(1);
    auto setup = StartSetup(dir);
    const std::wstring typeError = L"'GameDir' のデータ型が不正です.";

    MessageBoxView first = WaitForMessageBox(setup->Pid());
    ExpectErrorBox(first, typeError);
    DismissBox(first);
    HWND notice = WaitForTopWindow(setup->Pid(), kNoticeClass);
    ASSERT_NE(notice, nullptr) << "no notice after the failed lookup";
    Click(ControlWithText(notice, L"終了").hwnd);
    MessageBoxView second = WaitForMessageBox(setup->Pid());
    ExpectErrorBox(second, typeError);
    DismissBox(second);

    HWND main = WaitForTopWindow(setup->Pid(), kMainClass);
    ASSERT_NE(main, nullptr) << "the window did not open after the failed lookup";
    MainButtons b = ButtonsOf(main);
    EXPECT_TRUE(b.start.enabled);
    Click(b.start.hwnd);
    MessageBoxView refusal = WaitForMessageBox(setup->Pid());
    ExpectErrorBox(refusal, L"インストール先フォルダを特定できません.");
    DismissBox(refusal);
    EXPECT_FALSE(FileExists(dir + L"OVAK.EXE")) << "wrote OVAK.EXE into the current folder";
    EXPECT_FALSE(ButtonsOf(main).start.enabled);
    CloseByTitleBar(main);
    ASSERT_TRUE(setup->WaitForExit());
    EXPECT_EQ(setup->ExitCode(), 0u);
    DeleteGameDir();
}

}  // namespace
