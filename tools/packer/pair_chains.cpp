// Two-byte hash chains over a ring of the last positions: a link is followed
// only while it stays within the reach, so the ring never hands out a slot
// that a later position has taken over.
#include "tools/packer/pair_chains.h"

#include <algorithm>

PairChains::PairChains(const std::uint8_t* data, std::int32_t n, std::int32_t reach)
    : data_(data), n_(n), reach_(reach), head_(1 << 16, -1) {
    std::int32_t ring = 1;
    while (ring <= reach) ring <<= 1;
    mask_ = ring - 1;
    previous_.assign(std::size_t(ring), -1);
}

Match PairChains::Longest(std::int32_t p, std::int32_t window, std::int32_t cap) const {
    Match best;
    if (n_ - p < 2) return best;
    const std::int32_t limit = std::min(cap, n_ - p);
    std::int32_t q = head_[Key(p)];
    while (q >= p) q = previous_[std::size_t(q & mask_)];  // added already, but not before p
    const std::uint8_t* b = data_ + p;
    for (; q >= 0 && p - q <= window; q = previous_[std::size_t(q & mask_)]) {
        const std::uint8_t* a = data_ + q;
        // The usual four-byte cap is counted without a loop.
        const std::int32_t h = limit == 4 ? 2 + (a[2] == b[2]) * (1 + (a[3] == b[3])) : CommonLength(a, b, 2, limit);
        if (h > best.length) {
            best = {h, p - q};
            if (h == limit) break;
        }
    }
    return best;
}

std::int32_t PairChains::NearestTriple(std::int32_t p, int steps) const {
    if (n_ - p < 3) return 0;
    for (std::int32_t q = head_[Key(p)]; q >= 0 && p - q <= reach_; q = previous_[std::size_t(q & mask_)]) {
        if (data_[q + 2] == data_[p + 2]) return p - q;
        if (--steps == 0) return -1;
    }
    return 0;
}

void PairChains::Add(std::int32_t p) {
    if (n_ - p < 2) return;
    std::int32_t& head = head_[Key(p)];
    previous_[std::size_t(p & mask_)] = head;
    head = p;
}
