#pragma once

#include "util/unique_handle.h"

#include <windows.h>

namespace tarvex {

struct FileCloser {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static constexpr bool kNothingHeld = true;
    // A failed close can mean the last bytes never reached the disk.
    bool operator()(Handle file) const { return CloseHandle(file) != FALSE; }
};

struct FontCloser {
    using Handle = HFONT;
    static Handle None() { return nullptr; }
    static constexpr bool kNothingHeld = true;
    bool operator()(Handle font) const { return DeleteObject(font) != FALSE; }
};

// Memory the clipboard did not take over.
struct GlobalMemoryCloser {
    using Handle = HGLOBAL;
    static Handle None() { return nullptr; }
    static constexpr bool kNothingHeld = true;
    bool operator()(Handle memory) const { return GlobalFree(memory) == nullptr; }
};

using UniqueFile = UniqueHandle<FileCloser>;
using UniqueFont = UniqueHandle<FontCloser>;
using UniqueGlobalMemory = UniqueHandle<GlobalMemoryCloser>;

}  // namespace tarvex
