// Replacing a file with a decoded payload: success, and every way of failing
// leaves the previous bytes (damaged payloads, failed writes, cut files).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "container_builder.h"
#include "engine/crc32.h"
#include "engine/replace_contents.h"
#include "kit/exceptions.h"
#include "kit/file_stream.h"

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

payload::ChecksumRecord SumOf(const Bytes& b) {
    return {std::int32_t(b.size()), Crc32(b.data(), b.size())};
}

// A small payload using every token form, and its container.
struct Fixture {
    Bytes payload;
    Bytes container;
};
Fixture SmallPayload() {
    TokenWriter w;
    Bytes p;
    for (int i = 0; i < 50; ++i) { w.Literal(std::uint8_t(i * 3)); p.push_back(std::uint8_t(i * 3)); }
    auto copy = [&](unsigned dist, unsigned count) { for (unsigned i = 0; i < count; ++i) p.push_back(p[p.size() - dist]); };
    Bytes run(20);
    for (int i = 0; i < 20; ++i) run[i] = std::uint8_t(200 + i);
    w.Short(3, 4); copy(3, 4);
    w.Run(run); p.insert(p.end(), run.begin(), run.end());
    w.Near(40, 18); copy(40, 18);
    w.Far(60, 200); copy(60, 200);
    return {p, w.Container(std::int32_t(p.size()))};
}

// A target file that fails its n-th writing operation (write, cut or flush);
// a failing write stores half of what it was given, as a full disk may.
class FaultyFile : public TSeekableStream {
public:
    FaultyFile(TFileStream& file, int fail_at) : file_(file), fail_at_(fail_at) {}
    std::size_t Read(void* b, std::size_t n) override { return file_.Read(b, n); }
    std::size_t Write(const void* b, std::size_t n) override {
        return Fails() ? file_.Write(b, n / 2) : file_.Write(b, n);
    }
    std::int64_t Size() const override { return file_.Size(); }
    void Seek(std::int64_t at) override { file_.Seek(at); }
    void Truncate() override { if (Fails()) throw EWriteError(msg::kWriteError); file_.Truncate(); }
    void Flush() override { if (Fails()) throw EWriteError(msg::kWriteError); file_.Flush(); }
    int operations = 0;

private:
    bool Fails() { return ++operations == fail_at_; }
    TFileStream& file_;
    int fail_at_;
};

class ReplaceContents : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("replace_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        target_ = dir_ / "OVAK.EXE";
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the replacement on the target; returns the exception's message,
    // or "" on success.
    std::string Replace(const Bytes& container, std::optional<payload::ChecksumRecord> sum, int fail_at = 0,
                        int* operations = nullptr) {
        TReadOnlyMemoryStream source(container.data(), container.size());
        TFileStream file(target_.string(), fmOpenReadWrite | fmShareExclusive);
        FaultyFile faulty(file, fail_at);
        std::string error;
        try {
            ReplaceWithPayload(source, sum, faulty);
        } catch (const Exception& e) {
            error = e.what();
        }
        if (operations) *operations = faulty.operations;
        return error;
    }

    fs::path dir_, target_;
};

TEST_F(ReplaceContents, WritesThePayloadOverShorterAndLongerFiles) {
    const Fixture f = SmallPayload();
    for (std::size_t old_size : {0, 10, 5000}) {
        SCOPED_TRACE(old_size);
        WriteAll(target_, Bytes(old_size, 0xEE));
        EXPECT_EQ(Replace(f.container, SumOf(f.payload)), "");
        EXPECT_EQ(ReadAll(target_), f.payload);
    }
}

TEST_F(ReplaceContents, WorksWithoutAnIntegrityRecord) {
    const Fixture f = SmallPayload();
    WriteAll(target_, Bytes(3, 1));
    EXPECT_EQ(Replace(f.container, std::nullopt), "");
    EXPECT_EQ(ReadAll(target_), f.payload);
}

TEST_F(ReplaceContents, AnyChangedByteOfTheContainerNeverCostsTheOldBytes) {
    // Each byte of the container flipped in turn: the replacement either
    // fails with the read error, leaving the old file, or (for bytes the
    // decoder does not use) writes exactly the payload.
    const Fixture f = SmallPayload();
    const Bytes old(777, 0x5A);
    for (std::size_t i = 0; i < f.container.size(); ++i) {
        SCOPED_TRACE(i);
        Bytes damaged = f.container;
        damaged[i] ^= 0x41;
        WriteAll(target_, old);
        std::string error = Replace(damaged, SumOf(f.payload));
        if (error.empty()) {
            EXPECT_EQ(ReadAll(target_), f.payload);
        } else {
            EXPECT_EQ(error, "ストリームからの読み込みエラー");
            EXPECT_EQ(ReadAll(target_), old);
        }
    }
}

TEST_F(ReplaceContents, ACutContainerOrWrongRecordLeavesTheOldBytes) {
    const Fixture f = SmallPayload();
    const Bytes old = {'o', 'l', 'd'};
    payload::ChecksumRecord wrong_length = SumOf(f.payload);
    wrong_length.decoded_length += 1;
    struct Case { const char* name; Bytes container; std::optional<payload::ChecksumRecord> sum; };
    const Case cases[] = {
        {"cut in the header", Bytes(f.container.begin(), f.container.begin() + 10), SumOf(f.payload)},
        {"cut in the tokens", Bytes(f.container.begin(), f.container.end() - 5), std::nullopt},
        {"record of another payload", f.container, SumOf(old)},
        {"record with another length", f.container, wrong_length},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(target_, old);
        EXPECT_EQ(Replace(c.container, c.sum), "ストリームからの読み込みエラー");
        EXPECT_EQ(ReadAll(target_), old);
    }
}

TEST_F(ReplaceContents, AFailureAtAnyWriteLeavesThePreviousBytes) {
    // A payload of 2.5 MiB is written in three blocks; the old file is
    // shorter and longer than it in turn. Every writing operation fails once.
    const long length = 5 * (1 << 19);
    const Bytes container = TokenWriter().RunOf('n', length).Container(std::int32_t(length));
    const Bytes payload(std::size_t(length), 'n');
    for (std::size_t old_size : {std::size_t(1000), std::size_t(3 << 20)}) {
        Bytes old(old_size);
        for (std::size_t i = 0; i < old_size; ++i) old[i] = std::uint8_t(i * 31);
        int total = 0;
        WriteAll(target_, old);
        ASSERT_EQ(Replace(container, SumOf(payload), 0, &total), "");
        ASSERT_GE(total, 5);  // three writes, the cut, the flush
        for (int k = 1; k <= total; ++k) {
            SCOPED_TRACE(testing::Message() << "old size " << old_size << ", failing operation " << k);
            WriteAll(target_, old);
            EXPECT_EQ(Replace(container, SumOf(payload), k), "ストリームへの書き込みエラー");
            EXPECT_EQ(ReadAll(target_), old);
        }
    }
}

}  // namespace
