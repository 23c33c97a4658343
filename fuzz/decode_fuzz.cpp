// Fuzzes the decoder with arbitrary containers: it must either decode or
// raise the read error, never touch memory outside its buffers.
#include <cstddef>
#include <cstdint>

#include "engine/decoder.h"
#include "kit/exceptions.h"
#include "kit/stream.h"

namespace {
// Counts what it is given; the decoder's output itself is not kept.
class CountingStream : public TStream {
public:
    std::size_t Read(void*, std::size_t) override { return 0; }
    std::size_t Write(const void* buffer, std::size_t count) override {
        if (count) total += static_cast<const std::uint8_t*>(buffer)[count - 1];
        return count;
    }
    std::size_t total = 0;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TReadOnlyMemoryStream source(data, size);
    CountingStream destination;
    try {
        DecodePayload(source, destination);
    } catch (const EReadError&) {
    }
    return 0;
}
