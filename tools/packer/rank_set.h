// A set of integers below a fixed bound with constant-time insert, erase and
// nearest-member queries: a tree of 64-bit words, 64 children per word, so
// each operation touches one word per level (six levels cover 2^36).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class RankSet {
public:
    explicit RankSet(std::size_t bound);
    RankSet(const RankSet&) = delete;  // level_ points into words_
    RankSet& operator=(const RankSet&) = delete;

    void Insert(std::uint32_t x);
    void Erase(std::uint32_t x);
    // Starts loading the word that holds x.
    void Prefetch(std::uint32_t x) const { __builtin_prefetch(&level_[0][x >> 6]); }

    // The largest member below x, or -1 when there is none.
    std::int64_t Below(std::uint32_t x) const;
    // The smallest member above x, or -1 when there is none.
    std::int64_t Above(std::uint32_t x) const;

private:
    static constexpr int kMaxLevels = 6;

    std::vector<std::uint64_t> words_;         // all levels, one after another
    std::uint64_t* level_[kMaxLevels] = {};    // [0] holds one bit per value
    int levels_ = 0;
};
