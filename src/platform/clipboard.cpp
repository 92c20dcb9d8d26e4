#include "platform/clipboard.h"

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

}  // namespace

void Win32Clipboard::SetText(const std::string& text) {
    std::wstring wide = AnsiToWide(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory.isOpen()) ThrowWindowFailure("allocate clipboard memory");
    void* target = GlobalLock(memory.get());
    if (target == nullptr) ThrowWindowFailure("lock clipboard memory");
    std::memcpy(target, wide.c_str(), bytes);
    GlobalUnlock(memory.get());

    ClipboardSession session(owner_);
    if (!EmptyClipboard()) ThrowWindowFailure("empty the clipboard");
    if (SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr) ThrowWindowFailure("set the clipboard text");
    memory.release();
}

}  // namespace tarvex
