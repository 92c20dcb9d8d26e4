// Local dates under the rules of their own year. ctest runs each test in a
// zone of its own: TZ=America/New_York, which wine maps to "Eastern Standard
// Time" (the US moved its daylight-saving dates in 2007), and
// TZ=America/Argentina/Buenos_Aires, "Argentina Standard Time" (daylight
// saving began on 30 December 2007 and again in October 2008, not in 2009).
#include "win32/local_dates.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
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

void ExpectLocal(const wchar_t* zoneKey, std::initializer_list<LocalCase> cases) {
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    GetDynamicTimeZoneInformation(&zone);
    ASSERT_EQ(std::wstring(zoneKey), zone.TimeZoneKeyName) << "run in the zone the file's comment names";
    for (const LocalCase& c : cases) {
        const std::optional<SYSTEMTIME> local = LocalTimeOf(c.utc);
        ASSERT_TRUE(local);
        EXPECT_EQ((std::vector<WORD>{c.month, c.day, c.hour}),
                  (std::vector<WORD>{local->wMonth, local->wDay, local->wHour}))
            << local->wYear;
    }
}

TEST(LocalDates, TakeTheDaylightSavingRulesOfTheDatesOwnYear) {
    ExpectLocal(L"Eastern Standard Time",
                {
                    // 2006 kept standard time until April 2; this year's rules start in March.
                    LocalCase{Utc(2006, 3, 20, 4, 30), 3, 19, 23},
                    LocalCase{Utc(2026, 3, 20, 4, 30), 3, 20, 0},
                    // 2006 left daylight saving on October 29; this year's rules leave in November.
                    LocalCase{Utc(2006, 11, 1, 4, 30), 10, 31, 23},
                    LocalCase{Utc(2026, 11, 1, 3, 30), 10, 31, 23},
                });
}

// Past midnight UTC it is still 31 December here: that year's rules hold.
TEST(LocalDates, NewYearsEveTakesTheLocalYearsRules) {
    ExpectLocal(L"Argentina Standard Time",
                {
                    // 31 December 2006 was on standard time; 2007's rules would put it on daylight time.
                    LocalCase{Utc(2007, 1, 1, 0, 30), 12, 31, 21},
                    // 31 December 2008 was on daylight time; 2009's rules would put it on standard time.
                    LocalCase{Utc(2009, 1, 1, 0, 30), 12, 31, 22},
                });
}

}  // namespace
}  // namespace tarvex
