#pragma once
// Date and time texts in the Russian long formats of the desktop locale.
#include <string>

#include "common/clock.h"

namespace cvu {

// Long date "d MMMM yyyy 'г.'" with nominative month names: "8 Декабрь 2026 г.".
std::string FormatLongDate(const LocalDateTime& t);
// Long time "H:mm:ss": "0:09:04".
std::string FormatLongTime(const LocalDateTime& t);
// "dddddd tt": long date, a blank, long time: "8 Декабрь 2026 г. 0:09:04".
std::string FormatTimestamp(const LocalDateTime& t);
// Short month/day "mm/dd" with the locale's date separator ".": "12.08".
std::string FormatMonthDay(const LocalDateTime& t);

}  // namespace cvu
