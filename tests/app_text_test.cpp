// The texts of the error box: the closing period by code point, and (on
// Windows) the application title from the executable's name.
#include <gtest/gtest.h>

#include "kit/app_text.h"

namespace {

TEST(AppText, PeriodIsAddedAfterCharactersAboveIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"エラー", "エラー."},        // any non-ASCII character is above "."
        {"abc", "abc."},
        {"abc.", "abc."},             // "." itself: not above
        {"abc!", "abc!"},             // 0x21 below 0x2E
        {"(3 行目)", "(3 行目)"},     // ")" 0x29 below
        {"path/", "path/."},          // "/" 0x2F just above
        {"file-", "file-"},           // "-" 0x2D just below
        {"Ã©", "Ã©."},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(WithClosingPeriod(in), out) << in;
}

#ifdef _WIN32
TEST(AppText, TitleIsTheFileNameUpToItsFirstDotWithTheRestLowerCased) {
    const std::pair<const wchar_t*, const char*> cases[] = {
        {L"C:\\Games\\SETUP.exe", "Setup"},
        {L"SETUP.EXE", "Setup"},
        {L"C:\\a.b\\UPDATE.v2.exe", "Update"},  // dots of the folder do not count
        {L"C:\\x\\setup", "setup"},             // the first letter stays as it is
        {L"Z:/work/MIXED.exe", "Mixed"},
        {L"C:\\x\\ＳＥＴＵＰ.exe", "Ｓｅｔｕｐ"},  // every letter, not only ASCII
        {L"C:\\x\\.exe", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(TitleFromExePath(in), out);
}
#endif

}  // namespace
