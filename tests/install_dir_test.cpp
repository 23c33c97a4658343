// The install-directory lookup against Wine's real registry: every value
// type and shape, missing pieces, and the key left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/install_dir.h"
#include "kit/exceptions.h"
#include "kit/win_handles.h"

namespace {

const wchar_t* const kKey = L"Software\\KARVOS";
const wchar_t* const kSubkey = L"Software\\KARVOS\\OVAK";

void DeleteKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); ::RegDeleteKeyW(HKEY_CURRENT_USER, kKey); }

UniqueRegKey MakeSubkey() {
    UniqueRegKey key;
    EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kSubkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    return key;
}

void SetValue(DWORD type, const void* data, DWORD size) {
    UniqueRegKey key = MakeSubkey();
    ASSERT_EQ(::RegSetValueExW(key.Get(), L"GameDir", 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
}

// UTF-16 text with its terminator, as the registry stores REG_SZ.
std::wstring Z(const std::wstring& s) { return s + L'\0'; }
DWORD Bytes(const std::wstring& s) { return DWORD(s.size() * sizeof(wchar_t)); }

struct Outcome {
    std::string result;
    std::string error;  // the exception's message, or ""
};
Outcome Lookup() {
    try {
        return {ReadInstallDir(), ""};
    } catch (const ERegistryException& e) {
        return {"", e.what()};
    }
}

class InstallDir : public ::testing::Test {
protected:
    void SetUp() override { DeleteKey(); }
    void TearDown() override { DeleteKey(); }
};

TEST_F(InstallDir, ReadsEachShapeOfValueAsStored) {
    struct Case {
        const char* name;
        DWORD type;
        std::wstring data;  // raw bytes as wide characters
        DWORD size;         // bytes stored
        Outcome want;
    };
    const std::wstring plain = Z(L"C:\\Games\\X\\");
    const std::wstring japanese = Z(L"D:\\ゲーム\\ペトラミナ\\");
    const std::wstring expand = Z(L"%ProgramFiles%\\Game\\");
    const std::wstring embedded = std::wstring(L"C:\\A\0B\\", 7) + L'\0';
    const std::wstring unterminated = L"C:\\NoZero\\";
    const std::wstring multi = std::wstring(L"C:\\A\0C:\\B\0\0", 11);
    const DWORD dword = 7;
    const Case cases[] = {
        {"REG_SZ", REG_SZ, plain, Bytes(plain), {"C:\\Games\\X\\", ""}},
        {"REG_SZ in Japanese", REG_SZ, japanese, Bytes(japanese), {"D:\\ゲーム\\ペトラミナ\\", ""}},
        {"REG_SZ without backslash", REG_SZ, Z(L"C:\\Games\\X"), Bytes(Z(L"C:\\Games\\X")), {"C:\\Games\\X", ""}},
        {"REG_EXPAND_SZ stays unexpanded", REG_EXPAND_SZ, expand, Bytes(expand), {"%ProgramFiles%\\Game\\", ""}},
        {"REG_SZ holding the empty string", REG_SZ, Z(L""), 2, {"", ""}},
        {"embedded zero ends the text", REG_SZ, embedded, Bytes(embedded), {"C:\\A", ""}},
        {"no terminator: taken whole", REG_SZ, unterminated, Bytes(unterminated), {"C:\\NoZero\\", ""}},
        {"odd trailing byte ignored", REG_SZ, unterminated, Bytes(unterminated) + 1, {"C:\\NoZero\\", ""}},
        {"zero-size REG_SZ", REG_SZ, L"", 0, {"", ""}},
        {"zero-size REG_EXPAND_SZ", REG_EXPAND_SZ, L"", 0, {"", ""}},
        {"zero-size REG_BINARY", REG_BINARY, L"", 0, {"", ""}},
        {"zero-size REG_DWORD", REG_DWORD, L"", 0, {"", ""}},
        {"zero-size REG_MULTI_SZ", REG_MULTI_SZ, L"", 0, {"", ""}},
        {"REG_DWORD", REG_DWORD, std::wstring(reinterpret_cast<const wchar_t*>(&dword), 2), 4,
         {"", "'GameDir' のデータ型が不正です"}},
        {"REG_BINARY", REG_BINARY, plain, Bytes(plain), {"", "'GameDir' のデータ型が不正です"}},
        {"REG_MULTI_SZ", REG_MULTI_SZ, multi, Bytes(multi), {"", "'GameDir' のデータ型が不正です"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteKey();
        std::wstring padded = c.data + L'\0';  // room for an odd trailing byte
        SetValue(c.type, padded.data(), c.size);
        Outcome got = Lookup();
        EXPECT_EQ(got.result, c.want.result);
        EXPECT_EQ(got.error, c.want.error);
    }
}

TEST_F(InstallDir, MissingPiecesGiveTheEmptyResult) {
    EXPECT_EQ(Lookup().result, "");  // no key at all

    UniqueRegKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    key.Reset();
    Outcome no_subkey = Lookup();
    EXPECT_EQ(no_subkey.result, "");
    EXPECT_EQ(no_subkey.error, "");

    MakeSubkey();
    Outcome no_value = Lookup();
    EXPECT_EQ(no_value.result, "");
    EXPECT_EQ(no_value.error, "");
}

TEST_F(InstallDir, LeavesTheKeyBehindEmptyAndNeverMakesTheSubkey) {
    EXPECT_EQ(Lookup().result, "");
    UniqueRegKey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key.Put()), ERROR_SUCCESS);
    DWORD subkeys = 99, values = 99;
    ASSERT_EQ(::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                 nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subkeys, 0u);
    EXPECT_EQ(values, 0u);
}

TEST_F(InstallDir, SeesAValueWrittenBetweenTwoLookups) {
    EXPECT_EQ(Lookup().result, "");
    const std::wstring dir = Z(L"E:\\Late\\");
    SetValue(REG_SZ, dir.data(), Bytes(dir));
    EXPECT_EQ(Lookup().result, "E:\\Late\\");
}

}  // namespace
