// The notice dialog: shown when no install folder is known, before the main
// window; every way of closing it ends the program while the value is still
// missing, and the program goes on when the value appeared meanwhile.
#include "tests/gui/scenario.h"

#include <functional>

namespace {

struct CloseWay {
    const char* name;
    std::function<void(HWND notice)> close;
};

TEST(NoticeDialog, EveryWayOfClosingEndsTheProgramWhileTheFolderIsUnknown) {
    const CloseWay ways[] = {
        {"exit button", [](HWND n) { Click(ControlWithText(n, L"終了").hwnd); }},
        {"title bar", [](HWND n) { CloseByTitleBar(n); }},
        {"Alt+F4", [](HWND n) { PressAltF4(n); }},
    };
    bool layoutChecked = false;
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        std::wstring dir = ScratchDir("notice");
        DeleteGameDir();
        auto setup = StartSetup(dir);
        HWND notice = WaitForTopWindow(setup->Pid(), kNoticeClass);
        ASSERT_NE(notice, nullptr) << "the notice dialog did not appear";
        // It comes up while the main window exists but is not yet on screen.
        EXPECT_EQ(FindTopWindow(setup->Pid(), kMainClass), nullptr);

        if (!layoutChecked) {
            layoutChecked = true;
            EXPECT_EQ(TextOf(notice), L"インストール先を指定してください");
            SIZE client = ClientSize(notice);
            EXPECT_EQ(client.cx, 418);
            EXPECT_EQ(client.cy, 122);
            LONG style = ::GetWindowLongW(notice, GWL_STYLE);
            EXPECT_TRUE(style & WS_SYSMENU);
            EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << "a dialog frame has no sizing";
            std::vector<ControlView> c = ControlsOf(notice);
            ASSERT_EQ(c.size(), 5u);
            // Tab order: the labels, then Button2 (hidden) and Button3.
            ExpectControl(c[0], L"Static",
                          L"インストールが正常に行われていないか、ドライブ構成が変更されたなどの理由",
                          {8, 16, 399, 12}, true);
            ExpectControl(c[1], L"Static", L"ここでインストール先フォルダを特定できません", {8, 32, 239, 12}, true);
            ExpectControl(c[2], L"Static", L"", {8, 152, 4, 12}, true);  // Label6, below the client area
            EXPECT_GE(c[2].rect.top, client.cy) << "Label6 must lie outside the visible area";
            ExpectControl(c[3], L"Button", L"インストール先の指定", {16, 72, 169, 33}, false);
            ExpectControl(c[4], L"Button", L"終了", {320, 72, 81, 33}, true);
        }

        way.close(notice);
        bool mainSeen = false;
        bool exited = WaitFor(
            [&] {
                if (FindTopWindow(setup->Pid(), kMainClass)) mainSeen = true;
                return !setup->Running();
            },
            std::chrono::seconds(20));
        ASSERT_TRUE(exited) << "SETUP did not end after the notice closed";
        EXPECT_EQ(setup->ExitCode(), 0u);
        EXPECT_FALSE(mainSeen) << "the main window showed although the folder is still unknown";
    }
}

TEST(NoticeDialog, TheProgramGoesOnWhenTheFolderBecameKnownMeanwhile) {
    std::wstring dir = ScratchDir("notice_meanwhile");
    DeleteGameDir();
    auto setup = StartSetup(dir);
    HWND notice = WaitForTopWindow(setup->Pid(), kNoticeClass);
    ASSERT_NE(notice, nullptr);
    SetGameDir(dir);  // the user repairs the installation while the notice is up
    Click(ControlWithText(notice, L"終了").hwnd);
    HWND main = WaitForTopWindow(setup->Pid(), kMainClass);
    ASSERT_NE(main, nullptr) << "the main window did not open";
    EXPECT_FALSE(::IsWindowVisible(notice));
    MainButtons b = ButtonsOf(main);
    EXPECT_TRUE(b.start.enabled && b.start.visible);
    Click(b.exit.hwnd);
    ASSERT_TRUE(setup->WaitForExit());
    EXPECT_EQ(setup->ExitCode(), 0u);
}

}  // namespace
