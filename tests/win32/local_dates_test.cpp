// Local dates under the rules of their own year. ctest runs this with
// TZ=America/New_York, which wine maps to "Eastern Standard Time": the US
// moved its daylight-saving dates in 2007.
#include "win32/local_dates.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace tarvex {
namespace {

FileTime Utc(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME time{year, month, 0, day, hour, minute, 0, 0};
    FILETIME file{};
    SystemTimeToFileTime(&time, &file);
    return (FileTime{file.dwHighDateTime} << 32) | file.dwLowDateTime;
}

struct LocalCase {
    FileTime utc;
    WORD month, day, hour;
};

TEST(LocalDates, TakeTheDaylightSavingRulesOfTheDatesOwnYear) {
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    GetDynamicTimeZoneInformation(&zone);
    ASSERT_EQ(std::wstring(L"Eastern Standard Time"), zone.TimeZoneKeyName) << "run with TZ=America/New_York";
    for (const LocalCase& c : {
             // 2006 kept standard time until April 2; this year's rules start in March.
             LocalCase{Utc(2006, 3, 20, 4, 30), 3, 19, 23},
             LocalCase{Utc(2026, 3, 20, 4, 30), 3, 20, 0},
             // 2006 left daylight saving on October 29; this year's rules leave in November.
             LocalCase{Utc(2006, 11, 1, 4, 30), 10, 31, 23},
             LocalCase{Utc(2026, 11, 1, 3, 30), 10, 31, 23},
         }) {
        const std::optional<SYSTEMTIME> local = LocalTimeOf(c.utc);
        ASSERT_TRUE(local);
        EXPECT_EQ((std::vector<WORD>{c.month, c.day, c.hour}),
                  (std::vector<WORD>{local->wMonth, local->wDay, local->wHour}))
            << local->wYear;
    }
}

}  // namespace
}  // namespace tarvex
