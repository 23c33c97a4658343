// A read-only stream over a raw-data (RT_RCDATA) resource of a module. It is
// a view of the module's own resource bytes: opening it copies nothing.
#pragma once

#include <windows.h>

#include <string>

#include "kit/stream.h"

class TResourceStream : public TReadOnlyMemoryStream {
public:
    // Raises EResNotFound ("%s リソースが見つかりません") when the module has
    // no raw-data resource of that name or it cannot be loaded.
    TResourceStream(HMODULE module, const std::string& name);

    // Whether the module carries a raw-data resource of that name.
    static bool Exists(HMODULE module, const std::string& name);
};
