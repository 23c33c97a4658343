// Minimum over a sliding range of positions for the backward parse: values
// are pushed at ever smaller positions, and each query asks for the least
// value among positions from the latest push up to a given end. A value with
// a smaller one at a nearer position can never be the answer again, so the
// kept entries grow in value and shrink in position from first to last, and
// a query is a binary search.
//
// The kept positions always lie within a range shorter than Capacity (a
// power of two), so the entries live in a fixed ring, indexed by ever
// growing counters taken modulo Capacity.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

template <std::size_t Capacity>
class RangeMin {
    static_assert((Capacity & (Capacity - 1)) == 0, "the ring size must be a power of two");

public:
    struct Entry {
        std::int64_t position;
        std::int64_t value;
    };

    void Push(std::int64_t position, std::int64_t value) {
        while (end_ > first_ && At(end_ - 1).value >= value) --end_;
        At(end_++) = {position, value};
    }

    // Forgets the entries beyond `limit`: no later query reaches them.
    void DropAbove(std::int64_t limit) {
        while (first_ < end_ && At(first_).position > limit) ++first_;
    }

    // The entry of least value among positions up to `end`; there must be
    // one, which holds whenever end is at least the latest pushed position.
    // Those positions are the last entries, at most end - latest + 1 of them,
    // found by a binary search without branches.
    Entry MinUpTo(std::int64_t end) const {
        const std::size_t span = std::size_t(end - At(end_ - 1).position) + 1;
        std::size_t base = end_ - std::min(end_ - first_, span);
        for (std::size_t n = end_ - base; n > 1;) {
            const std::size_t half = n / 2;
            base = At(base + half).position > end ? base + half : base;
            n -= half;
        }
        return At(base).position > end ? At(base + 1) : At(base);
    }

    // The entry of least value of all kept.
    Entry Front() const { return At(first_); }

private:
    Entry& At(std::size_t i) { return entries_[i & (Capacity - 1)]; }
    const Entry& At(std::size_t i) const { return entries_[i & (Capacity - 1)]; }

    Entry entries_[Capacity];
    std::size_t first_ = 0, end_ = 0;  // entries kept: [first_, end_), counted from the first push
};
