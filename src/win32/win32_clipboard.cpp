#include "win32/win32_clipboard.h"

#include "win32/platform_error.h"
#include "win32/unique_handles.h"
#include "win32/wide_text.h"

#include <cstring>
#include <utility>

namespace tarvex {

namespace {

// Holds the clipboard open and closes it on every path.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) {
        if (!OpenClipboard(owner)) ThrowWindowFailure("The clipboard could not be opened");
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession() { CloseClipboard(); }
};

// Movable memory holding a copy of bytes, as the clipboard takes it.
UniqueGlobalMemory GlobalCopy(const void* bytes, std::size_t size) {
    UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory.isOpen()) ThrowWindowFailure("Memory for the clipboard could not be allocated");
    void* target = GlobalLock(memory.get());
    if (target == nullptr) ThrowWindowFailure("Memory for the clipboard could not be locked");
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
    // The names came through the ANSI calls, in the system locale's code page.
    const LCID systemLocale = GetSystemDefaultLCID();
    UniqueGlobalMemory locale = GlobalCopy(&systemLocale, sizeof systemLocale);

    ClipboardSession session(owner_);
    if (!EmptyClipboard()) ThrowWindowFailure("The clipboard could not be emptied");
    if (SetClipboardData(CF_UNICODETEXT, unicode.get()) == nullptr) {
        ThrowWindowFailure("The Unicode text could not be put on the clipboard");
    }
    unicode.release();
    if (SetClipboardData(CF_TEXT, ansi.get()) == nullptr) {
        ThrowWindowFailure("The ANSI text could not be put on the clipboard");
    }
    ansi.release();
    // Without it, Windows stamps the keyboard layout's locale on CF_TEXT,
    // and a program that honours it would read the bytes in the wrong code page.
    if (SetClipboardData(CF_LOCALE, locale.get()) == nullptr) {
        ThrowWindowFailure("The text's locale could not be put on the clipboard");
    }
    locale.release();
}

}  // namespace tarvex
