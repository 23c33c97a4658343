// For every position of the input, the longest earlier match in each
// distance class of the token forms: the short window (32 back, counts up to
// 4), the near window (1024 back, up to 18) and the far window (16384 back,
// up to 4096). Any shorter count at the same distance matches as well. A
// length below its class's least count (2 short, 3 near and far) is 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

struct MatchSet {
    std::uint16_t far_length;     // 0..4096
    std::uint16_t far_distance;   // 1..16384 when far_length > 0
    std::uint16_t near_distance;  // 1..1024 when near_length > 0
    std::uint8_t near_length : 5;   // 0..18
    std::uint8_t short_length : 3;  // 0..4
    std::uint8_t short_distance;    // 1..32 when short_length > 0
};

// Called with the fraction of positions done, now and then.
using MatchProgressFn = std::function<void(double)>;

std::vector<MatchSet> FindMatches(const std::uint8_t* data, std::size_t size,
                                  const MatchProgressFn& progress = {});
