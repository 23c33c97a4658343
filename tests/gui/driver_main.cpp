// The GUI test driver: a Windows program that starts SETUP.exe and checks,
// through Win32, what a person sees and does. Runs under Wine on a screen
// of known size (tests/gui/run-gui-test).
//
//   gui_driver --setup=PATH --payload=PATH [--expect-main=LEFT,TOP] [gtest flags]
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/gui/gui_env.h"

namespace {

// Where the requested face is missing, Wine substitutes by this table, as
// Windows substitutes its own fonts: the IPA proportional gothic stands in
// for the proportional gothic face the windows ask for.
void SubstituteJapaneseFace() {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    const wchar_t face[] = L"IPAPGothic";
    ::RegSetValueExW(key, L"ＭＳ Ｐゴシック", 0, REG_SZ, reinterpret_cast<const BYTE*>(face), sizeof(face));
    ::RegCloseKey(key);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    GuiConfig& config = Config();
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--setup=", 0) == 0) config.setupExe = ToWindowsPath(arg.substr(8));
        if (arg.rfind("--payload=", 0) == 0) config.payload = ToWindowsPath(arg.substr(10));
        if (arg.rfind("--expect-main=", 0) == 0 &&
            std::sscanf(arg.c_str() + 14, "%ld,%ld", &config.expectedMain.x, &config.expectedMain.y) == 2)
            config.haveExpectedMain = true;
    }
    if (config.setupExe.empty() || config.payload.empty()) {
        std::fprintf(stderr, "usage: gui_driver --setup=PATH --payload=PATH [--expect-main=LEFT,TOP]\n");
        return 2;
    }
    std::printf("screen %dx%d\n", ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    SubstituteJapaneseFace();
    return RUN_ALL_TESTS();
}
