// Whole-count transfers of the stream layer.
#include <gtest/gtest.h>

#include <filesystem>

#include "kit/exceptions.h"
#include "kit/file_stream.h"
#include "kit/stream.h"

// A destination that accepts at most `capacity` bytes in all.
class LimitedStream : public TStream {
public:
    explicit LimitedStream(std::size_t capacity) : capacity_(capacity) {}
    std::size_t Read(void*, std::size_t) override { return 0; }
    std::size_t Write(const void*, std::size_t count) override {
        std::size_t n = std::min(count, capacity_ - taken_);
        taken_ += n;
        return n;
    }
    std::size_t taken_ = 0;

private:
    std::size_t capacity_;
};

TEST(Stream, ReadBufferDeliversTheWholeCountOrRaisesTheReadError) {
    TMemoryStream s({1, 2, 3, 4, 5});
    std::uint8_t buf[8] = {};
    s.ReadBuffer(buf, 3);
    EXPECT_EQ(buf[0], 1);
    EXPECT_EQ(buf[2], 3);
    try {
        s.ReadBuffer(buf, 3);  // only two bytes remain
        FAIL() << "short read did not raise";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "ストリームからの読み込みエラー");
    }
}

TEST(Stream, WriteBufferRaisesTheWriteErrorWhenTheDestinationTakesLess) {
    LimitedStream s(4);
    std::uint8_t buf[8] = {};
    s.WriteBuffer(buf, 3);
    try {
        s.WriteBuffer(buf, 3);
        FAIL() << "short write did not raise";
    } catch (const EWriteError& e) {
        EXPECT_STREQ(e.what(), "ストリームへの書き込みエラー");
        EXPECT_TRUE(dynamic_cast<const EStreamError*>(&e) != nullptr);
    }
    EXPECT_EQ(s.taken_, 4u);
}

TEST(Stream, ACountOfZeroNeverFails) {
    TMemoryStream empty;
    LimitedStream full(0);
    EXPECT_NO_THROW(empty.ReadBuffer(nullptr, 0));
    EXPECT_NO_THROW(full.WriteBuffer(nullptr, 0));
}

TEST(Stream, MessageTemplatesTakeTheirArgument) {
    EXPECT_EQ(FormatMessage1(msg::kResNotFound, "EXE"), "EXE リソースが見つかりません");
    EXPECT_EQ(FormatMessage1(msg::kFCreateError, "C:\\x\\OVAK.EXE"), "ファイル C:\\x\\OVAK.EXE を作成できません");
}

TEST(FileStream, OpenFailuresNameThePathAndTheKindOfOpen) {
    namespace fs = std::filesystem;
    const std::string missing_dir = (fs::temp_directory_path() / "stream_test_no_such_dir").string();
    const std::string missing_file = missing_dir + (missing_dir.find('\\') != std::string::npos ? "\\x.bin" : "/x.bin");
    struct Case { unsigned mode; const char* want; };
    const Case cases[] = {
        {fmOpenRead, "ファイル %s を開けません"},
        {fmCreate, "ファイル %s を作成できません"},
        {fmOpenReadWrite | fmShareExclusive, "ファイル %s を作成できません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        try {
            TFileStream f(missing_file, c.mode);
            FAIL() << "opened a file in a missing folder";
        } catch (const EStreamError& e) {
            EXPECT_EQ(e.Message(), FormatMessage1(c.want, missing_file));
            EXPECT_EQ(dynamic_cast<const EFOpenError*>(&e) != nullptr, c.mode == fmOpenRead);
        }
    }
}
