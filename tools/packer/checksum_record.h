// The integrity record written beside a container: the decoded length and
// the CRC-32 of the decoded bytes, both little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/payload_checksum.h"

std::array<std::uint8_t, payload::kChecksumRecordSize> MakeChecksumRecord(const std::uint8_t* data,
                                                                          std::size_t size);
