// Token encoding. A flag byte is opened only when a token needs it, so the
// flag byte that would follow the eighth token of the last group is never
// written and the stream holds token bytes plus one flag byte per eight
// tokens, rounded up.
#include "tools/packer/token_writer.h"

#include <climits>
#include <string>

#include "engine/payload_format.h"
#include "kit/exceptions.h"

namespace {

using namespace payload;

constexpr std::uint8_t kSignature[2] = {'O', 'V'};

class GroupWriter {
public:
    explicit GroupWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void Literal(std::uint8_t b) {
        Flag(false);
        out_.push_back(b);
    }

    void Coded(std::initializer_list<std::uint8_t> bytes) {
        Flag(true);
        out_.insert(out_.end(), bytes);
    }

    void Run(const std::uint8_t* bytes, unsigned count) {
        Coded({std::uint8_t((count - kLiteralRunMin) << 2 | 3)});
        out_.insert(out_.end(), bytes, bytes + count);
    }

private:
    void Flag(bool coded) {
        if (used_ == 8) {
            flag_at_ = out_.size();
            out_.push_back(0);
            used_ = 0;
        }
        if (coded) out_[flag_at_] |= std::uint8_t(0x80 >> used_);
        ++used_;
    }

    std::vector<std::uint8_t>& out_;
    std::size_t flag_at_ = 0;
    int used_ = 8;  // no group open yet
};

}  // namespace

std::vector<std::uint8_t> WriteContainer(const std::uint8_t* data, std::size_t size,
                                         const std::vector<MatchSet>& parsed) {
    std::vector<std::uint8_t> out(kHeaderSize, 0);
    // The most a stream can take (all single literals); only what is
    // written is ever touched.
    out.reserve(kHeaderSize + size + size / 8 + 1);
    out[0] = kSignature[0];
    out[1] = kSignature[1];
    GroupWriter tokens(out);
    for (std::size_t p = 0; p < size;) {
        const MatchSet& m = parsed[p];
        const Step step = m.step;
        const unsigned count = step.length;
        switch (StepKind(step.kind)) {
            case StepKind::kLiteral:
                if (count == 1) tokens.Literal(data[p]);
                else tokens.Run(data + p, count);
                break;
            case StepKind::kShort:
                tokens.Coded({std::uint8_t(unsigned(m.short_offset) << 2 | (count - kShortMinCount))});
                break;
            case StepKind::kNear: {
                const unsigned d = m.near_offset;
                tokens.Coded({std::uint8_t(0x80 | d >> 4), std::uint8_t((d & 15) << 4 | (count - kNearMinCount))});
                break;
            }
            case StepKind::kFar: {
                const unsigned d = m.far_offset;
                const unsigned g = count == unsigned(kFarCount254)   ? 254
                                   : count == unsigned(kFarCount255) ? 255
                                                                     : count - kFarMinCount;
                tokens.Coded({std::uint8_t(0xC0 | d >> 8), std::uint8_t(d & 0xFF), std::uint8_t(g)});
                break;
            }
        }
        p += count;
    }

    // The decoder refuses streams within kSpareInputBytes of INT_MAX.
    const std::size_t n = out.size() - kHeaderSize;
    if (n > std::size_t(INT_MAX - kSpareInputBytes))
        throw Exception("the token stream would take " + std::to_string(n) + " bytes, more than a container holds");
    StoreLE32(&out[4], std::int32_t(n));
    StoreLE32(&out[8], std::int32_t(size));
    return out;
}
