#include "vbdate.h"

#include <cmath>
#include <ctime>
#include <vector>

#include "convert.h"
#include "date_pattern_walk.h"

namespace zv {

namespace {

// Day 0 of the OLE calendar (1899-12-30) in the days-from-civil count of 1970-01-01 = 0.
constexpr int64_t kEpochShift = 25569;

int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int32_t& y, int32_t& m, int32_t& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int32_t>(yoe + era * 400 + (m <= 2));
}

bool isLeap(int32_t y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int32_t daysInMonth(int32_t y, int32_t m) {
  static constexpr int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

String number(int64_t value, int width = 0) {
  String text = longToString(value < 0 ? -value : value);
  while (static_cast<int>(text.size()) < width)
    text.insert(text.begin(), u'0');
  return value < 0 ? u"-" + text : text;
}

}  // namespace

bool isDateInRange(Date value) {
  return value.days > -657435.0 && value.days < 2958466.0;
}

DateParts splitDate(Date value) {
  DateParts p;
  double whole = std::trunc(value.days);
  int64_t seconds = std::llround(std::fabs(value.days - whole) * 86400.0);
  int64_t day = static_cast<int64_t>(whole);
  if (seconds >= 86400) {  // rounding reached midnight: the next day (away from day 0)
    seconds -= 86400;
    day += value.days < 0 ? -1 : 1;
  }
  civilFromDays(day - kEpochShift, p.year, p.month, p.day);
  p.hour = static_cast<int32_t>(seconds / 3600);
  p.minute = static_cast<int32_t>(seconds / 60 % 60);
  p.second = static_cast<int32_t>(seconds % 60);
  // 1899-12-30 was a Saturday.
  p.weekday = static_cast<int32_t>(((day + 6) % 7 + 7) % 7 + 1);
  p.dayOfYear = static_cast<int32_t>(day - kEpochShift - daysFromCivil(p.year, 1, 1) + 1);
  return p;
}

std::optional<Date> makeDate(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                             int32_t second) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > daysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59)
    return std::nullopt;
  const double days = static_cast<double>(daysFromCivil(year, month, day) + kEpochShift);
  const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  // Before day 0 the time still counts forward from the day's start: -1.25 is 29 Dec 06:00.
  return Date{days < 0 ? days - time : days + time};
}

int32_t currentYear() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local.tm_year + 1900;
}

String formatWindowsPattern(Date value, StringView pattern, const LocaleSettings& locale) {
  const DateParts p = splitDate(value);
  String out;
  auto field = [&](char16_t c, size_t run) {
    const int n = static_cast<int>(run);
    switch (c) {
      case u'd':
        out += n == 1   ? number(p.day)
               : n == 2 ? number(p.day, 2)
               : n == 3 ? locale.abbrevDays[p.weekday - 1]
                        : locale.days[p.weekday - 1];
        break;
      case u'M':
        out += n == 1   ? number(p.month)
               : n == 2 ? number(p.month, 2)
               : n == 3 ? locale.abbrevMonths[p.month - 1]
                        : locale.months[p.month - 1];
        break;
      case u'y':
        out += n == 1 ? number(p.year % 100) : n == 2 ? number(p.year % 100, 2) : number(p.year);
        break;
      case u'h':
        out += number(p.hour % 12 == 0 ? 12 : p.hour % 12, n >= 2 ? 2 : 0);
        break;
      case u'H':
        out += number(p.hour, n >= 2 ? 2 : 0);
        break;
      case u'm':
        out += number(p.minute, n >= 2 ? 2 : 0);
        break;
      case u's':
        out += number(p.second, n >= 2 ? 2 : 0);
        break;
      case u't': {
        const String& designator = p.hour < 12 ? locale.am : locale.pm;
        out += n == 1 ? designator.substr(0, 1) : designator;
        break;
      }
      case u'g':
        break;  // era: the Gregorian calendar writes none
      default:
        out += String(run, c);
    }
  };
  walkDatePattern(pattern, field, [&](const String& text) { out += text; });
  return out;
}

String dateToLocaleString(Date value, const LocaleSettings& locale) {
  const DateParts p = splitDate(value);
  const bool hasTime = p.hour != 0 || p.minute != 0 || p.second != 0;
  const bool hasDate =
      std::trunc(value.days) != 0 || std::fabs(value.days) >= 1 - 0.5 / 86400;  // rounds to day 1
  if (!hasDate) return formatWindowsPattern(value, locale.timeFormat, locale);
  String text = formatWindowsPattern(value, locale.shortDate, locale);
  if (hasTime) text += u" " + formatWindowsPattern(value, locale.timeFormat, locale);
  return text;
}

}  // namespace zv
