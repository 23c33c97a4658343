// Builds the 8-byte integrity record for packed input.
#include "tools/packer/checksum_record.h"

#include "engine/crc32.h"
#include "engine/payload_format.h"
#include "tools/packer/optimal_parse.h"

std::array<std::uint8_t, payload::kChecksumRecordSize> MakeChecksumRecord(const std::uint8_t* data,
                                                                          std::size_t size) {
    RequirePackableSize(size);
    std::array<std::uint8_t, payload::kChecksumRecordSize> record{};
    payload::StoreLE32(&record[0], std::int32_t(size));
    payload::StoreLE32(&record[4], std::int32_t(Crc32(data, size)));
    return record;
}
