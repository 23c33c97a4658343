// What the packer keeps for one position of the input, six bytes of it: the
// longest match in each distance class, and later, in the same place, the
// token the parse chose to start there.
#pragma once

#include <cstdint>

enum class StepKind : std::uint8_t { kLiteral, kShort, kNear, kFar };

// The token that starts at one position: a literal (length 1), a literal run
// (9..40), or a match of the given class and count.
struct Step {
    std::uint16_t length : 13;
    std::uint16_t kind : 3;  // a StepKind
};

// The longest match counts of one position. A far match of 3 or more is
// kept as its count less 2, up to 254 (a count of 256, the most a plain far
// token codes); 0 is none. Near counts are 0 or 3..18, short ones 0 or 2..4.
struct MatchLengths {
    std::uint16_t far_count : 8;
    std::uint16_t near_length : 5;
    std::uint16_t short_length : 3;
};

// Distances are kept less 1, as the tokens code them; they mean something
// only where the class has a match (or, after the parse, the step uses it).
struct MatchSet {
    std::uint16_t far_offset : 14;      // 0..16383
    std::uint16_t far_reaches_1024 : 1;  // the far match is 1024 bytes or longer
    std::uint16_t far_reaches_4096 : 1;  // ... or 4096
    std::uint16_t near_offset : 10;     // 0..1023
    std::uint16_t short_offset : 5;     // 0..31
    union {
        MatchLengths lengths;  // from the match finder
        Step step;             // from the parse, which reads the lengths first
    };
};
static_assert(sizeof(MatchSet) == 6, "a match set takes six bytes");
