#include "win32/win32_event_log.h"

#include "core/event_source_registration.h"
#include "win32/platform_error.h"
#include "win32/program_folder.h"
#include "win32/run_identity.h"
#include "win32/unique_handles.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tarvex {

namespace {

static_assert(static_cast<WORD>(EventType::Error) == EVENTLOG_ERROR_TYPE);
static_assert(static_cast<WORD>(EventType::Warning) == EVENTLOG_WARNING_TYPE);
static_assert(static_cast<WORD>(EventType::Information) == EVENTLOG_INFORMATION_TYPE);

constexpr DWORD kReserved = 0;
constexpr WORD kNoCategory = 0;
constexpr DWORD kNoRawData = 0;
// The native view, as the program reads HKLM everywhere (SYSTEM is shared
// by both views, so a 32-bit build reaches the same key).
constexpr REGSAM kReadValues = KEY_QUERY_VALUE | KEY_WOW64_64KEY;
constexpr REGSAM kWriteValues = KEY_SET_VALUE | KEY_WOW64_64KEY;
constexpr const wchar_t* kMessageFileValue = L"EventMessageFile";
constexpr const wchar_t* kTypesSupportedValue = L"TypesSupported";

EventWritten Failed(const char* call, std::uint32_t status) {
    return {EventLogFailure{call, status, SystemErrorText(status)}};
}

// A failed call that set no error still must not read as success.
EventWritten FailedWithLastError(const char* call) { return Failed(call, LastErrorOr(ERROR_GEN_FAILURE)); }

// EventMessageFile as written, if it is text.
std::optional<std::wstring> MessageFile(HKEY key) {
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        DWORD type = 0;
        auto size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegQueryValueExW(key, kMessageFileValue, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
        if (status == ERROR_MORE_DATA) {
            text.resize(size / sizeof(wchar_t) + 1);
            continue;
        }
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
        text.resize(size / sizeof(wchar_t));
        // Stored with its NUL, or not: either way the name ends at the first.
        return text.substr(0, text.find(L'\0'));
    }
}

std::wstring ExpandedText(const std::wstring& text) {
    std::wstring expanded(text.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (needed == 0) return text;
        if (needed <= expanded.size()) {
            expanded.resize(needed - 1);
            return expanded;
        }
        expanded.resize(needed);
    }
}

// A path past MAX_PATH reaches the file only through the \\?\ prefix.
std::wstring ReachablePath(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    if (path.size() > 2 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
    if (path.rfind(L"\\\\", 0) == 0 && path.rfind(L"\\\\?\\", 0) != 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ReachablePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The value may list several files, split by ';'; Event Viewer reads each,
// so one that exists is enough for the messages to show.
bool NamesAFileThatExists(const std::wstring& files) {
    std::wistringstream parts(files);
    for (std::wstring part; std::getline(parts, part, L';');) {
        if (IsFile(ExpandedText(part))) return true;
    }
    return false;
}

// What the source's key holds now. A missing key is an answer too; any
// other failure of the open is passed on.
LSTATUS ReadRegistration(const std::wstring& keyPath, SourceRegistration& found) {
    UniqueHkey key;
    const LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), kReserved, kReadValues, key.put());
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    found.keyFound = true;
    if (const std::optional<std::wstring> file = MessageFile(key.get())) {
        found.messageFile = WideToUtf8(*file);
        found.messageFileFound = NamesAFileThatExists(*file);
    }
    return ERROR_SUCCESS;
}

EventWritten WriteRegistration(const std::wstring& keyPath) {
    UniqueHkey key;
    LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), kReserved, nullptr, REG_OPTION_NON_VOLATILE,
                                     kWriteValues, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return Failed("RegCreateKeyExW", status);
    const std::wstring program = ExecutablePath();
    if (program.empty()) return FailedWithLastError("GetModuleFileNameW");
    status = RegSetValueExW(key.get(), kMessageFileValue, kReserved, REG_EXPAND_SZ,
                            reinterpret_cast<const BYTE*>(program.c_str()),
                            static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) return Failed("RegSetValueExW", status);
    const DWORD types = kEventTypesSupported;
    status = RegSetValueExW(key.get(), kTypesSupportedValue, kReserved, REG_DWORD, reinterpret_cast<const BYTE*>(&types),
                            sizeof types);
    if (status != ERROR_SUCCESS) return Failed("RegSetValueExW", status);
    return {};
}

}  // namespace

EventWritten Win32EventLog::Register() {
    const std::wstring keyPath = Utf8ToWide(kEventSourceKey);
    SourceRegistration found;
    const LSTATUS status = ReadRegistration(keyPath, found);
    if (status != ERROR_SUCCESS) return Failed("RegOpenKeyExW", status);
    if (!RegistrationNeeded(found)) return {};
    return WriteRegistration(keyPath);
}

EventWritten Win32EventLog::Report(const EventRecord& event) {
    const UniqueEventSource source(RegisterEventSourceW(nullptr, Utf8ToWide(kEventSourceName).c_str()));
    if (!source.isOpen()) return FailedWithLastError("RegisterEventSourceW");
    std::vector<std::wstring> strings;
    for (const Utf8Text& text : event.strings) strings.push_back(Utf8ToWide(text));
    std::vector<const wchar_t*> inserts;
    for (const std::wstring& text : strings) inserts.push_back(text.c_str());
    // The User column names who ran it; without a SID the inserts still do.
    std::vector<unsigned char> user = ProcessUserSid();
    if (!ReportEventW(source.get(), static_cast<WORD>(event.type), kNoCategory, event.id,
                      user.empty() ? nullptr : user.data(), static_cast<WORD>(inserts.size()), kNoRawData,
                      inserts.data(), nullptr)) {
        return FailedWithLastError("ReportEventW");
    }
    return {};
}

RunIdentity Win32EventLog::Identity() { return CurrentRunIdentity(); }

}  // namespace tarvex
