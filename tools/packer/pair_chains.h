// Earlier positions chained by their first two bytes: every position that
// can match p by two bytes or more is on p's chain, nearest first. Serves the
// short window directly and tells when the longer windows need no search.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/packer/common_length.h"

class PairChains {
public:
    // Chains reach `reach` positions back.
    PairChains(const std::uint8_t* data, std::int32_t n, std::int32_t reach);

    // The longest match at p within `window` back, at most `cap` bytes long;
    // follows the whole chain in that window. Positions from p on may have
    // been added already; they are passed over.
    Match Longest(std::int32_t p, std::int32_t window, std::int32_t cap) const;

    // The distance of the nearest position within the chains' reach that
    // agrees with p on three bytes; 0 when there is none, -1 when more than
    // `steps` links were followed without an answer.
    std::int32_t NearestTriple(std::int32_t p, int steps) const;

    // Puts p on its chain; positions are added in increasing order, and the
    // queries above see those added so far.
    void Add(std::int32_t p);

private:
    std::uint32_t Key(std::int32_t p) const { return std::uint32_t(data_[p]) << 8 | data_[p + 1]; }

    const std::uint8_t* data_;
    std::int32_t n_;
    std::int32_t reach_;
    std::int32_t mask_;                  // ring index mask, the ring longer than the reach
    std::vector<std::int32_t> head_;     // per two-byte key, the latest position or -1
    std::vector<std::int32_t> previous_; // ring: per position, the one before on its chain
};
