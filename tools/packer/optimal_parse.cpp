// The backward shortest-path pass behind the smallest container. cost(p) is
// the fewest bits that code the input from p to its end; each token form
// gives edges from p, and every count up to a class's longest match is an
// edge too. Edges of one form cost the same, so for a range of counts only
// the least cost(p + count) matters; the far and near counts (from 3) and the
// literal runs (9..40, cost growing 8 bits a byte) use a sliding minimum.
// Only costs up to 4096 ahead are ever read, so they live in a small ring.
#include "tools/packer/optimal_parse.h"

#include <algorithm>

#include "engine/payload_format.h"
#include "tools/packer/range_min.h"

namespace {

using namespace payload;

// Token bits: the token's bytes plus its flag bit.
constexpr std::int64_t kLiteralBits = 9, kRunBaseBits = 9, kRunByteBits = 8;
constexpr std::int64_t kShortBits = 9, kNearBits = 17, kFarBits = 25;

constexpr std::int64_t kRing = 8192;  // a power of two above kMaxTokenOutput

}  // namespace

void ParseSteps(std::vector<MatchSet>& matches, const ProgressFn& progress) {
    const auto n = static_cast<std::int64_t>(matches.size());
    std::vector<std::int64_t> ring(kRing);
    auto cost = [&ring](std::int64_t p) -> std::int64_t& { return ring[std::size_t(p & (kRing - 1))]; };

    RangeMin<256> from_three;  // cost(q) for q in [p + 3, p + 256]
    RangeMin<64> runs;         // cost(q) + 8q for q in [p + 9, p + 40]
    static_assert(kFarMaxPlainCount - kFarMinCount < 256 && kLiteralRunMax - kLiteralRunMin < 64);
    cost(n) = 0;
    for (std::int64_t p = n - 1; p >= 0; --p) {
        std::int64_t best = kLiteralBits + cost(p + 1);
        Step step{1, std::uint16_t(StepKind::kLiteral)};
        auto consider = [&](std::int64_t bits, std::int64_t length, StepKind kind) {
            if (bits < best) {
                best = bits;
                step = Step{std::uint16_t(length), std::uint16_t(kind)};
            }
        };

        if (p + kLiteralRunMin <= n) {
            runs.Push(p + kLiteralRunMin, cost(p + kLiteralRunMin) + kRunByteBits * (p + kLiteralRunMin));
            runs.DropAbove(p + kLiteralRunMax);
            const auto e = runs.Front();
            consider(kRunBaseBits + e.value - kRunByteBits * p, e.position - p, StepKind::kLiteral);
        }

        MatchSet& m = matches[std::size_t(p)];
        const MatchLengths lengths = m.lengths;
        for (std::int64_t c = kShortMinCount; c <= lengths.short_length; ++c)
            consider(kShortBits + cost(p + c), c, StepKind::kShort);

        if (p + kFarMinCount <= n) {
            from_three.Push(p + kFarMinCount, cost(p + kFarMinCount));
            from_three.DropAbove(p + kFarMaxPlainCount);
        }
        if (lengths.near_length >= kNearMinCount) {
            const auto e = from_three.MinUpTo(p + lengths.near_length);
            consider(kNearBits + e.value, e.position - p, StepKind::kNear);
        }
        if (lengths.far_count > 0) {
            const auto e = from_three.MinUpTo(p + lengths.far_count + 2);
            consider(kFarBits + e.value, e.position - p, StepKind::kFar);
            if (m.far_reaches_1024) consider(kFarBits + cost(p + kFarCount254), kFarCount254, StepKind::kFar);
            if (m.far_reaches_4096) consider(kFarBits + cost(p + kFarCount255), kFarCount255, StepKind::kFar);
        }

        cost(p) = best;
        m.step = step;
        if (progress && (p & 0xFFFFF) == 0) progress(double(n - p) / double(n));
    }
}
