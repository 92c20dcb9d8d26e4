#include "win32/local_dates.h"

namespace tarvex {

std::optional<SYSTEMTIME> LocalTimeOf(FileTime time) {
    const FILETIME utc{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    SYSTEMTIME universal{};
    if (!FileTimeToSystemTime(&utc, &universal)) return std::nullopt;
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    TIME_ZONE_INFORMATION ofThatYear{};
    SYSTEMTIME local{};
    // SystemTimeToTzSpecificLocalTimeEx would do this in one call, but wine's kernel32 lacks it.
    if (GetDynamicTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID ||
        !GetTimeZoneInformationForYear(universal.wYear, &zone, &ofThatYear) ||
        !SystemTimeToTzSpecificLocalTime(&ofThatYear, &universal, &local)) {
        return std::nullopt;
    }
    return local;
}

std::wstring ShortDate(FileTime time) {
    const std::optional<SYSTEMTIME> local = LocalTimeOf(time);
    if (!local) return {};
    wchar_t text[80] = {};
    if (GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &*local, nullptr, text, 80, nullptr) == 0) return {};
    return text;
}

}  // namespace tarvex
