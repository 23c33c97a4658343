// PackContainer: longest matches, the fewest-bits parse, then the tokens.
#include <climits>
#include <string>

#include "kit/exceptions.h"
#include "tools/packer/match_finder.h"
#include "tools/packer/optimal_parse.h"
#include "tools/packer/token_writer.h"

void RequirePackableSize(std::uint64_t size) {
    if (size > std::uint64_t(INT_MAX))
        throw Exception("the input has " + std::to_string(size) + " bytes; a container holds at most " +
                        std::to_string(INT_MAX));
}

std::vector<std::uint8_t> PackContainer(const std::uint8_t* data, std::size_t size, ProgressFn progress) {
    RequirePackableSize(size);
    // Shares of the work, as measured on executables and mixed data.
    constexpr double kMatchShare = 0.85;
    auto report = [&progress](double from, double share) -> ProgressFn {
        if (!progress) return {};
        return [&progress, from, share](double done) { progress(from + share * done); };
    };
    std::vector<MatchSet> matches = FindMatches(data, size, report(0, kMatchShare));
    ParseSteps(matches, report(kMatchShare, 1 - kMatchShare));
    std::vector<std::uint8_t> container = WriteContainer(data, size, matches);
    if (progress) progress(1.0);
    return container;
}
