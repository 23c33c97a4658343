// Decoding of one payload container from a source stream into a destination
// stream.
#pragma once

class TStream;

// Reads the container from source (16-byte header, then the token stream) and
// writes the decoded bytes to destination: once 2 MiB are pending, blocks of
// 1 MiB, then one last write of the rest. Raises EReadError when the source
// is short or the container is malformed, EWriteError when the destination
// takes fewer bytes than asked.
void DecodePayload(TStream& source, TStream& destination);
