// The word tree behind RankSet: a bit at level k+1 is set when its 64-bit
// word at level k is nonzero.
#include "tools/packer/rank_set.h"

namespace {

inline int HighestBit(std::uint64_t w) { return 63 - __builtin_clzll(w); }
inline int LowestBit(std::uint64_t w) { return __builtin_ctzll(w); }

}  // namespace

RankSet::RankSet(std::size_t bound) {
    std::size_t sizes[kMaxLevels], total = 0;
    std::size_t words = (bound + 63) / 64;
    do {
        if (words == 0) words = 1;
        sizes[levels_++] = words;
        total += words;
        words = (words + 63) / 64;
    } while (sizes[levels_ - 1] > 1);
    words_.assign(total, 0);
    for (int k = 0, at = 0; k < levels_; at += int(sizes[k]), ++k) level_[k] = words_.data() + at;
}

void RankSet::Insert(std::uint32_t x) {
    for (int k = 0; k < levels_; ++k) {
        std::uint64_t& word = level_[k][x >> 6];
        const bool was_empty = word == 0;
        word |= std::uint64_t(1) << (x & 63);
        if (!was_empty) return;
        x >>= 6;
    }
}

void RankSet::Erase(std::uint32_t x) {
    for (int k = 0; k < levels_; ++k) {
        std::uint64_t& word = level_[k][x >> 6];
        word &= ~(std::uint64_t(1) << (x & 63));
        if (word != 0) return;
        x >>= 6;
    }
}

std::int64_t RankSet::Below(std::uint32_t x) const {
    std::uint64_t index = x;
    for (int k = 0; k < levels_; ++k) {
        const std::uint64_t bit = index & 63;
        index >>= 6;
        const std::uint64_t word = level_[k][index] & ((std::uint64_t(1) << bit) - 1);
        if (word == 0) continue;
        index = index << 6 | std::uint64_t(HighestBit(word));
        while (k-- > 0) index = index << 6 | std::uint64_t(HighestBit(level_[k][index]));
        return std::int64_t(index);
    }
    return -1;
}

std::int64_t RankSet::Above(std::uint32_t x) const {
    std::uint64_t index = x;
    for (int k = 0; k < levels_; ++k) {
        const std::uint64_t bit = index & 63;
        index >>= 6;
        const std::uint64_t word = bit == 63 ? 0 : level_[k][index] & (~std::uint64_t(0) << (bit + 1));
        if (word == 0) continue;
        index = index << 6 | std::uint64_t(LowestBit(word));
        while (k-- > 0) index = index << 6 | std::uint64_t(LowestBit(level_[k][index]));
        return std::int64_t(index);
    }
    return -1;
}
