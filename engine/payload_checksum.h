// The integrity record carried beside the container as a second raw-data
// resource: 8 bytes, the decoded length and the CRC-32 of the decoded bytes,
// both little-endian. The container itself stays exactly as its format says.
#pragma once

#include <cstdint>

namespace payload {

inline constexpr const char* kChecksumResourceSuffix = "SUM";  // "EXE" -> "EXESUM"
inline constexpr int kChecksumRecordSize = 8;

struct ChecksumRecord {
    std::int32_t decoded_length;
    std::uint32_t crc32;
};

}  // namespace payload
