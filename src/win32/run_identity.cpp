#include "win32/run_identity.h"

#include "win32/program_folder.h"
#include "win32/unique_handles.h"
#include "win32/wide_text.h"

#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <string>

namespace tarvex {

namespace {

Utf8Text SidText(PSID sid) {
    wchar_t* characters = nullptr;
    if (!ConvertSidToStringSidW(sid, &characters)) return {};
    const UniqueLocalMemory owner(characters);
    return WideToUtf8(characters);
}

}  // namespace

std::vector<unsigned char> ProcessUserSid() {
    UniqueToken token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return {};
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size < sizeof(TOKEN_USER)) return {};
    // TOKEN_USER holds a pointer: a buffer of pointers keeps it aligned.
    std::vector<void*> buffer((size + sizeof(void*) - 1) / sizeof(void*));
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return {};
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
    if (!IsValidSid(sid)) return {};
    const auto* bytes = static_cast<const unsigned char*>(sid);
    return {bytes, bytes + GetLengthSid(sid)};
}

Utf8Text AccountName(const std::vector<unsigned char>& sidBytes) {
    if (sidBytes.empty()) return {};
    const PSID sid = const_cast<unsigned char*>(sidBytes.data());
    // Most names fit at once; the call says how much room it needs when not.
    std::wstring name(64, L'\0');
    std::wstring domain(64, L'\0');
    for (;;) {
        auto nameSize = static_cast<DWORD>(name.size());
        auto domainSize = static_cast<DWORD>(domain.size());
        SID_NAME_USE use{};
        if (LookupAccountSidW(nullptr, sid, name.data(), &nameSize, domain.data(), &domainSize, &use)) {
            name.resize(nameSize);
            domain.resize(domainSize);
            return WideToUtf8(domain.empty() ? name : domain + L"\\" + name);
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return SidText(sid);
        name.resize(std::max<std::size_t>(nameSize, name.size() + 1));
        domain.resize(std::max<std::size_t>(domainSize, domain.size() + 1));
    }
}

RunIdentity CurrentRunIdentity() {
    return {AccountName(ProcessUserSid()), WideToUtf8(ExecutablePath()), WideToUtf8(GetCommandLineW())};
}

}  // namespace tarvex
