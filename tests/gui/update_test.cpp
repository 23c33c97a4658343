// The update as a person runs it: the start button, the completion box, the
// written file; and every failure with its box, the window staying with its
// buttons disabled.
#include "tests/gui/scenario.h"
#include "tests/gui/pe_patch.h"

#include <cstdio>
#include <functional>

namespace {

std::vector<std::uint8_t> OldGame() { return std::vector<std::uint8_t>(3000, 0x5A); }

void ExpectButtonsDisabled(HWND main) {
    MainButtons b = ButtonsOf(main);
    EXPECT_FALSE(b.start.enabled);
    EXPECT_FALSE(b.exit.enabled);
    EXPECT_FALSE(b.change.enabled);
    EXPECT_FALSE(b.change.visible);
}

struct UpdateCase {
    const char* name;
    bool trailingBackslash;  // GameDir as stored
    WPARAM closeKey;         // how the completion box is closed
};

TEST(Update, TheStartButtonWritesThePayloadAndReportsCompletion) {
    const std::vector<std::uint8_t> payload = ReadBytes(Config().payload);
    ASSERT_FALSE(payload.empty()) << "cannot read the payload";
    const UpdateCase cases[] = {
        {"folder with backslash, box closed with Enter", true, VK_RETURN},
        {"folder without backslash, box closed with Esc", false, VK_ESCAPE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring dir = ScratchDir("update");
        // Without the backslash the file lands beside the folder: ...\updateOVAK.EXE.
        std::wstring gameDir = c.trailingBackslash ? dir : dir.substr(0, dir.size() - 1);
        std::wstring target = gameDir + L"OVAK.EXE";
        WriteBytes(target, OldGame());
        SetGameDir(gameDir);
        MutexWatch mutex;
        {
            auto setup = StartSetup(dir);
            HWND main = WaitForTopWindow(setup->Pid(), kMainClass);
            ASSERT_NE(main, nullptr);
            ASSERT_TRUE(mutex.Open());

            LARGE_INTEGER frequency, clicked, shown;
            ::QueryPerformanceFrequency(&frequency);
            ::QueryPerformanceCounter(&clicked);
            Click(ButtonsOf(main).start.hwnd);
            HWND boxWindow = WaitForTopWindow(setup->Pid(), L"#32770", L"情報");
            ::QueryPerformanceCounter(&shown);
            ASSERT_NE(boxWindow, nullptr) << "no completion box";
            double ms = 1000.0 * double(shown.QuadPart - clicked.QuadPart) / double(frequency.QuadPart);
            std::printf("click to completion box: %.1f ms (payload %zu bytes)\n", ms, payload.size());

            MessageBoxView box = WaitForMessageBox(setup->Pid());
            EXPECT_EQ(box.caption, L"情報");
            EXPECT_EQ(box.text, L"アップデート完了しました");
            EXPECT_EQ(box.icon, MessageBoxView::Information);
            ASSERT_EQ(box.buttons.size(), 1u);
            EXPECT_EQ(box.buttons[0], L"OK");
            RECT r = WindowRect(box.hwnd);
            EXPECT_EQ(r.left, (::GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2) << "box not centred";
            EXPECT_EQ(r.top, (::GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2) << "box not centred";
            ExpectButtonsDisabled(main);
            EXPECT_EQ(ReadBytes(target), payload) << "the target is complete before the box shows";

            PressKey(box.hwnd, c.closeKey);
            ASSERT_TRUE(setup->WaitForExit()) << "SETUP did not end after the completion box";
            EXPECT_EQ(setup->ExitCode(), 0u);
        }
        EXPECT_TRUE(mutex.WasReleased());
        EXPECT_EQ(ReadBytes(target), payload);
    }
}

struct FailureCase {
    const char* name;
    // Prepares the folder and returns the SETUP.exe to start ("" = the real one).
    std::function<std::wstring(const std::wstring& dir)> prepare;
    std::function<std::wstring(const std::wstring& dir)> gameDir;
    std::function<std::wstring(const std::wstring& dir)> message;
    bool targetExists;  // a previous OVAK.EXE is there and must keep its bytes
};

std::wstring Same(const std::wstring& dir) { return dir; }

TEST(UpdateFailure, EachFailureShowsItsBoxAndLeavesTheWindowWithButtonsDisabled) {
    HANDLE held = INVALID_HANDLE_VALUE;
    const FailureCase cases[] = {
        {"folder missing", [](const std::wstring&) { return std::wstring(); },
         [](const std::wstring& d) { return d + L"missing\\"; },
         [](const std::wstring& d) { return L"ファイル " + d + L"missing\\OVAK.EXE を作成できません."; }, false},
        {"target held open by a running program",
         [&held](const std::wstring& d) {
             held = ::CreateFileW((d + L"OVAK.EXE").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             return std::wstring();
         },
         Same, [](const std::wstring& d) { return L"ファイル " + d + L"OVAK.EXE を作成できません."; }, true},
        {"read-only target",
         [](const std::wstring& d) {
             ::SetFileAttributesW((d + L"OVAK.EXE").c_str(), FILE_ATTRIBUTE_READONLY);
             return std::wstring();
         },
         Same, [](const std::wstring& d) { return L"ファイル " + d + L"OVAK.EXE を作成できません."; }, true},
        {"no payload resource",
         [](const std::wstring& d) {
             return SetupVariant(d, [](auto& image) { RenameRcData(image, L"EXE", L"EXD"); });
         },
         Same,
         [](const std::wstring&) { return std::wstring(L"EXE リソースが見つかりません."); }, true},
        {"payload cut short",
         [](const std::wstring& d) {
             std::vector<std::uint8_t> container = SetupResource(L"EXE");
             container.resize(container.size() / 2);
             return SetupVariant(d, [&](auto& image) { ReplaceRcData(image, L"EXE", container); });
         },
         Same, [](const std::wstring&) { return std::wstring(L"ストリームからの読み込みエラー."); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring dir = ScratchDir("failure");
        std::wstring gameDir = c.gameDir(dir);
        std::wstring target = gameDir + L"OVAK.EXE";
        if (c.targetExists) WriteBytes(target, OldGame());
        std::wstring exe = c.prepare(dir);
        SetGameDir(gameDir);
        auto setup = StartSetup(dir, exe);
        HWND main = WaitForTopWindow(setup->Pid(), kMainClass);
        ASSERT_NE(main, nullptr);
        auto clicked = std::chrono::steady_clock::now();
        Click(ButtonsOf(main).start.hwnd);
        HWND boxWindow = WaitForTopWindow(setup->Pid(), L"#32770", L"Setup");
        std::printf("click to error box (%s): %.1f ms\n", c.name,
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - clicked).count());
        ASSERT_NE(boxWindow, nullptr) << "no error box";
        MessageBoxView box = WaitForMessageBox(setup->Pid());
        ExpectErrorBox(box, c.message(dir));
        ExpectButtonsDisabled(main);
        DismissBox(box);

        // The window stays, its buttons disabled; no completion box follows.
        ::Sleep(300);
        EXPECT_TRUE(setup->Running());
        EXPECT_TRUE(::IsWindowVisible(main));
        EXPECT_EQ(FindTopWindow(setup->Pid(), L"#32770"), nullptr) << "a box followed the failure";
        ExpectButtonsDisabled(main);
        if (held != INVALID_HANDLE_VALUE) {
            ::CloseHandle(held);
            held = INVALID_HANDLE_VALUE;
        }
        if (c.targetExists)
            EXPECT_EQ(ReadBytes(target), OldGame()) << "the failed update changed the target";
        else
            EXPECT_FALSE(FileExists(target));

        CloseByTitleBar(main);  // the only way on
        ASSERT_TRUE(setup->WaitForExit());
        EXPECT_EQ(setup->ExitCode(), 0u);
    }
}

}  // namespace
