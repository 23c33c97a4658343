// The Windows handle kinds, each an instance of the one RAII owner.
#pragma once

#include <windows.h>

#include "kit/handle.h"

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct KernelHandleTraits {  // handles whose failure value is null (mutex, process)
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::RegCloseKey(h); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::FreeLibrary(h); }
};
struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};
struct DcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteDC(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueDc = UniqueHandle<DcTraits>;
