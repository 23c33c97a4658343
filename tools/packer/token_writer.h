// Encodes a parse as a container: the header, then flag bytes and tokens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/packer/match_finder.h"
#include "tools/packer/optimal_parse.h"

// Follows steps from position 0 to the end and writes each token, taking
// match distances from matches. Raises Exception when the token stream would
// be longer than a container can declare.
std::vector<std::uint8_t> WriteContainer(const std::uint8_t* data, std::size_t size,
                                         const std::vector<MatchSet>& matches, const std::vector<Step>& steps);
