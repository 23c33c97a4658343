// Fuzzes pack-then-unpack: every input must come back byte for byte from
// the container the packer makes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/decoder.h"
#include "kit/stream.h"
#include "tools/packer/optimal_parse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> container = PackContainer(data, size);
    TReadOnlyMemoryStream source(container.data(), container.size());
    TMemoryStream decoded;
    DecodePayload(source, decoded);
    if (decoded.Bytes().size() != size || (size && std::memcmp(decoded.Bytes().data(), data, size) != 0))
        std::abort();
    return 0;
}
