// Steps the GUI tests share: starting SETUP.exe the way a user does, finding
// its windows, and the checks of a message box and of a control.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/gui/gui_env.h"
#include "tests/gui/setup_process.h"
#include "tests/gui/ui_probe.h"

inline const std::wstring kMainClass = L"TForm1";
inline const std::wstring kNoticeClass = L"TForm3";
inline const std::wstring kMainCaption = L"アップデーター";

// Starts SETUP.exe (or a copy) with `workDir` as current directory.
inline std::unique_ptr<SetupProcess> StartSetup(const std::wstring& workDir, const std::wstring& exe = L"") {
    return std::make_unique<SetupProcess>(exe.empty() ? Config().setupExe : exe, workDir);
}

// A control's place in its window's client area.
struct Place {
    int left, top, width, height;
};

// Expects a control of the window: kind, text, place, states.
inline void ExpectControl(const ControlView& c, const wchar_t* windowClass, const std::wstring& text, Place place,
                          bool visible, bool enabled = true) {
    ASSERT_NE(c.hwnd, nullptr) << "no control with text";
    EXPECT_EQ(c.windowClass, windowClass);
    EXPECT_EQ(c.text, text);
    EXPECT_EQ(c.rect.left, place.left);
    EXPECT_EQ(c.rect.top, place.top);
    EXPECT_EQ(c.rect.right - c.rect.left, place.width);
    EXPECT_EQ(c.rect.bottom - c.rect.top, place.height);
    EXPECT_EQ(c.visible, visible);
    EXPECT_EQ(c.enabled, enabled);
}

// Expects the application's error box: the caption "Setup", the stop icon,
// one OK button and `text`.
inline void ExpectErrorBox(const MessageBoxView& box, const std::wstring& text) {
    ASSERT_NE(box.hwnd, nullptr) << "no message box appeared";
    EXPECT_EQ(box.caption, L"Setup");
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.icon, MessageBoxView::Stop);
    ASSERT_EQ(box.buttons.size(), 1u);
    EXPECT_EQ(box.buttons[0], L"OK");
}

// Presses Enter in the box and waits for it to go.
inline void DismissBox(const MessageBoxView& box) {
    PressKey(box.hwnd, VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box.hwnd) || !::IsWindowVisible(box.hwnd); },
                        std::chrono::seconds(5)))
        << "the box did not close on Enter";
}

// The three buttons of the main window, found by their texts.
struct MainButtons {
    ControlView start, exit, change;
};
inline MainButtons ButtonsOf(HWND main) {
    return {ControlWithText(main, L"アップデート開始"), ControlWithText(main, L"終了"),
            ControlWithText(main, L"アップデート先変更")};
}
