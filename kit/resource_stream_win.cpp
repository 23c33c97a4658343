// Locating and mapping a raw-data resource of a module.
#include "kit/resource_stream.h"

#include "kit/exceptions.h"
#include "kit/text.h"

namespace {

struct ResourceBytes {
    const void* data = nullptr;
    std::size_t size = 0;
    bool found = false;
};

// Resource data of a loaded module stays mapped as long as the module is;
// there is nothing to release (FreeResource does nothing on Win32).
ResourceBytes Locate(HMODULE module, const std::string& name) {
    HRSRC info = ::FindResourceW(module, Utf8ToWide(name).c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!info) return {};
    HGLOBAL loaded = ::LoadResource(module, info);
    if (!loaded) return {};
    return {::LockResource(loaded), ::SizeofResource(module, info), true};
}

}  // namespace

TResourceStream::TResourceStream(HMODULE module, const std::string& name) {
    ResourceBytes r = Locate(module, name);
    if (!r.found) throw EResNotFound(FormatMessage1(msg::kResNotFound, name));
    Assign(r.data, r.size);
}

bool TResourceStream::Exists(HMODULE module, const std::string& name) { return Locate(module, name).found; }
