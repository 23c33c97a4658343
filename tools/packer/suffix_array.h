// Suffix array construction by induced sorting (SA-IS), in linear time and
// without outside libraries, so the packer builds the same on every target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The starting positions of all suffixes of data[0, size) in lexicographic
// order, a shorter suffix before a longer one it is a prefix of. The size
// must be below 2^31.
std::vector<std::int32_t> BuildSuffixArray(const std::uint8_t* data, std::size_t size);

// The same into sa[0, size), which needs no initial contents.
void BuildSuffixArray(const std::uint8_t* data, std::size_t size, std::int32_t* sa);
