// Extraction on Windows files: the payload resources of this test program
// written into real files, and every failure leaving the previous bytes and
// showing its exact message.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "engine/extract.h"
#include "engine/payload_format.h"
#include "engine/replace_contents.h"
#include "kit/exceptions.h"
#include "kit/file_stream.h"
#include "kit/resource_stream.h"
#include "kit/text.h"
#include "kit/win_handles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

Bytes ReadAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(f)), {});
}
void WriteAll(const fs::path& p, const Bytes& b) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}
Bytes Resource(const char* name) {
    TResourceStream s(::GetModuleHandleW(nullptr), name);
    return Bytes(s.Memory(), s.Memory() + s.Size());
}
std::string Utf8(const fs::path& p) { return WideToUtf8(p.wstring()); }
std::set<std::string> Listing(const fs::path& dir) {
    std::set<std::string> names;
    for (auto& e : fs::directory_iterator(dir)) names.insert(Utf8(e.path().filename()));
    return names;
}

// Runs an extraction and returns the exception's message, or "" on success.
template <typename E = Exception>
std::string Extract(const std::string& resource, const std::string& target) {
    try {
        EXPECT_TRUE(ExtractPayload(resource, target));
        return "";
    } catch (const E& e) {
        return e.what();
    }
}
template <typename E = Exception>
std::string Extract(const std::string& resource, const fs::path& target) {
    return Extract<E>(resource, Utf8(target));
}

class Extraction : public ::testing::TestWithParam<const wchar_t*> {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / GetParam() /
               Utf8ToWide(::testing::UnitTest::GetInstance()->current_test_info()->name()).substr(0, 40);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        target_ = dir_ / L"OVAK.EXE";
    }
    void TearDown() override {
        std::error_code ec;
        if (fs::exists(target_)) fs::permissions(target_, fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    fs::path dir_, target_;
    const Bytes old_ = Bytes(123457, 0x6F);
};

TEST_P(Extraction, WritesANewFileAndReturnsTrue) {
    EXPECT_EQ(Extract("EXE", target_), "");
    EXPECT_EQ(ReadAll(target_), Resource("GOODRAW"));
    EXPECT_EQ(Listing(dir_), std::set<std::string>{"OVAK.EXE"});
    // Closed on return: another opener gets the file at once, exclusively.
    UniqueFile again(::CreateFileW(target_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(again);
}

TEST_P(Extraction, OverwritesALongerFileToTheDecodedLength) {
    WriteAll(target_, Bytes(900000, 1));
    EXPECT_EQ(Extract("EXE", target_), "");
    EXPECT_EQ(ReadAll(target_), Resource("GOODRAW"));
}

TEST_P(Extraction, AContainerWithoutRecordStillUpdatesAndAnEmptyOneGivesAnEmptyFile) {
    WriteAll(target_, old_);
    EXPECT_EQ(Extract("NOSUM", target_), "");
    EXPECT_EQ(ReadAll(target_), Resource("GOODRAW"));
    EXPECT_EQ(Extract("EMPTY", target_), "");
    EXPECT_TRUE(fs::exists(target_));
    EXPECT_EQ(fs::file_size(target_), 0u);
}

TEST_P(Extraction, AMissingResourceNeverTouchesTheTarget) {
    EXPECT_EQ(Extract<EResNotFound>("NOPE", target_), "NOPE リソースが見つかりません");
    EXPECT_FALSE(fs::exists(target_));
    WriteAll(target_, old_);
    EXPECT_EQ(Extract<EResNotFound>("NOPE", target_), "NOPE リソースが見つかりません");
    EXPECT_EQ(ReadAll(target_), old_);
}

TEST_P(Extraction, AMissingDirectoryNamesThePathAsPassed) {
    const std::string path = Utf8(dir_) + "\\missing\\OVAK.EXE";
    EXPECT_EQ(Extract<EFCreateError>("EXE", path), "ファイル " + path + " を作成できません");
    EXPECT_EQ(Listing(dir_), std::set<std::string>{});
}

TEST_P(Extraction, ADamagedOrCutPayloadLeavesThePreviousBytes) {
    for (const char* resource : {"DAMAGED", "SHORT"}) {
        SCOPED_TRACE(resource);
        WriteAll(target_, old_);
        EXPECT_EQ(Extract<EReadError>(resource, target_), "ストリームからの読み込みエラー");
        EXPECT_EQ(ReadAll(target_), old_);
        EXPECT_EQ(Listing(dir_), std::set<std::string>{"OVAK.EXE"});
        // Where there was no file, none is left.
        fs::remove(target_);
        EXPECT_EQ(Extract<EReadError>(resource, target_), "ストリームからの読み込みエラー");
        EXPECT_EQ(Listing(dir_), std::set<std::string>{});
    }
}

TEST_P(Extraction, AReadOnlyTargetCannotBeCreatedAndKeepsItsContent) {
    WriteAll(target_, old_);
    ASSERT_TRUE(::SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_READONLY));
    UniqueFile probe(::CreateFileW(target_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (probe) GTEST_SKIP() << "read-only files are writable here (run as root with CAP_DAC_OVERRIDE)";
    EXPECT_EQ(Extract<EFCreateError>("EXE", target_), "ファイル " + Utf8(target_) + " を作成できません");
    ::SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadAll(target_), old_);
}

TEST_P(Extraction, ATargetHeldOpenByAnotherProcessIsRefused) {
    WriteAll(target_, old_);
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const fs::path helper = fs::path(self).parent_path() / L"hold_file.exe";
    UniqueKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, L"updater_test_ready"));
    UniqueKernelHandle quit(::CreateEventW(nullptr, TRUE, FALSE, L"updater_test_quit"));
    std::wstring command = L"\"" + helper.wstring() + L"\" \"" + target_.wstring() +
                           L"\" updater_test_ready updater_test_quit";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    ASSERT_EQ(::WaitForSingleObject(ready.Get(), 20000), WAIT_OBJECT_0);

    EXPECT_EQ(Extract<EFCreateError>("EXE", target_), "ファイル " + Utf8(target_) + " を作成できません");
    ::SetEvent(quit.Get());
    ::WaitForSingleObject(process.Get(), 20000);
    EXPECT_EQ(ReadAll(target_), old_);
}

// While the target is being replaced, nobody else can open it.
class ProbingFile : public TSeekableStream {
public:
    ProbingFile(TFileStream& f, std::wstring path) : f_(f), path_(std::move(path)) {}
    std::size_t Read(void* b, std::size_t n) override { return f_.Read(b, n); }
    std::size_t Write(const void* b, std::size_t n) override {
        UniqueFile other(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
        if (other) opened_by_other = true;
        return f_.Write(b, n);
    }
    std::int64_t Size() const override { return f_.Size(); }
    void Seek(std::int64_t at) override { f_.Seek(at); }
    void Truncate() override { f_.Truncate(); }
    void Flush() override { f_.Flush(); }
    bool opened_by_other = false;

private:
    TFileStream& f_;
    std::wstring path_;
};

TEST_P(Extraction, TheTargetIsHeldWithoutSharingWhileItIsReplaced) {
    WriteAll(target_, old_);
    const Bytes container = Resource("EXE");
    TReadOnlyMemoryStream source(container.data(), container.size());
    TFileStream file(Utf8(target_), fmOpenReadWrite | fmShareExclusive);
    ProbingFile probing(file, target_.wstring());
    ReplaceWithPayload(source, std::nullopt, probing);
    EXPECT_FALSE(probing.opened_by_other);
}

TEST_P(Extraction, AFullDiskLeavesThePreviousBytes) {
    const char* mount = std::getenv("UPDATER_FULL_DISK");
    if (!mount) GTEST_SKIP() << "no small disk to fill (scripts/test mounts one when run as root)";
    const fs::path dir = fs::path(L"F:\\") / GetParam();
    std::error_code ec;
    fs::remove_all(dir, ec);
    ASSERT_TRUE(fs::create_directories(dir, ec)) << "drive F: is not the small disk";
    const fs::path target = dir / L"OVAK.EXE", filler = dir / L"filler";
    const Bytes old(100000, 0x33);
    WriteAll(target, old);
    {   // Fill the disk, then free 64 KB: less than the payload needs.
        std::ofstream f(filler, std::ios::binary);
        const Bytes chunk(4096, 0);
        while (f.write(reinterpret_cast<const char*>(chunk.data()), std::streamsize(chunk.size()))) {}
    }
    fs::resize_file(filler, fs::file_size(filler) > 65536 ? fs::file_size(filler) - 65536 : 0);

    EXPECT_EQ(Extract<EWriteError>("BIG", target), "ストリームへの書き込みエラー");
    EXPECT_EQ(ReadAll(target), old);
    EXPECT_EQ(Listing(dir), (std::set<std::string>{"OVAK.EXE", "filler"}));
    fs::remove_all(dir, ec);
}

INSTANTIATE_TEST_SUITE_P(Paths, Extraction, ::testing::Values(L"updater_extract", L"ゲーム フォルダ"),
                         [](const auto& info) { return info.index == 0 ? std::string("Ascii") : std::string("Japanese"); });

}  // namespace
