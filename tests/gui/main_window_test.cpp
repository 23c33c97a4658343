// The main window as a person sees it: its place on the screen, caption,
// controls and their states, the banner, and the exit button.
#include "tests/gui/scenario.h"

namespace {

int Blue(COLORREF c) { return GetBValue(c); }
bool IsPureBlue(COLORREF c, int blue) { return GetRValue(c) == 0 && GetGValue(c) == 0 && GetBValue(c) == blue; }

// White text pixels in the banner rows [top, bottom).
int WhitePixels(const ClientCapture& banner, int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < banner.Width(); ++x) {
            COLORREF c = banner.Pixel(x, y);
            if (GetRValue(c) > 200 && GetGValue(c) > 200) ++count;
        }
    return count;
}

TEST(MainWindow, ShowsItsLayoutAndBannerAndExitsOnItsButton) {
    std::wstring dir = ScratchDir("main_window");
    SetGameDir(dir);
    MutexWatch mutex;
    {
        auto setup = StartSetup(dir);
        HWND main = WaitForTopWindow(setup->Pid(), kMainClass);
        ASSERT_NE(main, nullptr) << "the main window did not appear";
        EXPECT_EQ(FindTopWindow(setup->Pid(), kNoticeClass), nullptr) << "notice shown although GameDir is set";
        ASSERT_TRUE(mutex.Open()) << "no mutex ZOR_SETUP while SETUP runs";

        EXPECT_EQ(TextOf(main), kMainCaption);
        RECT outer = WindowRect(main);
        EXPECT_EQ(outer.right - outer.left, 538);
        EXPECT_EQ(outer.bottom - outer.top, 291);

        std::vector<ControlView> controls = ControlsOf(main);
        ASSERT_EQ(controls.size(), 4u);
        // Z order is Tab order: the banner, then Button1, Button3, Button4.
        ExpectControl(controls[0], L"TImage", L"", {8, 8, 512, 193}, true);
        ExpectControl(controls[1], L"Button", L"アップデート開始", {8, 216, 113, 33}, true);
        ExpectControl(controls[2], L"Button", L"終了", {432, 216, 83, 33}, true);
        ExpectControl(controls[3], L"Button", L"アップデート先変更", {296, 216, 113, 33}, false);

        HWND image = controls[0].hwnd;
        auto checkBanner = [&](const char* when) {
            SCOPED_TRACE(when);
            // Wait until the screen shows the top row (a repaint may be on its way).
            WaitFor([&] { return IsPureBlue(ClientPixel(image, 511, 0), 255); }, std::chrono::seconds(3));
            ClientCapture banner(image);
            ASSERT_EQ(banner.Width(), 512);
            ASSERT_EQ(banner.Height(), 193);
            // b = ((193 - row) * 255) / 193, sampled in the last column, clear of the text.
            for (auto [row, blue] : {std::pair{0, 255}, {1, 253}, {96, 128}, {192, 1}})
                EXPECT_TRUE(IsPureBlue(banner.Pixel(511, row), blue))
                    << "row " << row << ": blue " << Blue(banner.Pixel(511, row)) << ", want " << blue;
            // Each row is one colour across the whole width, text aside.
            EXPECT_TRUE(IsPureBlue(banner.Pixel(0, 96), 128));
            EXPECT_EQ(WhitePixels(banner, 0, 10), 0) << "text above the first line";
            EXPECT_GT(WhitePixels(banner, 10, 26), 100) << "first text line missing";
            EXPECT_GT(WhitePixels(banner, 30, 46), 100) << "second text line missing";
            EXPECT_GT(WhitePixels(banner, 50, 66), 100) << "third text line missing";
            EXPECT_EQ(WhitePixels(banner, 70, 128), 0) << "text in the gap above the fourth line";
            EXPECT_GT(WhitePixels(banner, 130, 146), 100) << "fourth text line missing";
            EXPECT_EQ(WhitePixels(banner, 150, 193), 0) << "text below the fourth line";
        };
        checkBanner("as shown");
        // The whole window erased and repainted: the banner comes back from
        // the kept bitmap, without being drawn again.
        ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        checkBanner("after a repaint");

        Click(ButtonsOf(main).exit.hwnd);
        ASSERT_TRUE(setup->WaitForExit()) << "the exit button did not end SETUP";
        EXPECT_EQ(setup->ExitCode(), 0u);
    }
    EXPECT_TRUE(mutex.WasReleased()) << "SETUP ended without releasing its mutex";
    EXPECT_FALSE(FileExists(dir + L"OVAK.EXE")) << "the exit button wrote the target";
}

// Centred on the primary screen's full size; the expected place comes from
// the screen the run was started on (1024x768: 243,238; 800x600: 131,154;
// 535x290, smaller than the window: -1,0, differences halved toward 0).
TEST(Centring, MainWindow) {
    if (!Config().haveExpectedMain) GTEST_SKIP() << "no --expect-main given";
    std::wstring dir = ScratchDir("centring_main");
    SetGameDir(dir);
    auto setup = StartSetup(dir);
    HWND main = WaitForTopWindow(setup->Pid(), kMainClass);
    ASSERT_NE(main, nullptr);
    RECT outer = WindowRect(main);
    EXPECT_EQ(outer.left, Config().expectedMain.x);
    EXPECT_EQ(outer.top, Config().expectedMain.y);
    Click(ButtonsOf(main).exit.hwnd);
    ASSERT_TRUE(setup->WaitForExit());
}

// The notice dialog centres itself with the same arithmetic.
TEST(Centring, NoticeDialog) {
    std::wstring dir = ScratchDir("centring_notice");
    DeleteGameDir();
    auto setup = StartSetup(dir);
    HWND notice = WaitForTopWindow(setup->Pid(), kNoticeClass);
    ASSERT_NE(notice, nullptr);
    RECT outer = WindowRect(notice);
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(outer.left, (screenW - width) / 2);
    EXPECT_EQ(outer.top, (screenH - height) / 2);
    Click(ControlWithText(notice, L"終了").hwnd);
    ASSERT_TRUE(setup->WaitForExit());
}

}  // namespace
