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

// An access token; OpenProcessToken leaves null when it fails.
struct TokenCloser {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static constexpr bool kNothingHeld = true;
    bool operator()(Handle token) const { return CloseHandle(token) != FALSE; }
};

// A key opened by the wide registry calls, as opposed to the ANSI ones modReg wraps.
struct HkeyCloser {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static constexpr LSTATUS kNothingHeld = ERROR_SUCCESS;
    LSTATUS operator()(Handle key) const { return RegCloseKey(key); }
};

// RegisterEventSourceW's handle, which only DeregisterEventSource closes.
struct EventSourceCloser {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static constexpr bool kNothingHeld = true;
    bool operator()(Handle source) const { return DeregisterEventSource(source) != FALSE; }
};

// Memory the system allocated for the caller with LocalAlloc.
struct LocalMemoryCloser {
    using Handle = HLOCAL;
    static Handle None() { return nullptr; }
    static constexpr bool kNothingHeld = true;
    bool operator()(Handle memory) const { return LocalFree(memory) == nullptr; }
};

using UniqueFile = UniqueHandle<FileCloser>;
using UniqueFont = UniqueHandle<FontCloser>;
using UniqueGlobalMemory = UniqueHandle<GlobalMemoryCloser>;
using UniqueToken = UniqueHandle<TokenCloser>;
using UniqueHkey = UniqueHandle<HkeyCloser>;
using UniqueEventSource = UniqueHandle<EventSourceCloser>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryCloser>;

}  // namespace tarvex
