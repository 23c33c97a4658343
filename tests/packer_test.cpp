// The packer: suffix array and rank set, round trips through the decoder,
// conformance and least size of the containers, the integrity record, and
// the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/decoder.h"
#include "engine/payload_format.h"
#include "kit/exceptions.h"
#include "kit/stream.h"
#include "tools/packer/checksum_record.h"
#include "tools/packer/cli.h"
#include "tools/packer/optimal_parse.h"
#include "tools/packer/rank_set.h"
#include "tools/packer/suffix_array.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// ---- Inputs -------------------------------------------------------------

Bytes RandomBytes(std::size_t n, std::uint32_t seed, int alphabet = 256) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& c : b) c = std::uint8_t('a' + rng() % unsigned(alphabet));
    return b;
}

Bytes RunOf(std::size_t n, std::uint8_t value) { return Bytes(n, value); }

// A random block of `period` bytes, repeated.
Bytes Periodic(std::size_t n, std::size_t period, std::uint32_t seed) {
    Bytes block = RandomBytes(period, seed);
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = block[i % period];
    return b;
}

// Words from a small vocabulary with spaces and line breaks.
Bytes Text(std::size_t n, std::uint32_t seed) {
    static const char* const kWords[] = {"the", "update", "file", "of", "installer", "version", "and",
                                         "a", "folder", "to", "is", "setup", "program", "data", "in"};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < n) {
        s += kWords[rng() % std::size(kWords)];
        s += rng() % 9 == 0 ? ".\n" : " ";
    }
    return Bytes(s.begin(), s.begin() + std::ptrdiff_t(n));
}

// Random bytes in which copies from exactly the given distances, of the
// given lengths, keep appearing.
Bytes RepeatsAt(std::size_t n, const std::vector<int>& distances, const std::vector<int>& lengths,
                std::uint32_t seed) {
    Bytes b = RandomBytes(n, seed);
    std::mt19937 rng(seed + 1);
    std::size_t p = std::size_t(*std::max_element(distances.begin(), distances.end()));
    while (p < n) {
        const std::size_t d = std::size_t(distances[rng() % distances.size()]);
        const std::size_t len = std::size_t(lengths[rng() % lengths.size()]);
        for (std::size_t i = 0; i < len && p < n; ++i, ++p) b[p] = b[p - d];
        p += 1 + rng() % 40;
    }
    return b;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes ReadFile(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(f)), {});
}

// Windows executables that Wine installs, smallest first; none elsewhere.
std::vector<fs::path> WindowsBinaries() {
    std::vector<std::pair<std::uintmax_t, fs::path>> found;
    for (const char* dir :
         {"/usr/lib/x86_64-linux-gnu/wine/x86_64-windows", "/usr/lib/x86_64-linux-gnu/wine/i386-windows"}) {
        std::error_code ec;
        for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
            const std::string ext = it->path().extension().string();
            if ((ext == ".exe" || ext == ".dll") && it->is_regular_file(ec))
                found.emplace_back(it->file_size(ec), it->path());
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<fs::path> paths;
    for (auto& f : found) paths.push_back(f.second);
    return paths;
}

// ---- Containers ---------------------------------------------------------

Bytes Decode(const Bytes& container) {
    TReadOnlyMemoryStream source(container.data(), container.size());
    TMemoryStream destination;
    DecodePayload(source, destination);
    return destination.TakeBytes();
}

// What a walk over a container's tokens found; `error` is empty when the
// container conforms: header fields right, every token within the stream
// and within the bytes produced before it, the last one ending exactly at
// the decoded length, and no byte left over (not even an empty flag byte).
struct Walk {
    std::string error;
    std::int64_t tokens = 0, token_bytes = 0;
    std::int64_t Bits() const { return 8 * token_bytes + tokens; }
};

Walk WalkContainer(const Bytes& c) {
    Walk w;
    if (c.size() < std::size_t(payload::kHeaderSize)) return w.error = "short header", w;
    const std::int64_t n = payload::LoadLE32(&c[4]), l = payload::LoadLE32(&c[8]);
    if (c[12] || c[13] || c[14] || c[15]) return w.error = "bytes 12..15 not zero", w;
    if (n != std::int64_t(c.size()) - payload::kHeaderSize) return w.error = "N is not the stream length", w;
    if (l < 0) return w.error = "negative L", w;
    std::size_t at = payload::kHeaderSize;
    std::int64_t produced = 0;
    unsigned flags = 0;
    int left = 0;
    auto take = [&](std::int64_t k) {
        if (std::int64_t(c.size() - at) < k) return false;
        at += std::size_t(k);
        w.token_bytes += k;
        return true;
    };
    while (produced < l) {
        if (left == 0) {
            if (at == c.size()) return w.error = "stream ends early", w;
            flags = c[at++];
            left = 8;
        }
        const bool coded = flags & 0x80;
        flags <<= 1;
        --left;
        ++w.tokens;
        if (at == c.size()) return w.error = "token past the stream", w;
        const unsigned e = c[at];
        std::int64_t count = 1, dist = 0, size = 1;
        if (coded && e < 0x80 && (e & 3) == 3) {
            count = ((e >> 2) & 31) + 9;
            size = 1 + count;
        } else if (coded && e < 0x80) {
            dist = (e >> 2) + 1;
            count = (e & 3) + 2;
        } else if (coded && e < 0xC0) {
            if (at + 1 >= c.size()) return w.error = "token past the stream", w;
            dist = ((e & 0x3F) << 4 | c[at + 1] >> 4) + 1;
            count = (c[at + 1] & 15) + 3;
            size = 2;
        } else if (coded) {
            if (at + 2 >= c.size()) return w.error = "token past the stream", w;
            const unsigned g = c[at + 2];
            dist = ((e & 0x3F) << 8 | c[at + 1]) + 1;
            count = g < 254 ? g + 3 : g == 254 ? 1024 : 4096;
            size = 3;
        }
        if (!take(size)) return w.error = "token past the stream", w;
        if (dist > produced) return w.error = "distance before the start", w;
        produced += count;
        if (produced > l) return w.error = "last token ends past L", w;
    }
    if (at != c.size()) return w.error = "bytes left after the last token", w;
    return w;
}

// Packs, checks the container and decodes it back; returns the container.
Bytes ExpectRoundTrip(const Bytes& input, const std::string& name) {
    SCOPED_TRACE(name);
    const Bytes container = PackContainer(input.data(), input.size());
    const Walk walk = WalkContainer(container);
    EXPECT_EQ(walk.error, "");
    EXPECT_EQ(container[0], 'O');
    EXPECT_EQ(container[1], 'V');
    EXPECT_EQ(payload::LoadLE32(&container[8]), std::int32_t(input.size()));
    const Bytes decoded = Decode(container);
    EXPECT_EQ(decoded.size(), input.size());
    EXPECT_TRUE(decoded == input);
    return container;
}

// ---- Exhaustive reference -----------------------------------------------

// The fewest token bits for the input, by trying every distance at every
// position and every count each token form allows. The common lengths of
// position p with every earlier q are kept in one row, updated from the row
// of p + 1 as the positions are visited from the end.
std::int64_t ReferenceBits(const Bytes& d) {
    const std::int64_t n = std::int64_t(d.size());
    std::vector<std::int64_t> cost(std::size_t(n) + 1, 0);
    std::vector<std::int32_t> row(std::size_t(n) + 1, 0);  // row[q] = common length of q and p
    for (std::int64_t p = n - 1; p >= 0; --p) {
        const std::int64_t first = std::max<std::int64_t>(0, p - 16384);
        for (std::int64_t q = first; q < p; ++q) {
            const std::size_t i = std::size_t(q);
            row[i] = d[i] == d[std::size_t(p)] ? 1 + row[i + 1] : 0;
        }

        std::int64_t short_max = 0, near_max = 0, far_max = 0;
        for (std::int64_t dist = 1; dist <= p - first; ++dist) {
            const std::int64_t h = row[std::size_t(p - dist)];
            if (dist <= 32) short_max = std::max(short_max, std::min<std::int64_t>(h, 4));
            if (dist <= 1024) near_max = std::max(near_max, std::min<std::int64_t>(h, 18));
            far_max = std::max(far_max, std::min<std::int64_t>(h, 4096));
        }
        auto at = [&](std::int64_t c) { return cost[std::size_t(p + c)]; };
        std::int64_t best = 9 + at(1);
        for (std::int64_t c = 9; c <= 40 && p + c <= n; ++c) best = std::min(best, 9 + 8 * c + at(c));
        for (std::int64_t c = 2; c <= short_max; ++c) best = std::min(best, 9 + at(c));
        for (std::int64_t c = 3; c <= near_max; ++c) best = std::min(best, 17 + at(c));
        for (std::int64_t c = 3; c <= far_max; ++c)
            if (c <= 256 || c == 1024 || c == 4096) best = std::min(best, 25 + at(c));
        cost[std::size_t(p)] = best;
    }
    return cost[0];
}

void ExpectLeastSize(const Bytes& input, const std::string& name) {
    SCOPED_TRACE(name);
    const Bytes container = ExpectRoundTrip(input, name);
    const std::int64_t bits = ReferenceBits(input);
    EXPECT_EQ(WalkContainer(container).Bits(), bits);
    EXPECT_EQ(std::int64_t(container.size()), payload::kHeaderSize + (bits + 7) / 8);
}

// ---- Suffix array and rank set ------------------------------------------

TEST(SuffixArray, AgreesWithSortingEverySuffix) {
    auto fibonacci = [] {
        std::string a = "a", b = "ab";
        while (b.size() < 3000) a = std::exchange(b, b + a);
        return Bytes(b.begin(), b.end());
    };
    const std::vector<std::pair<std::string, Bytes>> cases = {
        {"empty", {}},
        {"one byte", {7}},
        {"mississippi", Bytes{'m', 'i', 's', 's', 'i', 's', 's', 'i', 'p', 'p', 'i'}},
        {"run", RunOf(1500, 0)},
        {"two-letter period", Periodic(1500, 2, 1)},
        {"fibonacci word", fibonacci()},
        {"random, 2 letters", RandomBytes(2000, 2, 2)},
        {"random, 4 letters", RandomBytes(2000, 3, 4)},
        {"random bytes", RandomBytes(2000, 4)},
        {"bytes 255 and 0", Concat({RunOf(300, 255), RunOf(5, 0), RunOf(300, 255), RandomBytes(50, 5)})},
        {"text", Text(2000, 6)},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        const Bytes& s = text;
        std::vector<std::int32_t> expected(s.size());
        for (std::size_t i = 0; i < s.size(); ++i) expected[i] = std::int32_t(i);
        std::sort(expected.begin(), expected.end(), [&s](std::int32_t a, std::int32_t b) {
            return std::lexicographical_compare(s.begin() + a, s.end(), s.begin() + b, s.end());
        });
        EXPECT_EQ(BuildSuffixArray(s.data(), s.size()), expected);
    }
}

TEST(RankSet, NeighboursAgreeWithAnOrderedSet) {
    for (std::size_t bound : {1u, 64u, 65u, 4096u, 4097u, 262145u, 300000u}) {
        SCOPED_TRACE(bound);
        RankSet set(bound);
        std::set<std::uint32_t> reference;
        std::mt19937 rng{std::uint32_t(bound)};
        for (int i = 0; i < 20000; ++i) {
            // Values cluster in a few places so words and levels both empty out.
            const std::uint32_t x = std::uint32_t((rng() % 4 * bound / 4 + rng() % 200) % bound);
            if (rng() % 3 == 0) {
                set.Erase(x);
                reference.erase(x);
            } else if (rng() % 2 == 0) {
                set.Insert(x);
                reference.insert(x);
            }
            auto above = reference.upper_bound(x);
            auto below = reference.lower_bound(x);
            ASSERT_EQ(set.Above(x), above == reference.end() ? -1 : std::int64_t(*above));
            ASSERT_EQ(set.Below(x), below == reference.begin() ? -1 : std::int64_t(*std::prev(below)));
        }
    }
}

// ---- Round trips --------------------------------------------------------

TEST(PackerRoundTrip, SyntheticInputs) {
    std::vector<std::pair<std::string, Bytes>> cases = {
        {"empty", {}},
        {"one byte", {0x5A}},
        {"run of 100", RunOf(100, 'x')},
        {"run of 4097", RunOf(4097, 0)},
        {"run of 20000", RunOf(20000, 0xFF)},
        {"run of 70001", RunOf(70001, 1)},
        {"period 1000", Periodic(30000, 1000, 1)},
        {"period 5000", Periodic(40000, 5000, 2)},
        {"period 20000", Periodic(60000, 20000, 3)},
        {"random", RandomBytes(100000, 4)},
        {"random, 2 letters", RandomBytes(50000, 5, 2)},
        {"text", Text(200000, 6)},
        // Over the decoder's 2 MiB flush threshold, in several kinds.
        {"mixed 3 MB", Concat({RandomBytes(700000, 7), RunOf(600000, 0), Periodic(900000, 3000, 8),
                               Text(900000, 9)})},
    };
    for (std::size_t period = 1; period <= 40; ++period)
        cases.push_back({"period " + std::to_string(period), Periodic(3000, period, std::uint32_t(period))});
    for (const auto& [name, input] : cases) ExpectRoundTrip(input, name);
}

TEST(PackerRoundTrip, WindowsExecutables) {
    const std::vector<fs::path> all = WindowsBinaries();
    if (all.empty()) GTEST_SKIP() << "no Windows executables under /usr/lib/x86_64-linux-gnu/wine";
    // The smallest, two from the middle, and the largest up to 1.5 MB.
    std::vector<fs::path> picked = {all.front(), all[all.size() / 3], all[all.size() / 2]};
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (fs::file_size(*it) <= 1500000) {
            picked.push_back(*it);
            break;
        }
    for (const fs::path& path : picked) {
        const Bytes input = ReadFile(path);
        const Bytes container = ExpectRoundTrip(input, path.string());
        EXPECT_LT(container.size(), input.size()) << path;
    }
}

// ---- Least size ---------------------------------------------------------

TEST(PackerLeastSize, HandCountedInputs) {
    const Bytes abc = {'a', 'b', 'c', 'a', 'b', 'c'};
    Bytes distinct(41);
    for (std::size_t i = 0; i < distinct.size(); ++i) distinct[i] = std::uint8_t(i * 5);
    const struct {
        const char* name;
        Bytes input;
        std::size_t size;  // header + ceil(bits / 8)
    } cases[] = {
        {"empty", {}, 16},
        {"one literal: 9 bits", {'a'}, 18},
        {"literal + short(1, 3): 18 bits", RunOf(4, 'a'), 19},
        {"3 literals + short(3, 3): 36 bits", abc, 21},
        {"9 literals or a run: 81 bits", Bytes(distinct.begin(), distinct.begin() + 9), 27},
        {"run of 40: 329 bits", Bytes(distinct.begin(), distinct.begin() + 40), 58},
        {"run of 40 + literal: 338 bits", distinct, 59},
        {"literal + far(1, 4096): 34 bits", RunOf(4097, 'a'), 21},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ExpectRoundTrip(c.input, c.name).size(), c.size);
        EXPECT_EQ(std::size_t(payload::kHeaderSize + (ReferenceBits(c.input) + 7) / 8), c.size);
    }
}

TEST(PackerLeastSize, MatchesExhaustiveSearch) {
    const std::vector<std::pair<std::string, Bytes>> cases = {
        {"random", RandomBytes(2000, 11)},
        {"random, 2 letters", RandomBytes(2500, 12, 2)},
        {"random, 5 letters", RandomBytes(2500, 13, 5)},
        {"text", Text(3000, 14)},
        {"run of 5000", RunOf(5000, 0)},
        {"runs and noise", Concat({RunOf(300, 1), RandomBytes(20, 15), RunOf(1100, 1), RandomBytes(30, 16),
                                   RunOf(257, 2), Periodic(600, 3, 17)})},
        {"period 3", Periodic(2000, 3, 18)},
        {"period 33", Periodic(2000, 33, 19)},
        {"period 100", Periodic(3000, 100, 20)},
        {"distances 32 and 33", RepeatsAt(3000, {32, 33}, {2, 3, 4, 5, 6}, 21)},
        {"distances 1024 and 1025", RepeatsAt(4000, {1024, 1025}, {3, 4, 17, 18, 19, 40}, 22)},
        {"distances 16384 and 16385, long counts",
         RepeatsAt(24000, {16384, 16385, 2000},
                   {3, 18, 19, 255, 256, 257, 1023, 1024, 1025, 4095, 4096, 4097}, 23)},
    };
    for (const auto& [name, input] : cases) ExpectLeastSize(input, name);
}

TEST(PackerLeastSize, WindowsExecutableSlices) {
    const std::vector<fs::path> all = WindowsBinaries();
    if (all.empty()) GTEST_SKIP() << "no Windows executables under /usr/lib/x86_64-linux-gnu/wine";
    const Bytes exe = ReadFile(all[all.size() / 2]);
    ASSERT_GT(exe.size(), 12000u);
    for (std::size_t at : {std::size_t(0), exe.size() / 2, exe.size() - 4000}) {
        const Bytes slice(exe.begin() + std::ptrdiff_t(at), exe.begin() + std::ptrdiff_t(at + 4000));
        ExpectLeastSize(slice, all[all.size() / 2].string() + " at " + std::to_string(at));
    }
}

TEST(PackerLimits, RefusesInputsTheHeaderCannotDescribe) {
    EXPECT_NO_THROW(RequirePackableSize(INT_MAX));
    EXPECT_THROW(RequirePackableSize(std::uint64_t(INT_MAX) + 1), Exception);
    // Refused before any byte is read: the buffer is far smaller than claimed.
    const std::uint8_t one = 0;
    EXPECT_THROW(PackContainer(&one, std::size_t(INT_MAX) + 1), Exception);
}

// ---- Integrity record ---------------------------------------------------

TEST(ChecksumRecord, HoldsLengthThenCrc32) {
    const std::string check = "123456789";  // CRC-32 0xCBF43926
    const auto record = MakeChecksumRecord(reinterpret_cast<const std::uint8_t*>(check.data()), check.size());
    EXPECT_EQ(Bytes(record.begin(), record.end()), (Bytes{9, 0, 0, 0, 0x26, 0x39, 0xF4, 0xCB}));
    const auto empty = MakeChecksumRecord(nullptr, 0);
    EXPECT_EQ(Bytes(empty.begin(), empty.end()), Bytes(8, 0));
}

// ---- Command line -------------------------------------------------------

class PackerCommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("packer_test_" + std::to_string(std::random_device{}()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    std::string PathOf(const std::string& name) const { return (dir_ / name).u8string(); }

    void Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream f(dir_ / name, std::ios::binary);
        f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    int Run(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return RunPacker(args, out_, err_, false);
    }

    fs::path dir_;
    std::ostringstream out_, err_;
};

TEST_F(PackerCommandLine, PackUnpackAndInfo) {
    const Bytes input = Concat({Text(40000, 30), RandomBytes(5000, 31)});
    Write("in.bin", input);
    ASSERT_EQ(Run({"pack", PathOf("in.bin"), PathOf("out.ov"), "--checksum", PathOf("out.sum")}), 0) << err_.str();
    const Bytes container = ReadFile(dir_ / "out.ov");
    EXPECT_EQ(container, PackContainer(input.data(), input.size()));
    const auto record = MakeChecksumRecord(input.data(), input.size());
    EXPECT_EQ(ReadFile(dir_ / "out.sum"), Bytes(record.begin(), record.end()));

    ASSERT_EQ(Run({"unpack", PathOf("out.ov"), PathOf("back.bin")}), 0) << err_.str();
    EXPECT_TRUE(ReadFile(dir_ / "back.bin") == input);

    ASSERT_EQ(Run({"info", PathOf("out.ov")}), 0) << err_.str();
    const std::string info = out_.str();
    EXPECT_NE(info.find("OV"), std::string::npos) << info;
    EXPECT_NE(info.find(std::to_string(container.size() - 16) + " bytes"), std::string::npos) << info;
    EXPECT_NE(info.find(std::to_string(input.size()) + " bytes"), std::string::npos) << info;
    EXPECT_NE(info.find('%'), std::string::npos) << info;
}

TEST_F(PackerCommandLine, WrongUsageShowsUsageAndExitsTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {}, {"pack"}, {"pack", "a"}, {"pack", "a", "b", "--checksum"}, {"pack", "a", "b", "--sum", "c"},
        {"unpack", "a"}, {"info"}, {"info", "a", "b"}, {"squeeze", "a", "b"},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(Run(args), 2) << args.size();
        EXPECT_NE(err_.str().find("usage: packer pack IN OUT"), std::string::npos);
    }
}

TEST_F(PackerCommandLine, FailuresNameTheFileAndExitOne) {
    Write("in.bin", Text(1000, 40));
    Bytes container = PackContainer(Text(1000, 40).data(), 1000);
    container.resize(container.size() - 10);  // cut short
    Write("cut.ov", container);
    const struct {
        std::vector<std::string> args;
        std::string named;
    } cases[] = {
        {{"pack", PathOf("missing.bin"), PathOf("out.ov")}, PathOf("missing.bin")},
        {{"pack", PathOf("in.bin"), PathOf("no/such/dir/out.ov")}, PathOf("no/such/dir/out.ov")},
        {{"pack", PathOf("in.bin"), PathOf("out.ov"), "--checksum", PathOf("no/dir/s")}, PathOf("no/dir/s")},
        {{"unpack", PathOf("cut.ov"), PathOf("back.bin")}, PathOf("cut.ov")},
        {{"info", PathOf("missing.ov")}, PathOf("missing.ov")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.named);
        EXPECT_EQ(Run(c.args), 1);
        const std::string err = err_.str();
        EXPECT_EQ(err.rfind("packer: " + c.named + ": ", 0), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    EXPECT_FALSE(fs::exists(dir_ / "back.bin")) << "a failed unpack leaves no output";
}

}  // namespace
