// Replacing a file's whole content with a decoded payload so that a failure
// never costs the file its previous bytes.
#pragma once

#include <optional>

#include "engine/payload_checksum.h"

class TStream;
class TSeekableStream;

// Decodes the container read from `source` in memory, checks the result
// against `check` when given (a mismatch is the read error), then overwrites
// `target` from its start with the decoded bytes, cuts it to their length and
// flushes it. Should anything fail, `target` holds exactly the bytes it held
// before (nothing is written to it before the payload is known to be good;
// a failed overwrite writes the old bytes back) and the exception goes on.
void ReplaceWithPayload(TStream& source, const std::optional<payload::ChecksumRecord>& check,
                        TSeekableStream& target);
