// Counting how far two places of the input agree, eight bytes at a time.
#pragma once

#include <cstdint>
#include <cstring>

// How many bytes the texts at a and b agree on, given that they agree on the
// first `start`, counting no further than `limit` (both texts must hold
// `limit` bytes).
inline std::int32_t CommonLength(const std::uint8_t* a, const std::uint8_t* b, std::int32_t start,
                                 std::int32_t limit) {
    std::int32_t h = start;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    while (h + 8 <= limit) {
        std::uint64_t x, y;
        std::memcpy(&x, a + h, 8);
        std::memcpy(&y, b + h, 8);
        if (x != y) return h + __builtin_ctzll(x ^ y) / 8;
        h += 8;
    }
#endif
    while (h < limit && a[h] == b[h]) ++h;
    return h;
}

// A match: how many bytes, and how far back.
struct Match {
    std::int32_t length = 0;
    std::int32_t distance = 0;
};
