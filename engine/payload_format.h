// The payload container: a 16-byte header followed by a token stream of
// flag bytes and four token forms. Shared by the decoder and the packer.
//
//   offset 0  2 bytes  signature (not examined by the decoder)
//   offset 2  2 bytes  unused
//   offset 4  int32    N, token-stream length
//   offset 8  int32    L, decoded length
//   offset 12 4 bytes  zero
//
// Each group is one flag byte (bit 7 first) and up to eight tokens. A flag
// bit of 0 is one literal byte; a 1 is a coded token whose first byte e says:
//   e < 0x80, e & 3 == 3   literal run of ((e >> 2) & 31) + 9 bytes (9..40)
//   e < 0x80, otherwise    short match, distance (e >> 2) + 1 (1..32),
//                          count (e & 3) + 2 (2..4)
//   0x80..0xBF, f          near match, distance ((e & 0x3F) << 4 | f >> 4) + 1
//                          (1..1024), count (f & 15) + 3 (3..18)
//   0xC0..0xFF, f, g       far match, distance ((e & 0x3F) << 8 | f) + 1
//                          (1..16384), count g + 3, or 1024 (g 254), 4096 (g 255)
#pragma once

#include <cstdint>

namespace payload {

inline constexpr int kHeaderSize = 16;
inline constexpr int kSpareInputBytes = 256;
inline constexpr int kBlockSize = 1 << 20;           // one flush writes this much
inline constexpr int kFlushThreshold = 2 << 20;      // pending bytes that trigger a flush
inline constexpr int kOutputBufferSize = 3 << 20;

inline constexpr int kLiteralRunMin = 9, kLiteralRunMax = 40;
inline constexpr int kShortMaxDistance = 32, kShortMinCount = 2, kShortMaxCount = 4;
inline constexpr int kNearMaxDistance = 1024, kNearMinCount = 3, kNearMaxCount = 18;
inline constexpr int kFarMaxDistance = 16384, kFarMinCount = 3, kFarMaxPlainCount = 256;
inline constexpr int kFarCount254 = 1024, kFarCount255 = 4096;
inline constexpr int kMaxTokenOutput = 4096;
inline constexpr int kMaxTokenInput = 1 + kLiteralRunMax;

inline std::int32_t LoadLE32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                     std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

inline void StoreLE32(std::uint8_t* p, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

}  // namespace payload
