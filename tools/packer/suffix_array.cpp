// SA-IS (induced sorting): classify each suffix as S (smaller than the next
// suffix) or L (larger), sort the LMS substrings by two induction passes,
// name them, sort the string of names recursively when names repeat, and
// induce the whole order from the sorted LMS suffixes. An end marker smaller
// than every character is assumed after the text; it is never stored.
// Working space beyond the result: one type bit per position and the bucket
// tables; the reduced string and its suffix array live inside the result.
#include "tools/packer/suffix_array.h"

#include <algorithm>
#include <stdexcept>

namespace {

class TypeBits {
public:
    explicit TypeBits(std::int32_t n) : words_((std::size_t(n) + 63) / 64, 0) {}
    bool Get(std::int32_t i) const { return words_[std::size_t(i) >> 6] >> (i & 63) & 1; }
    void Set(std::int32_t i) { words_[std::size_t(i) >> 6] |= std::uint64_t(1) << (i & 63); }

private:
    std::vector<std::uint64_t> words_;
};

template <typename Char>
class Sorter {
public:
    Sorter(const Char* s, std::int32_t* sa, std::int32_t n, std::int32_t k)
        : s_(s), sa_(sa), n_(n), counts_(std::size_t(k), 0), bucket_(std::size_t(k)), is_s_(n) {}

    void Run() {
        ClassifyAndCount();
        // Sort the LMS substrings: seed each at its bucket end, then induce.
        std::fill(sa_, sa_ + n_, -1);
        BucketEnds();
        for (std::int32_t i = n_ - 1; i >= 1; --i)
            if (IsLms(i)) sa_[--bucket_[std::size_t(s_[i])]] = i;
        InduceL();
        InduceS();

        std::int32_t n1 = 0;
        for (std::int32_t i = 0; i < n_; ++i)
            if (IsLms(sa_[i])) sa_[n1++] = sa_[i];
        const std::int32_t names = NameLmsSubstrings(n1);

        // The reduced string occupies the tail of the result, its suffix
        // array the head; n1 <= n/2 keeps the two apart.
        std::int32_t* s1 = sa_ + n_ - n1;
        if (names < n1) {
            Sorter<std::int32_t>(s1, sa_, n1, names).Run();
        } else {
            for (std::int32_t i = 0; i < n1; ++i) sa_[s1[i]] = i;
        }

        // Map reduced suffixes back to LMS positions, in sorted order.
        for (std::int32_t i = 1, j = 0; i < n_; ++i)
            if (IsLms(i)) s1[j++] = i;
        for (std::int32_t i = 0; i < n1; ++i) sa_[i] = s1[sa_[i]];

        std::fill(sa_ + n1, sa_ + n_, -1);
        BucketEnds();
        for (std::int32_t i = n1 - 1; i >= 0; --i) {
            std::int32_t j = sa_[i];
            sa_[i] = -1;
            sa_[--bucket_[std::size_t(s_[j])]] = j;
        }
        InduceL();
        InduceS();
    }

private:
    void ClassifyAndCount() {
        // The last suffix is L: the end marker after it is smaller.
        for (std::int32_t i = n_ - 2; i >= 0; --i)
            if (s_[i] < s_[i + 1] || (s_[i] == s_[i + 1] && is_s_.Get(i + 1))) is_s_.Set(i);
        for (std::int32_t i = 0; i < n_; ++i) ++counts_[std::size_t(s_[i])];
    }

    bool IsLms(std::int32_t i) const { return i > 0 && is_s_.Get(i) && !is_s_.Get(i - 1); }

    void BucketHeads() {
        std::int32_t sum = 0;
        for (std::size_t c = 0; c < counts_.size(); ++c) {
            bucket_[c] = sum;
            sum += counts_[c];
        }
    }

    void BucketEnds() {
        std::int32_t sum = 0;
        for (std::size_t c = 0; c < counts_.size(); ++c) {
            sum += counts_[c];
            bucket_[c] = sum;
        }
    }

    // Left to right: each L suffix follows from the suffix one after it. The
    // suffix before the end marker comes first of all.
    void InduceL() {
        BucketHeads();
        sa_[bucket_[std::size_t(s_[n_ - 1])]++] = n_ - 1;
        for (std::int32_t i = 0; i < n_; ++i) {
            std::int32_t j = sa_[i] - 1;
            if (j >= 0 && !is_s_.Get(j)) sa_[bucket_[std::size_t(s_[j])]++] = j;
        }
    }

    // Right to left: each S suffix from the suffix one after it.
    void InduceS() {
        BucketEnds();
        for (std::int32_t i = n_ - 1; i >= 0; --i) {
            std::int32_t j = sa_[i] - 1;
            if (j >= 0 && is_s_.Get(j)) sa_[--bucket_[std::size_t(s_[j])]] = j;
        }
    }

    // Whether the LMS substrings at a and b (each up to and including the
    // next LMS position) are equal in characters and types.
    bool SameLmsSubstring(std::int32_t a, std::int32_t b) const {
        for (std::int32_t d = 0;; ++d) {
            if (a + d == n_ || b + d == n_) return false;  // only one reaches the end marker
            if (s_[a + d] != s_[b + d] || is_s_.Get(a + d) != is_s_.Get(b + d)) return false;
            if (d > 0 && IsLms(a + d)) return true;  // types agree, so b + d ends too
        }
    }

    // Names the sorted LMS substrings in sa[0, n1) by rank, equal ones alike,
    // and leaves the names in text order in sa[n - n1, n). Returns how many
    // names there are. LMS positions are at least two apart, so pos / 2
    // gives each its own slot in sa[n1, n).
    std::int32_t NameLmsSubstrings(std::int32_t n1) {
        std::fill(sa_ + n1, sa_ + n_, -1);
        std::int32_t name = 0, previous = -1;
        for (std::int32_t i = 0; i < n1; ++i) {
            std::int32_t pos = sa_[i];
            if (previous < 0 || !SameLmsSubstring(previous, pos)) ++name;
            previous = pos;
            sa_[n1 + pos / 2] = name - 1;
        }
        for (std::int32_t i = n_ - 1, j = n_ - 1; i >= n1; --i)
            if (sa_[i] >= 0) sa_[j--] = sa_[i];
        return name;
    }

    const Char* s_;
    std::int32_t* sa_;
    std::int32_t n_;
    std::vector<std::int32_t> counts_;
    std::vector<std::int32_t> bucket_;
    TypeBits is_s_;
};

}  // namespace

void BuildSuffixArray(const std::uint8_t* data, std::size_t size, std::int32_t* sa) {
    if (size >= (std::size_t(1) << 31)) throw std::length_error("suffix array input too large");
    const auto n = static_cast<std::int32_t>(size);
    if (n == 1) sa[0] = 0;
    if (n > 1) Sorter<std::uint8_t>(data, sa, n, 256).Run();
}

std::vector<std::int32_t> BuildSuffixArray(const std::uint8_t* data, std::size_t size) {
    std::vector<std::int32_t> sa(size);
    BuildSuffixArray(data, size, sa.data());
    return sa;
}
