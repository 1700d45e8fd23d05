#include "common/timestamp.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace cvu {
namespace {

constexpr std::array<const char*, 12> kMonths = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                                                 "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};

}  // namespace

LocalDateTime SystemClock::now() const {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string FormatLongDate(const LocalDateTime& t) {
  const int m = (t.month >= 1 && t.month <= 12) ? t.month - 1 : 0;
  return std::to_string(t.day) + " " + kMonths[m] + " " + std::to_string(t.year) + " г.";
}

std::string FormatLongTime(const LocalDateTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d:%02d:%02d", t.hour, t.minute, t.second);
  return buf;
}

std::string FormatTimestamp(const LocalDateTime& t) { return FormatLongDate(t) + " " + FormatLongTime(t); }

std::string FormatMonthDay(const LocalDateTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d.%02d", t.month, t.day);
  return buf;
}

}  // namespace cvu
