// Test helper: writes token streams and containers by hand, token by token,
// so each case shows the exact bytes it decodes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/payload_format.h"

class TokenWriter {
public:
    TokenWriter& Literal(std::uint8_t b) { Flag(false); bytes_.push_back(b); return *this; }
    TokenWriter& Literals(const std::vector<std::uint8_t>& bs) { for (auto b : bs) Literal(b); return *this; }
    TokenWriter& Run(const std::vector<std::uint8_t>& bs) {  // 9..40 bytes
        Coded({std::uint8_t(((bs.size() - 9) << 2) | 3)});
        bytes_.insert(bytes_.end(), bs.begin(), bs.end());
        return *this;
    }
    TokenWriter& Short(unsigned dist, unsigned count) {
        return Coded({std::uint8_t(((dist - 1) << 2) | (count - 2))});
    }
    TokenWriter& Near(unsigned dist, unsigned count) {
        return Coded({std::uint8_t(0x80 | ((dist - 1) >> 4)), std::uint8_t(((dist - 1) & 15) << 4 | (count - 3))});
    }
    TokenWriter& Far(unsigned dist, unsigned count) {
        std::uint8_t g = count == 1024 ? 254 : count == 4096 ? 255 : std::uint8_t(count - 3);
        return Coded({std::uint8_t(0xC0 | ((dist - 1) >> 8)), std::uint8_t((dist - 1) & 0xFF), g});
    }
    TokenWriter& Coded(std::initializer_list<std::uint8_t> bs) {
        Flag(true);
        bytes_.insert(bytes_.end(), bs);
        return *this;
    }
    // Appends the flag byte that would follow a full last group.
    TokenWriter& TrailingFlag(std::uint8_t value = 0) { bytes_.push_back(value); return *this; }
    // A run of `count` copies of b: one literal, then distance-1 matches.
    TokenWriter& RunOf(std::uint8_t b, long count) {
        Literal(b);
        for (long left = count - 1; left > 0;) {
            long c = left >= 4096 ? 4096 : left >= 1024 ? 1024 : left >= 256 ? 256 : left;
            if (c >= 3) Far(1, unsigned(c));
            else if (c == 2) Short(1, 2);
            else Literal(b);
            left -= c;
        }
        return *this;
    }

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

    // The container with N = the token bytes written so far, unless given.
    std::vector<std::uint8_t> Container(std::int32_t decoded, std::optional<std::int32_t> n = {}) const {
        std::vector<std::uint8_t> c(payload::kHeaderSize, 0);
        c[0] = 'O';
        c[1] = 'V';
        payload::StoreLE32(&c[4], n ? *n : std::int32_t(bytes_.size()));
        payload::StoreLE32(&c[8], decoded);
        c.insert(c.end(), bytes_.begin(), bytes_.end());
        return c;
    }

private:
    void Flag(bool coded) {
        if (bits_ == 0) {
            flag_at_ = bytes_.size();
            bytes_.push_back(0);
            bits_ = 8;
        }
        --bits_;
        if (coded) bytes_[flag_at_] |= std::uint8_t(1u << bits_);
    }

    std::vector<std::uint8_t> bytes_;
    std::size_t flag_at_ = 0;
    int bits_ = 0;
};
