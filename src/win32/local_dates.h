#pragma once

#include "core/device_query.h"

#include <windows.h>

#include <optional>
#include <string>

namespace tarvex {

// The moment in local time, under the daylight-saving rules of its own local
// year: this year's rules would move a date near midnight of an older year
// to the wrong day. Nothing when the system cannot convert it.
std::optional<SYSTEMTIME> LocalTimeOf(FileTime time);

// The moment's local date in the user's short date format; empty when it cannot be made.
std::wstring ShortDate(FileTime time);

}  // namespace tarvex
