// The packer's entry point and its smallest-size parse. A container's size is
// the header plus one byte per eight token bits, each token costing its bytes
// plus one flag bit, so the parse with the fewest bits gives the smallest
// container the format allows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "tools/packer/match_finder.h"

// Called now and then with the fraction of the work done, 0 to 1.
using ProgressFn = std::function<void(double)>;

// Packs data[0, size) into a complete container (header and token stream) of
// the least size possible. Raises Exception when the input or its container
// would exceed what the header's signed 32-bit fields can describe.
std::vector<std::uint8_t> PackContainer(const std::uint8_t* data, std::size_t size, ProgressFn progress = {});

// Raises Exception when an input of `size` bytes is too large to pack.
void RequirePackableSize(std::uint64_t size);

// The fewest-bits parse: for each position, the first token of a cheapest
// way to code the input from there to the end, written over that position's
// match lengths (MatchSet::step); the distances stay for the writer.
void ParseSteps(std::vector<MatchSet>& matches, const ProgressFn& progress = {});
