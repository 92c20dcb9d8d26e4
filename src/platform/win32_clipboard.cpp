#include "platform/win32_clipboard.h"

#include "platform/platform_error.h"
#include "platform/unique_handles.h"
#include "platform/wide_text.h"

#include <cstring>
#include <utility>

namespace tarvex {

namespace {

// Holds the clipboard open and closes it on every path.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) {
        if (!OpenClipboard(owner)) ThrowWindowFailure("open the clipboard");
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession() { CloseClipboard(); }
};

// Movable memory holding a copy of bytes, as the clipboard takes it.
UniqueGlobalMemory GlobalCopy(const void* bytes, std::size_t size) {
    UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory.isOpen()) ThrowWindowFailure("allocate clipboard memory");
    void* target = GlobalLock(memory.get());
    if (target == nullptr) ThrowWindowFailure("lock clipboard memory");
    std::memcpy(target, bytes, size);
    GlobalUnlock(memory.get());
    return memory;
}

}  // namespace

void Win32Clipboard::SetText(const std::string& text) {
    // Both forms from the list's own text: left to Windows, the ANSI form would
    // be made in the keyboard layout's code page, not the one the names came in.
    const std::wstring wide = AnsiToWide(text);
    UniqueGlobalMemory unicode = GlobalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    UniqueGlobalMemory ansi = GlobalCopy(text.c_str(), text.size() + 1);

    ClipboardSession session(owner_);
    if (!EmptyClipboard()) ThrowWindowFailure("empty the clipboard");
    if (SetClipboardData(CF_UNICODETEXT, unicode.get()) == nullptr) ThrowWindowFailure("set the clipboard text");
    unicode.release();
    if (SetClipboardData(CF_TEXT, ansi.get()) == nullptr) ThrowWindowFailure("set the clipboard text");
    ansi.release();
}

}  // namespace tarvex
