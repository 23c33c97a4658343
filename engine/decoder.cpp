// The payload decoder. One token routine serves two loops: a fast loop that
// checks input and output room once per flag group, and an exact tail loop
// that checks every token. Malformed input can never make either loop read or
// write outside its buffers: a token that needs bytes past the token stream,
// or a distance reaching before the first decoded byte, raises EReadError.
#include "engine/decoder.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "engine/payload_format.h"
#include "kit/exceptions.h"
#include "kit/stream.h"

namespace {

using namespace payload;
using Bytes = std::unique_ptr<std::uint8_t[]>;

[[noreturn]] void Malformed() { throw EReadError(msg::kReadError); }

// The token stream plus kSpareInputBytes zeros, which absorb the fast
// copies' over-reads. A header can claim up to 2 GiB; to never reserve memory
// for bytes the source does not hold, a large stream is read in chunks that
// double the buffer, so what is reserved stays within twice what was read.
Bytes ReadTokenStream(TStream& source, std::size_t n) {
    constexpr std::size_t kFirstChunk = 1 << 20;
    std::size_t have = std::min(n, kFirstChunk);
    Bytes buffer(new std::uint8_t[have + kSpareInputBytes]);
    source.ReadBuffer(buffer.get(), have);
    while (have < n) {
        std::size_t grow = std::min(n, have * 2);
        Bytes bigger(new std::uint8_t[grow + kSpareInputBytes]);
        std::memcpy(bigger.get(), buffer.get(), have);
        buffer = std::move(bigger);
        source.ReadBuffer(buffer.get() + have, grow - have);
        have = grow;
    }
    std::memset(buffer.get() + n, 0, kSpareInputBytes);
    return buffer;
}

inline void Copy16(std::uint8_t* d, const std::uint8_t* s) { std::memcpy(d, s, 16); }

// Appends count bytes, each a copy of the byte dist positions before it, as a
// byte-by-byte copy would. May write up to 15 bytes past the end; the output
// buffer keeps far more than that free behind the write position.
inline void CopyMatch(std::uint8_t* d, unsigned dist, unsigned count) {
    std::uint8_t* const end = d + count;
    if (dist >= 16) {
        const std::uint8_t* s = d - dist;
        do { Copy16(d, s); d += 16; s += 16; } while (d < end);
    } else if (dist == 1) {
        std::memset(d, d[-1], count);
    } else {
        // Write the first 16 bytes one by one, then repeat the period in
        // 16-byte copies from a multiple of dist that is at least 16 back.
        const std::uint8_t* s = d - dist;
        unsigned head = std::min(count, 16u);
        for (unsigned i = 0; i < head; ++i) d[i] = s[i];
        d += head;
        const unsigned step = dist * ((16 + dist - 1) / dist);
        while (d < end) { Copy16(d, d - step); d += 16; }
    }
}

class Decoder {
public:
    Decoder(const std::uint8_t* in, std::int32_t n, std::int32_t l, TStream& dst)
        : ip_(in), iend_(in + n), want_(l), out_(new std::uint8_t[kOutputBufferSize]),
          op_(out_.get()), dst_(dst) {}

    void Run() {
        FastLoop();
        TailLoop();
        while (Pending() >= kFlushThreshold) Flush();
        dst_.WriteBuffer(out_.get(), Pending());
    }

private:
    std::int64_t Pending() const { return op_ - out_.get(); }
    std::int64_t Produced() const { return flushed_ + Pending(); }

    void Flush() {
        dst_.WriteBuffer(out_.get(), kBlockSize);
        std::size_t keep = static_cast<std::size_t>(Pending() - kBlockSize);
        std::memmove(out_.get(), out_.get() + kBlockSize, keep);
        op_ = out_.get() + keep;
        flushed_ += kBlockSize;
    }

    // Whole groups while each is sure to find its input in the token stream
    // and to end before the decoded length; the flush check follows a group,
    // which keeps the write sequence the same as a check after every token.
    void FastLoop() {
        constexpr std::ptrdiff_t kGroupInput = 1 + 8 * kMaxTokenInput;
        constexpr std::int64_t kGroupOutput = 8 * kMaxTokenOutput;
        while (iend_ - ip_ >= kGroupInput && want_ - Produced() > kGroupOutput) {
            unsigned flags = *ip_++;
            for (int left = 8; left > 0;) {
                if (!(flags & 0x80)) {
                    // A run of literal flag bits: copy those literals at once.
                    int k = flags ? std::min(left, __builtin_clz(flags) - 24) : left;
                    std::memcpy(op_, ip_, 8);
                    op_ += k;
                    ip_ += k;
                    flags = (flags << k) & 0xFF;
                    left -= k;
                    continue;
                }
                CodedToken<false>();
                flags = (flags << 1) & 0xFF;
                --left;
            }
            if (Pending() >= kFlushThreshold) Flush();
        }
    }

    // Token by token, with exact checks, until the decoded length is reached.
    void TailLoop() {
        unsigned flags = 0;
        int left = 0;
        while (Produced() < want_) {
            if (left == 0) {
                Need(1);
                flags = *ip_++;
                left = 8;
            }
            if (flags & 0x80) {
                CodedToken<true>();
            } else {
                Need(1);
                *op_++ = *ip_++;
            }
            flags = (flags << 1) & 0xFF;
            --left;
            if (Pending() >= kFlushThreshold) Flush();
        }
    }

    void Need(std::ptrdiff_t bytes) const {
        if (iend_ - ip_ < bytes) Malformed();
    }

    template <bool kChecked>
    void CodedToken() {
        if (kChecked) Need(1);
        const unsigned e = *ip_++;
        unsigned dist, count;
        if (e < 0x80) {
            if ((e & 3) == 3) {  // literal run
                count = ((e >> 2) & 31) + kLiteralRunMin;
                if (kChecked) Need(count);
                Copy16(op_, ip_);
                Copy16(op_ + 16, ip_ + 16);
                Copy16(op_ + 32, ip_ + 32);
                op_ += count;
                ip_ += count;
                return;
            }
            dist = (e >> 2) + 1;
            count = (e & 3) + kShortMinCount;
        } else if (e < 0xC0) {
            if (kChecked) Need(1);
            const unsigned f = *ip_++;
            dist = ((e & 0x3F) << 4 | f >> 4) + 1;
            count = (f & 15) + kNearMinCount;
        } else {
            if (kChecked) Need(2);
            const unsigned f = ip_[0], g = ip_[1];
            ip_ += 2;
            dist = ((e & 0x3F) << 8 | f) + 1;
            count = g < 254 ? g + kFarMinCount : (g == 254 ? kFarCount254 : kFarCount255);
        }
        if (dist > static_cast<std::uint64_t>(Pending())) Malformed();
        CopyMatch(op_, dist, count);
        op_ += count;
    }

    const std::uint8_t* ip_;
    const std::uint8_t* const iend_;
    const std::int64_t want_;
    Bytes out_;
    std::uint8_t* op_;
    std::int64_t flushed_ = 0;
    TStream& dst_;
};

}  // namespace

void DecodePayload(TStream& source, TStream& destination) {
    std::uint8_t header[kHeaderSize];
    source.ReadBuffer(header, sizeof header);
    const std::int32_t n = LoadLE32(header + 4);
    const std::int32_t l = LoadLE32(header + 8);
    if (n < 0 || n > INT_MAX - kSpareInputBytes) Malformed();

    Bytes input = ReadTokenStream(source, static_cast<std::size_t>(n));
    Decoder(input.get(), n, l, destination).Run();
}
