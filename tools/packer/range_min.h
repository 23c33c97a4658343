// Minimum over a sliding range of positions for the backward parse: values
// are pushed at ever smaller positions, and each query asks for the least
// value among positions from the latest push up to a given end. A value with
// a smaller one at a nearer position can never be the answer again, so the
// kept entries grow in value and shrink in position from first to last, and
// a query is a binary search.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class RangeMin {
public:
    struct Entry {
        std::int64_t position;
        std::int64_t value;
    };

    void Push(std::int64_t position, std::int64_t value) {
        while (entries_.size() > first_ && entries_.back().value >= value) entries_.pop_back();
        entries_.push_back({position, value});
    }

    // Forgets the entries beyond `limit`: no later query reaches them.
    void DropAbove(std::int64_t limit) {
        while (first_ < entries_.size() && entries_[first_].position > limit) ++first_;
        if (first_ >= 4096 && first_ * 2 >= entries_.size()) {
            entries_.erase(entries_.begin(), entries_.begin() + std::ptrdiff_t(first_));
            first_ = 0;
        }
    }

    // The entry of least value among positions up to `end`; there must be
    // one, which holds whenever end is at least the latest pushed position.
    // Those positions are the last entries, at most end - latest + 1 of them,
    // found by a binary search without branches.
    Entry MinUpTo(std::int64_t end) const {
        const std::size_t span = std::size_t(end - entries_.back().position) + 1;
        const std::size_t size = entries_.size();
        const std::size_t lo = size - std::min(size - first_, span);
        const Entry* base = entries_.data() + lo;
        for (std::size_t n = size - lo; n > 1;) {
            const std::size_t half = n / 2;
            base = base[half].position > end ? base + half : base;
            n -= half;
        }
        return base->position > end ? base[1] : base[0];
    }

    // The entry of least value of all kept.
    Entry Front() const { return entries_[first_]; }

private:
    std::vector<Entry> entries_;
    std::size_t first_ = 0;
};
