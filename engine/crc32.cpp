// Table-driven CRC-32, eight bytes per step (slicing by 8).
#include "engine/crc32.h"

#include <array>

namespace {

using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

Tables MakeTables() {
    Tables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (std::uint32_t i = 0; i < 256; ++i)
        for (int s = 1; s < 8; ++s) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
    return t;
}

}  // namespace

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc) {
    static const Tables t = MakeTables();
    auto p = static_cast<const std::uint8_t*>(data);
    crc = ~crc;
    for (; size >= 8; size -= 8, p += 8) {
        std::uint32_t lo = crc ^ (std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                  std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
        crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
              t[3][p[4]] ^ t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
    }
    for (; size; --size, ++p) crc = t[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
    return ~crc;
}
