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

inline void Copy8(std::uint8_t* d, const std::uint8_t* s) { std::memcpy(d, s, 8); }
inline void Copy16(std::uint8_t* d, const std::uint8_t* s) { std::memcpy(d, s, 16); }

// For a distance below 16: the smallest multiple of it that is at least 16.
struct PeriodSteps {
    std::uint8_t step[16];
    constexpr PeriodSteps() : step() {
        for (unsigned d = 1; d < 16; ++d) step[d] = std::uint8_t(d * ((16 + d - 1) / d));
    }
};
inline constexpr PeriodSteps kPeriodSteps{};

// Appends count bytes, each a copy of the byte dist positions before it, as a
// byte-by-byte copy would. May write up to 15 bytes past the end; the output
// buffer keeps far more than that free behind the write position.
inline void CopyMatch(std::uint8_t* d, unsigned dist, unsigned count) {
    std::uint8_t* const end = d + count;
    const std::uint8_t* s = d - dist;
    if (dist >= 16) {
        do { Copy16(d, s); d += 16; s += 16; } while (d < end);
        return;
    }
    // The first 16 bytes, then the period repeated in 16-byte copies from a
    // multiple of dist at least 16 back.
    if (dist == 1) {
        std::memset(d, s[0], 16);  // a run of one byte is a fill
    } else if (dist >= 8) {
        Copy8(d, s);
        Copy8(d + 8, s + 8);
    } else {
        for (int i = 0; i < 16; ++i) d[i] = s[i];
    }
    d += 16;
    const unsigned step = kPeriodSteps.step[dist];
    while (d < end) { Copy16(d, d - step); d += 16; }
}

// Far-match counts by their third byte g.
struct FarCounts {
    std::uint16_t count[256];
    constexpr FarCounts() : count() {
        for (int g = 0; g < 256; ++g)
            count[g] = std::uint16_t(g < 254 ? g + kFarMinCount : g == 254 ? kFarCount254 : kFarCount255);
    }
};
inline constexpr FarCounts kFarCounts{};

// Decodes one coded token (its flag bit was 1) at ip into op. Checked:
// every input byte is checked against iend; unchecked: the caller made sure
// the whole flag group lies within the token stream. Distances are always
// checked against the bytes in the output buffer. Returns false where the
// token is malformed.
template <bool kChecked>
inline bool CodedToken(const std::uint8_t*& ip, const std::uint8_t* iend, std::uint8_t*& op,
                       const std::uint8_t* out) {
    if (kChecked && iend - ip < 1) return false;
    const unsigned e = *ip++;
    unsigned dist, count;
    if (e < 0x80) {
        if ((e & 3) == 3) {  // literal run
            count = ((e >> 2) & 31) + kLiteralRunMin;
            if (kChecked && iend - ip < std::ptrdiff_t(count)) return false;
            Copy16(op, ip);
            Copy16(op + 16, ip + 16);
            Copy16(op + 32, ip + 32);
            op += count;
            ip += count;
            return true;
        }
        dist = (e >> 2) + 1;
        count = (e & 3) + kShortMinCount;
    } else if (e < 0xC0) {
        if (kChecked && iend - ip < 1) return false;
        const unsigned f = *ip++;
        dist = ((e & 0x3F) << 4 | f >> 4) + 1;
        count = (f & 15) + kNearMinCount;
    } else {
        if (kChecked && iend - ip < 2) return false;
        const unsigned f = ip[0], g = ip[1];
        ip += 2;
        dist = ((e & 0x3F) << 8 | f) + 1;
        count = kFarCounts.count[g];
    }
    if (std::ptrdiff_t(dist) > op - out) return false;
    CopyMatch(op, dist, count);
    op += count;
    return true;
}

// The coded token of the fast loop: its bytes lie within the group's input,
// so its three possible bytes are loaded at once, and the three match forms are told apart by
// selects rather than branches. Returns false where the distance reaches
// before the first byte in the output buffer.
inline bool FastCodedToken(const std::uint8_t*& ip, std::uint8_t*& op, const std::uint8_t* out) {
    const unsigned e = ip[0], f = ip[1], g = ip[2];
    if ((e & 0x83) == 0x03) return CodedToken<false>(ip, nullptr, op, out);  // literal run
    // Masks instead of branches: which of the three forms this is is as
    // good as random in real data. The near distance is the far one's top
    // ten bits.
    const std::uint32_t is_short = 0u - std::uint32_t(e < 0x80);
    const std::uint32_t is_near = 0u - std::uint32_t((e >> 6) == 2);
    const std::uint32_t is_far = 0u - std::uint32_t((e >> 6) == 3);
    const std::uint32_t far_bits = (e & 0x3F) << 8 | f;
    const unsigned dist = 1 + (((e >> 2) & is_short) | ((far_bits >> 4) & is_near) | (far_bits & is_far));
    const unsigned count = (((e & 3) + kShortMinCount) & is_short) | (((f & 15) + kNearMinCount) & is_near) |
                           (kFarCounts.count[g] & is_far);
    ip += 1 + (e >> 7) + ((e >> 6) & (e >> 7));
    if (std::ptrdiff_t(dist) > op - out) return false;
    if (dist >= 16) {
        // Most matches are 18 bytes or less: two copies, then the rest.
        Copy16(op, op - dist);
        Copy16(op + 16, op - dist + 16);
        if (count > 32) CopyMatch(op + 32, dist, count - 32);
    } else {
        CopyMatch(op, dist, count);
    }
    op += count;
    return true;
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
        dst_.WriteBuffer(out_.get(), std::size_t(Pending()));
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
    // The positions live in locals so that stores through them cannot be
    // taken for changes of the members.
    void FastLoop() {
        constexpr std::ptrdiff_t kGroupInput = 1 + 8 * kMaxTokenInput;
        constexpr std::int64_t kGroupOutput = 8 * kMaxTokenOutput;
        const std::uint8_t* ip = ip_;
        std::uint8_t* op = op_;
        std::uint8_t* const out = out_.get();
        for (;;) {
            // Room for groups before the next flush or the end, whichever is first.
            const std::int64_t until_end = want_ - flushed_ - (op - out) - kGroupOutput;
            const std::int64_t until_flush = kFlushThreshold - (op - out);
            const std::int64_t output_groups = std::min(until_end, until_flush + kGroupOutput - 1) / kGroupOutput;
            const std::int64_t input_groups = (iend_ - ip) / kGroupInput;
            std::int64_t groups = std::min(output_groups, input_groups);
            if (until_end <= 0 || groups <= 0) break;
            while (groups-- > 0) {
                // Each step copies the literals up to the next coded token
                // (possibly none, always as one 8-byte copy), then that token.
                // The flag bits sit at the top of f with a stop bit after
                // them, so counting leading zeros never runs past the group.
                std::uint32_t f = std::uint32_t(*ip++) << 24 | 0x800000u;
                for (;;) {
                    const int k = __builtin_clz(f);  // literals before the next 1 bit
                    std::memcpy(op, ip, 8);
                    op += k;
                    ip += k;
                    f <<= k;
                    if (f == 0x80000000u) break;  // only the stop bit is left
                    f <<= 1;
                    if (!FastCodedToken(ip, op, out)) Malformed();
                }
            }
            op_ = op;
            if (Pending() >= kFlushThreshold) Flush();
            op = op_;
        }
        ip_ = ip;
        op_ = op;
    }

    // Token by token, with exact checks, until the decoded length is reached.
    void TailLoop() {
        unsigned flags = 0;
        int left = 0;
        while (Produced() < want_) {
            if (left == 0) {
                if (iend_ - ip_ < 1) Malformed();
                flags = *ip_++;
                left = 8;
            }
            if (flags & 0x80) {
                if (!CodedToken<true>(ip_, iend_, op_, out_.get())) Malformed();
            } else {
                if (iend_ - ip_ < 1) Malformed();
                *op_++ = *ip_++;
            }
            flags = (flags << 1) & 0xFF;
            --left;
            if (Pending() >= kFlushThreshold) Flush();
        }
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
