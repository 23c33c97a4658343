// The payload decoder: token forms, write sequence, failures, hostile input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <random>
#include <string>

#include "container_builder.h"
#include "engine/decoder.h"
#include "kit/exceptions.h"
#include "kit/stream.h"

// The largest single allocation made while `tracking` is set, to show what
// a decode reserves.
static bool tracking = false;
static std::size_t largest_allocation = 0;
void* operator new(std::size_t n) {
    if (tracking && n > largest_allocation) largest_allocation = n;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr long kMiB = 1 << 20;

// A destination that records every write and accepts at most `capacity`
// bytes in all.
class RecordingStream : public TStream {
public:
    explicit RecordingStream(std::size_t capacity = SIZE_MAX) : capacity_(capacity) {}
    std::size_t Read(void*, std::size_t) override { return 0; }
    std::size_t Write(const void* buffer, std::size_t count) override {
        writes.push_back(long(count));
        std::size_t n = std::min(count, capacity_ - bytes.size());
        auto p = static_cast<const std::uint8_t*>(buffer);
        bytes.insert(bytes.end(), p, p + n);
        return n;
    }
    Bytes bytes;
    std::vector<long> writes;

private:
    std::size_t capacity_;
};

struct Decoded {
    Bytes bytes;
    std::vector<long> writes;
};

Decoded Decode(const Bytes& container) {
    TReadOnlyMemoryStream source(container.data(), container.size());
    RecordingStream destination;
    DecodePayload(source, destination);
    return {destination.bytes, destination.writes};
}

void ExpectReadError(const Bytes& container) {
    TReadOnlyMemoryStream source(container.data(), container.size());
    RecordingStream destination;
    try {
        DecodePayload(source, destination);
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "ストリームからの読み込みエラー");
    }
    EXPECT_TRUE(destination.writes.empty()) << "wrote before failing";
}

Bytes Repeat(std::uint8_t b, std::size_t n) { return Bytes(n, b); }
Bytes Seq(std::size_t n, std::uint8_t first = 1) {
    Bytes v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = std::uint8_t(first + i);
    return v;
}
Bytes Cat(Bytes a, const Bytes& b) { a.insert(a.end(), b.begin(), b.end()); return a; }

struct TokenCase {
    const char* name;
    TokenWriter tokens;
    Bytes expected;
};

// 16384 bytes of history with a marker pattern, so a far match of distance
// 16384 copies known bytes.
TokenWriter History16K() {
    TokenWriter w;
    for (int i = 0; i < 16384; ++i) w.Literal(std::uint8_t(i * 7));
    return w;
}
Bytes History16KBytes() {
    Bytes v(16384);
    for (int i = 0; i < 16384; ++i) v[i] = std::uint8_t(i * 7);
    return v;
}
Bytes Periodic(const Bytes& period, std::size_t n) {
    Bytes v;
    while (v.size() < n) v.push_back(period[v.size() % period.size()]);
    return v;
}

std::vector<TokenCase> TokenCases() {
    const Bytes h = History16KBytes();
    std::vector<TokenCase> cases = {
        {"flag 00 and eight literals", TokenWriter().Literals(Seq(8)), Seq(8)},
        {"run code 03 is nine literals", TokenWriter().Run(Seq(9)), Seq(9)},
        {"run code 7F is forty literals", TokenWriter().Run(Seq(40)), Seq(40)},
        {"short 00 after X: X three times", TokenWriter().Literal('X').Coded({0x00}), Bytes{'X', 'X', 'X'}},
        {"short 7E is distance 32 count 4", TokenWriter().Literals(Seq(32)).Coded({0x7E}), Cat(Seq(32), Seq(4))},
        {"short 06 after A B repeats ABAB", TokenWriter().Literals({'A', 'B'}).Coded({0x06}),
         Bytes{'A', 'B', 'A', 'B', 'A', 'B'}},
        {"near BF FF is distance 1024 count 18",
         TokenWriter().Literals(Periodic(Seq(251), 1024)).Coded({0xBF, 0xFF}),
         Cat(Periodic(Seq(251), 1024), Seq(18))},
        {"near 80 00 is distance 1 count 3", TokenWriter().Literal('Z').Coded({0x80, 0x00}), Repeat('Z', 4)},
        {"far distance 1 count 4096 after one byte", TokenWriter().Literal('Q').Far(1, 4096), Repeat('Q', 4097)},
        {"run of 40 then overlapping near match", TokenWriter().Run(Seq(40)).Near(3, 18),
         Cat(Seq(40), Periodic({38, 39, 40}, 18))},
    };
    // Far FF FF g: distance 16384, the count table of g.
    for (auto [g, count] : {std::pair{0, 3}, {252, 255}, {253, 256}, {254, 1024}, {255, 4096}}) {
        Bytes want = Cat(h, Periodic(h, std::size_t(count)));
        TokenWriter w = History16K();
        w.Coded({0xFF, 0xFF, std::uint8_t(g)});
        cases.push_back({"far FF FF g", w, want});
    }
    return cases;
}

TEST(Decoder, EachTokenFormDecodesAsDescribed) {
    for (auto& c : TokenCases()) {
        SCOPED_TRACE(c.name);
        auto container = c.tokens.Container(std::int32_t(c.expected.size()));
        EXPECT_EQ(Decode(container).bytes, c.expected);
    }
}

TEST(Decoder, EmptyContainerWritesNothing) {
    auto d = Decode(TokenWriter().Container(0));
    EXPECT_TRUE(d.writes.empty());
}

TEST(Decoder, NegativeDecodedLengthDecodesNothing) {
    auto d = Decode(TokenWriter().Literals(Seq(8)).Container(std::int32_t(0x80000000u)));
    EXPECT_TRUE(d.writes.empty());
}

TEST(Decoder, StopsOnTheDecodedLengthAndIgnoresTheRest) {
    // L reached after the third token of a group: the remaining flag bits and
    // the bytes after it (here garbage that would be malformed) are ignored.
    TokenWriter w;
    w.Literals({1, 2}).Short(1, 2).Coded({0xFF, 0xFF, 0xFF}).Literal(9);
    auto d = Decode(w.Container(4));
    EXPECT_EQ(d.bytes, (Bytes{1, 2, 2, 2}));
    EXPECT_EQ(d.writes, (std::vector<long>{4}));
}

TEST(Decoder, TrailingFlagByteAfterAFullLastGroupIsOptional) {
    TokenWriter w;
    w.Literals(Seq(7)).Short(1, 3);
    Bytes want = Cat(Seq(7), Repeat(7, 3));
    EXPECT_EQ(Decode(w.Container(10)).bytes, want);
    w.TrailingFlag();
    EXPECT_EQ(Decode(w.Container(10)).bytes, want);
}

TEST(Decoder, AnOvershootingLastTokenIsWrittenWhole) {
    auto d = Decode(TokenWriter().Literal('a').Far(1, 4096).Container(100));
    EXPECT_EQ(d.bytes, Repeat('a', 4097));
    EXPECT_EQ(d.writes, (std::vector<long>{4097}));
}

TEST(Decoder, WriteSequenceDependsOnlyOnTheDecodedLength) {
    struct Case { long length; std::vector<long> writes; };
    const Case cases[] = {
        {1, {1}},
        {2 * kMiB - 1, {2 * kMiB - 1}},
        {2 * kMiB, {kMiB, kMiB}},
        {3 * kMiB + 5, {kMiB, kMiB, kMiB + 5}},
        {5000000, {kMiB, kMiB, kMiB, 1854272}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        auto d = Decode(TokenWriter().RunOf('r', c.length).Container(std::int32_t(c.length)));
        EXPECT_EQ(d.writes, c.writes);
        EXPECT_EQ(long(d.bytes.size()), c.length);
        EXPECT_EQ(d.bytes, Repeat('r', std::size_t(c.length)));
    }
}

TEST(Decoder, MatchesReachBackAcrossAFlush) {
    // 2 MiB + 100 bytes of a 1000-byte period, each period copied with a far
    // match of distance 1000, so matches straddle the 1 MiB block moves.
    Bytes period(1000);
    std::mt19937 rng(7);
    for (auto& b : period) b = std::uint8_t(rng());
    TokenWriter w;
    w.Literals(period);
    long total = 1000;
    const long length = 2 * kMiB + 100;
    while (total < length) {
        long c = std::min(256L, length - total);
        if (c < 3) { w.Literal(period[total % 1000]); c = 1; } else w.Far(1000, unsigned(c));
        total += c;
    }
    auto d = Decode(w.Container(std::int32_t(length)));
    EXPECT_EQ(d.bytes, Periodic(period, std::size_t(length)));
    EXPECT_EQ(d.writes, (std::vector<long>{kMiB, kMiB + 100}));
}

TEST(Decoder, ShortDestinationRaisesTheWriteErrorKeepingEarlierBlocks) {
    const long length = 5000000;
    auto container = TokenWriter().RunOf('w', length).Container(std::int32_t(length));
    TReadOnlyMemoryStream source(container.data(), container.size());
    RecordingStream destination(2 * kMiB + 10);
    try {
        DecodePayload(source, destination);
        FAIL() << "no error";
    } catch (const EWriteError& e) {
        EXPECT_STREQ(e.what(), "ストリームへの書き込みエラー");
    }
    EXPECT_EQ(destination.writes, (std::vector<long>{kMiB, kMiB, kMiB}));
    EXPECT_EQ(destination.bytes, Repeat('w', 2 * kMiB + 10));
}

TEST(Decoder, ACutContainerFailsBeforeWritingAnything) {
    auto full = TokenWriter().Literals(Seq(20)).Short(4, 4).Container(24);
    for (std::size_t keep = 0; keep < full.size(); ++keep) {
        SCOPED_TRACE(keep);
        ExpectReadError(Bytes(full.begin(), full.begin() + long(keep)));
    }
}

TEST(Decoder, MalformedContainersRaiseTheReadError) {
    struct Case { const char* name; Bytes container; };
    const Case cases[] = {
        {"literal past N", TokenWriter().Literals({1, 2}).Container(3)},
        {"literal run past N", TokenWriter().Coded({0x7F}).Literal(1).Container(40)},
        {"near match missing its second byte", TokenWriter().Literal(1).Coded({0x80}).Container(4)},
        {"far match missing its third byte", TokenWriter().Literal(1).Coded({0xC0, 0x00}).Container(5)},
        {"flag byte past N after a full group", TokenWriter().Literals(Seq(8)).Container(9)},
        {"distance before the first byte", TokenWriter().Literal(1).Short(2, 2).Container(3)},
        {"match at the very start", TokenWriter().Far(1, 3).Container(3)},
        {"far distance past the history", TokenWriter().RunOf(5, 16383).Far(16384, 3).Container(16386)},
        {"negative N", TokenWriter().Literals(Seq(4)).Container(4, -5)},
        {"N + 256 overflows", TokenWriter().Literals(Seq(4)).Container(4, std::int32_t(0x7FFFFF01))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectReadError(c.container);
    }
}

TEST(Decoder, AHugeClaimedLengthFailsWithoutReservingIt) {
    Bytes container = TokenWriter().Literals(Seq(12)).Container(12, 2147483000);
    ASSERT_EQ(container.size(), 30u);
    largest_allocation = 0;
    tracking = true;
    ExpectReadError(container);
    tracking = false;
    EXPECT_LE(largest_allocation, std::size_t(4 * kMiB));
}

// A literal, step-by-step decoder with bounds checks, for differential tests:
// returns false where the container is malformed.
bool ReferenceDecode(const Bytes& c, Bytes& out) {
    if (c.size() < 16) return false;
    std::int32_t n = payload::LoadLE32(&c[4]), l = payload::LoadLE32(&c[8]);
    if (n < 0 || c.size() < 16 + std::size_t(n)) return false;
    std::size_t ip = 16, end = 16 + std::size_t(n);
    auto take = [&](std::uint8_t& b) { if (ip >= end) return false; b = c[ip++]; return true; };
    std::uint8_t flags = 0;
    int bits = 0;
    while (std::int64_t(out.size()) < l) {
        if (bits == 0) { if (!take(flags)) return false; bits = 8; }
        std::uint8_t e, f, g;
        if (!take(e)) return false;
        if (!(flags & 0x80)) { out.push_back(e); }
        else if (e < 0x80 && (e & 3) == 3) {
            for (int i = 0; i < ((e >> 2) & 31) + 9; ++i) { if (!take(f)) return false; out.push_back(f); }
        } else {
            unsigned dist, count;
            if (e < 0x80) { dist = (e >> 2) + 1; count = (e & 3) + 2; }
            else if (e < 0xC0) { if (!take(f)) return false; dist = ((e & 63) << 4 | f >> 4) + 1; count = (f & 15) + 3; }
            else {
                if (!take(f) || !take(g)) return false;
                dist = ((e & 63) << 8 | f) + 1;
                count = g < 254 ? g + 3u : g == 254 ? 1024u : 4096u;
            }
            if (dist > out.size()) return false;
            for (unsigned i = 0; i < count; ++i) out.push_back(out[out.size() - dist]);
        }
        flags = std::uint8_t(flags << 1);
        --bits;
    }
    return true;
}

// Random token streams: mostly well-formed with every form and distance
// class, sometimes cut or corrupted. The decoder must agree with the
// reference byte for byte, or both must call the container malformed.
TEST(Decoder, AgreesWithAStepByStepReferenceOnRandomContainers) {
    std::mt19937 rng(12345);
    auto pick = [&](unsigned lo, unsigned hi) { return lo + unsigned(rng() % (hi - lo + 1)); };
    for (int round = 0; round < 300; ++round) {
        TokenWriter w;
        long produced = 0;
        const int tokens = int(pick(1, round < 280 ? 400 : 20000));
        for (int t = 0; t < tokens; ++t) {
            unsigned form = pick(0, 9);
            unsigned back = unsigned(std::min<long>(produced, 16384));
            if (form <= 3 || back == 0) { w.Literal(std::uint8_t(rng())); produced += 1; }
            else if (form == 4) { Bytes r(pick(9, 40)); for (auto& b : r) b = std::uint8_t(rng()); w.Run(r); produced += long(r.size()); }
            else if (form == 5) { unsigned c = pick(2, 4); w.Short(pick(1, std::min(back, 32u)), c); produced += c; }
            else if (form == 6) { unsigned c = pick(3, 18); w.Near(pick(1, std::min(back, 1024u)), c); produced += c; }
            else { unsigned c = form == 9 ? (rng() % 2 ? 1024 : 4096) : pick(3, 256); w.Far(pick(1, back), c); produced += c; }
        }
        Bytes container = w.Container(std::int32_t(produced));
        unsigned damage = pick(0, 9);
        if (damage == 0) container.resize(pick(0, unsigned(container.size())));
        else if (damage == 1) container[pick(16, unsigned(container.size() - 1))] = std::uint8_t(rng());
        else if (damage == 2) payload::StoreLE32(&container[8], std::int32_t(produced + pick(1, 5000)));

        Bytes want;
        bool ok = ReferenceDecode(container, want);
        TReadOnlyMemoryStream source(container.data(), container.size());
        RecordingStream destination;
        SCOPED_TRACE(round);
        if (ok) {
            ASSERT_NO_THROW(DecodePayload(source, destination));
            ASSERT_EQ(destination.bytes, want);
        } else {
            EXPECT_THROW(DecodePayload(source, destination), EReadError);
        }
    }
}

}  // namespace
