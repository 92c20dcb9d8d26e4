#include "win32/local_dates.h"

namespace tarvex {

namespace {

std::optional<SYSTEMTIME> UnderRulesOf(WORD year, DYNAMIC_TIME_ZONE_INFORMATION& zone, const SYSTEMTIME& universal) {
    TIME_ZONE_INFORMATION ofThatYear{};
    SYSTEMTIME local{};
    if (!GetTimeZoneInformationForYear(year, &zone, &ofThatYear) ||
        !SystemTimeToTzSpecificLocalTime(&ofThatYear, &universal, &local)) {
        return std::nullopt;
    }
    return local;
}

}  // namespace

std::optional<SYSTEMTIME> LocalTimeOf(FileTime time) {
    const FILETIME utc{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    SYSTEMTIME universal{};
    if (!FileTimeToSystemTime(&utc, &universal)) return std::nullopt;
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    // SystemTimeToTzSpecificLocalTimeEx would do this in one call, but wine's kernel32 lacks it.
    if (GetDynamicTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return std::nullopt;
    std::optional<SYSTEMTIME> local = UnderRulesOf(universal.wYear, zone, universal);
    // The rules are those of the local year, which on the night of 31
    // December is not the UTC year.
    if (local && local->wYear != universal.wYear) local = UnderRulesOf(local->wYear, zone, universal);
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
