// Extraction: the payload resource of the running module, decoded into the
// target file. The resource is opened before the target, so a missing
// resource never touches it; the target is opened for reading and writing
// without sharing (the game cannot start, nor anyone else open it, while it
// is replaced) and without being emptied; ReplaceWithPayload does the rest.
#include <windows.h>

#include <optional>

#include "engine/extract.h"
#include "engine/payload_format.h"
#include "engine/replace_contents.h"
#include "kit/exceptions.h"
#include "kit/file_stream.h"
#include "kit/resource_stream.h"
#include "kit/text.h"

namespace {

// The integrity record beside the container, when the module carries one.
std::optional<payload::ChecksumRecord> ReadChecksum(HMODULE module, const std::string& name) {
    if (!TResourceStream::Exists(module, name)) return std::nullopt;
    TResourceStream record(module, name);
    if (record.Size() != payload::kChecksumRecordSize) throw EReadError(msg::kReadError);
    const std::uint8_t* p = record.Memory();
    return payload::ChecksumRecord{payload::LoadLE32(p), static_cast<std::uint32_t>(payload::LoadLE32(p + 4))};
}

}  // namespace

bool ExtractPayload(std::string resourceName, std::string targetPath) {
    HMODULE self = ::GetModuleHandleW(nullptr);
    std::optional<TResourceStream> source;
    std::optional<TFileStream> target;
    source.emplace(self, resourceName);
    const auto check = ReadChecksum(self, resourceName + payload::kChecksumResourceSuffix);
    target.emplace(targetPath, fmOpenReadWrite | fmShareExclusive);
    try {
        ReplaceWithPayload(*source, check, *target);
    } catch (...) {
        const bool created = target->Created();
        source.reset();
        target.reset();
        // A target this run created did not exist before: it goes again.
        if (created) ::DeleteFileW(Utf8ToWide(targetPath).c_str());
        throw;
    }
    source.reset();
    target.reset();
    return true;
}
