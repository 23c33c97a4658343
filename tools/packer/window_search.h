// The longest match within a window of earlier positions, found through the
// suffix array: the suffixes starting in the window form a set of ranks, and
// the one sharing the longest prefix with the suffix at p is its nearest
// neighbour below or above p's rank in that set.
#pragma once

#include <cstdint>

#include "tools/packer/common_length.h"
#include "tools/packer/rank_set.h"

// The ranks nearest to a position's own in a window's set, -1 for none.
struct Neighbours {
    std::int64_t below = -1, above = -1;
};

class WindowSearch {
public:
    // sa and rank are the suffix array of data[0, n) and its inverse.
    WindowSearch(const std::uint8_t* data, std::int32_t n, const std::int32_t* sa, const std::int32_t* rank,
                 std::int32_t window, std::int32_t cap);

    // The neighbours of p while the window is [p - window, p). Starts
    // loading their positions, for Measure to read (best some steps later).
    Neighbours Locate(std::int32_t p) const;

    // The longer match (at most cap bytes) of p's two neighbours. Positions
    // must be measured in increasing order; those left out must be skipped.
    Match Measure(std::int32_t p, const Neighbours& nb);
    void Skip() { carry_below_ = carry_above_ = 0; }

    // Moves the window from [p - window, p) to [p + 1 - window, p + 1).
    void Advance(std::int32_t p);

private:
    void Side(std::int32_t p, std::int64_t neighbour, std::int32_t limit, std::int32_t& carry, Match& best) const;

    const std::uint8_t* data_;
    std::int32_t n_;
    const std::int32_t* sa_;
    const std::int32_t* rank_;
    std::int32_t window_, cap_;
    RankSet set_;
    std::int32_t carry_below_ = 0, carry_above_ = 0;
};
