// For every position of the input, the longest earlier match in each
// distance class of the token forms: the short window (32 back, counts up to
// 4), the near window (1024 back, up to 18) and the far window (16384 back,
// up to 4096). Any shorter count at the same distance matches as well. A
// length below its class's least count (2 short, 3 near and far) is 0.
// MatchSet (match_set.h) says how each is kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "tools/packer/match_set.h"

// Called with the fraction of positions done, now and then.
using MatchProgressFn = std::function<void(double)>;

std::vector<MatchSet> FindMatches(const std::uint8_t* data, std::size_t size,
                                  const MatchProgressFn& progress = {});
