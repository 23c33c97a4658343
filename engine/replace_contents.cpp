// The mechanism that keeps a game executable from ever being lost: the new
// bytes are decoded and checked in memory while the target is held open
// without sharing; only then is the target overwritten in place, and a
// failure while doing so (a full disk, a device error) writes the old bytes
// back, which always fit, as the file already held them. In place rather
// than through a temporary file swapped in: the target keeps its identity,
// attributes and security, no second file can be left behind, and the one
// handle stays unshared from the first look at the file to the final flush.
// The price is memory: the decoded payload and the old file are both held,
// which for a game executable is a few MB (hundreds of MB would still do).
#include "engine/replace_contents.h"

#include <algorithm>
#include <vector>

#include "engine/crc32.h"
#include "engine/decoder.h"
#include "engine/payload_format.h"
#include "kit/exceptions.h"
#include "kit/stream.h"

namespace {

void WriteInBlocks(TStream& target, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t at = 0; at < bytes.size(); at += payload::kBlockSize)
        target.WriteBuffer(bytes.data() + at, std::min<std::size_t>(payload::kBlockSize, bytes.size() - at));
}

void Overwrite(TSeekableStream& target, const std::vector<std::uint8_t>& bytes) {
    target.Seek(0);
    WriteInBlocks(target, bytes);
    target.Truncate();
    target.Flush();
}

}  // namespace

void ReplaceWithPayload(TStream& source, const std::optional<payload::ChecksumRecord>& check,
                        TSeekableStream& target) {
    TMemoryStream decoded;
    DecodePayload(source, decoded);
    const std::vector<std::uint8_t>& bytes = decoded.Bytes();
    if (check && (bytes.size() != std::size_t(std::max(check->decoded_length, 0)) ||
                  Crc32(bytes.data(), bytes.size()) != check->crc32))
        throw EReadError(msg::kReadError);

    const std::int64_t old_size = target.Size();
    if (old_size < 0) throw EReadError(msg::kReadError);
    std::vector<std::uint8_t> old(static_cast<std::size_t>(old_size));
    target.Seek(0);
    target.ReadBuffer(old.data(), old.size());

    try {
        Overwrite(target, bytes);
    } catch (...) {
        try {
            Overwrite(target, old);
        } catch (...) {
            // The device refuses even the bytes it held a moment ago; there is
            // nothing further to try, and the first failure is the one to tell.
        }
        throw;
    }
}
