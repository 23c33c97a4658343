// Encodes a parse as a container: the header, then flag bytes and tokens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/packer/match_set.h"

// Follows the parsed steps from position 0 to the end and writes each
// token, with the match distance kept beside its step. Raises Exception when the token stream would
// be longer than a container can declare.
std::vector<std::uint8_t> WriteContainer(const std::uint8_t* data, std::size_t size,
                                         const std::vector<MatchSet>& parsed);
