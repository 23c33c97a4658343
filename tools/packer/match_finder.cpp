// Longest matches per distance class. The far and near windows are searched
// through the suffix array (WindowSearch); the short window and a quick test
// of whether the longer windows hold a three-byte match at all go through
// the two-byte chains. A far match inside the near window settles that
// window too: nothing there is longer.
//
// Positions flow through a short pipeline: far neighbours are located kLag
// positions before they are measured, so the suffix array entries they need
// have arrived from memory by then. The near window, searched only when the
// far match leaves it open, is kept and searched in the second stage.
#include "tools/packer/match_finder.h"

#include <algorithm>
#include "tools/packer/large_buffer.h"
#include "tools/packer/pair_chains.h"
#include "tools/packer/suffix_array.h"
#include "tools/packer/window_search.h"

namespace {

constexpr std::int32_t kShortWindow = 32, kShortCap = 4;
constexpr std::int32_t kNearWindow = 1024, kNearCap = 18;
constexpr std::int32_t kFarWindow = 16384, kFarCap = 4096;
constexpr std::int32_t kFarPlainCap = 256;  // the longest far count MatchSet keeps exactly
constexpr std::int32_t kMinCount = 3;  // of near and far matches
constexpr int kProbeSteps = 8;         // chain links tried before searching anyway
constexpr std::int32_t kLag = 4;

// What the first stage learned about one position.
struct Located {
    bool far_needed, near_needed;
    Neighbours far;
};

class Scanner {
public:
    Scanner(const std::uint8_t* data, std::int32_t n, const std::int32_t* sa, const std::int32_t* rank)
        : chains_(data, n, kFarWindow),
          far_(data, n, sa, rank, kFarWindow, kFarCap),
          near_(data, n, sa, rank, kNearWindow, kNearCap) {}

    // First stage, in increasing order of p. Near and far tokens need three
    // matching bytes, so a window is searched only when the nearest position
    // agreeing with p on three bytes lies inside it, or is not known.
    void Locate(std::int32_t p, Located& out) {
        const std::int32_t triple = chains_.NearestTriple(p, kProbeSteps);
        out.far_needed = triple != 0;
        out.near_needed = triple < 0 || (triple > 0 && triple <= kNearWindow);
        if (out.far_needed) out.far = far_.Locate(p);
        chains_.Add(p);
        far_.Advance(p);
    }

    // Second stage, in increasing order of p.
    MatchSet Measure(std::int32_t p, const Located& in) {
        Match f, m;
        if (in.far_needed) f = far_.Measure(p, in.far);
        else far_.Skip();
        if (f.distance > 0 && f.distance <= kNearWindow) {
            m = {std::min(f.length, kNearCap), f.distance};
            near_.Skip();
        } else if (in.near_needed) {
            m = near_.Measure(p, near_.Locate(p));
        } else {
            near_.Skip();
        }
        near_.Advance(p);
        // Likewise a near match inside the short window; otherwise the chains
        // hold every position that could match by two bytes or more.
        const Match s = m.distance > 0 && m.distance <= kShortWindow && m.length >= 2
                            ? Match{std::min(m.length, kShortCap), m.distance}
                            : chains_.Longest(p, kShortWindow, kShortCap);

        MatchSet out{};
        out.lengths = MatchLengths{};
        if (f.length >= kMinCount) {
            out.lengths.far_count = std::uint16_t(std::min(f.length, kFarPlainCap) - 2) & 0xFF;
            out.far_reaches_1024 = f.length >= 1024;
            out.far_reaches_4096 = f.length >= 4096;
            out.far_offset = std::uint16_t(f.distance - 1) & 0x3FFF;
        }
        if (m.length >= kMinCount) {
            out.lengths.near_length = std::uint16_t(m.length) & 31;
            out.near_offset = std::uint16_t(m.distance - 1) & 0x3FF;
        }
        if (s.length >= 2) {
            out.lengths.short_length = std::uint16_t(s.length) & 7;
            out.short_offset = std::uint16_t(s.distance - 1) & 31;
        }
        return out;
    }

private:
    PairChains chains_;
    WindowSearch far_, near_;
};

}  // namespace

std::vector<MatchSet> FindMatches(const std::uint8_t* data, std::size_t size, const MatchProgressFn& progress) {
    // Suffix sorting takes about a third of the time, the scan the rest.
    constexpr double kSortShare = 0.3;
    const auto n = static_cast<std::int32_t>(size);
    std::vector<MatchSet> result;
    result.reserve(size);

    const LargeArray<std::int32_t> sa = NewLargeArray<std::int32_t>(size);
    BuildSuffixArray(data, size, sa.get());
    const LargeArray<std::int32_t> rank = NewLargeArray<std::int32_t>(size);
    for (std::int32_t i = 0; i < n; ++i) rank[std::size_t(sa[std::size_t(i)])] = i;
    if (progress) progress(kSortShare);

    Scanner scanner(data, n, sa.get(), rank.get());
    Located ahead[kLag];
    for (std::int32_t p = 0; p < n + kLag; ++p) {
        const std::int32_t at = p - kLag;
        if (at >= 0) {
            result.push_back(scanner.Measure(at, ahead[at % kLag]));
            if (progress && (at & 0xFFFFF) == 0xFFFFF) progress(kSortShare + (1 - kSortShare) * at / n);
        }
        if (p < n) scanner.Locate(p, ahead[p % kLag]);
    }
    return result;
}
