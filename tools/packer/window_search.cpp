// Neighbour search in a sliding window of suffix ranks. Each neighbour's
// common length is counted by comparing bytes, starting one short of the
// length the same side had at p - 1: if q shared h > 0 bytes with p - 1, then
// q + 1 lies in p's window on the same side and shares h - 1 bytes with p,
// and the neighbour lies between them in rank, so it shares at least as many.
// That keeps the comparisons linear in the input even for long runs and
// repeats. A carried length is a lower bound only, so stopping at the cap or
// at the end of the input keeps it valid.
#include "tools/packer/window_search.h"

#include <algorithm>

namespace {

constexpr std::int32_t kLargeInput = 1 << 22;  // a set of 512 KB and more
constexpr std::int32_t kPrefetchAhead = 16;

}  // namespace

WindowSearch::WindowSearch(const std::uint8_t* data, std::int32_t n, const std::int32_t* sa,
                           const std::int32_t* rank, std::int32_t window, std::int32_t cap)
    : data_(data), n_(n), sa_(sa), rank_(rank), window_(window), cap_(cap), set_(std::size_t(n)) {}

Neighbours WindowSearch::Locate(std::int32_t p) const {
    const std::uint32_t r = std::uint32_t(rank_[p]);
    Neighbours nb{set_.Below(r), set_.Above(r)};
    if (nb.below >= 0) __builtin_prefetch(sa_ + nb.below);
    if (nb.above >= 0) __builtin_prefetch(sa_ + nb.above);
    return nb;
}

Match WindowSearch::Measure(std::int32_t p, const Neighbours& nb) {
    const std::int32_t limit = std::min(cap_, n_ - p);
    Match best;
    Side(p, nb.below, limit, carry_below_, best);
    Side(p, nb.above, limit, carry_above_, best);
    return best;
}

void WindowSearch::Side(std::int32_t p, std::int64_t neighbour, std::int32_t limit, std::int32_t& carry,
                        Match& best) const {
    if (neighbour < 0) {
        carry = 0;
        return;
    }
    const std::int32_t q = sa_[neighbour];
    const std::int32_t h = CommonLength(data_ + q, data_ + p, std::min(carry, limit), limit);
    carry = h > 0 ? h - 1 : 0;
    if (h > best.length) best = {h, p - q};
}

void WindowSearch::Advance(std::int32_t p) {
    set_.Insert(std::uint32_t(rank_[p]));
    if (p >= window_) set_.Erase(std::uint32_t(rank_[p - window_]));
    // Once the set outgrows the caches, fetch the words the coming inserts
    // and erases change ahead of time: their ranks are known already.
    if (n_ >= kLargeInput) {
        const std::int32_t ahead = p + kPrefetchAhead;
        if (ahead < n_) set_.Prefetch(std::uint32_t(rank_[ahead]));
        if (ahead >= window_ && ahead - window_ < n_) set_.Prefetch(std::uint32_t(rank_[ahead - window_]));
    }
}
