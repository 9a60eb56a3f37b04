// Dates as VB writes and reads them: serial numbers to calendar parts and back, the
// locale's date and time patterns, and reading a date from text (CDate, IsDate).
#pragma once

#include <cstdint>
#include <optional>

#include "text.h"
#include "vblocale.h"

namespace zv {

struct DateParts {
  int32_t year = 1899, month = 12, day = 30;
  int32_t hour = 0, minute = 0, second = 0;
  int32_t weekday = 7;  // 1 Sunday ... 7 Saturday
  int32_t dayOfYear = 364;
};

// Whether a date lies within 1 January 100 and 31 December 9999 (times included).
bool isDateInRange(Date value);

// The calendar parts of a date, the time rounded to the second.
DateParts splitDate(Date value);
// The date of a calendar day and time; nullopt outside year 100 to 9999 or for a day,
// hour, minute or second out of range.
std::optional<Date> makeDate(int32_t year, int32_t month, int32_t day, int32_t hour = 0,
                             int32_t minute = 0, int32_t second = 0);

// A date written with a pattern of the Windows language of the locale's formats (d dd ddd
// dddd M MM MMM MMMM y yy yyyy h hh H HH m mm s ss t tt, 'quoted' literals).
String formatWindowsPattern(Date value, StringView pattern, const LocaleSettings& locale);

// CStr of a date: the short date, then the time format; only the time when the date part
// is 0, only the date when the time is midnight.
String dateToLocaleString(Date value, const LocaleSettings& locale);

// Reads a date, a time or both from text under the locale, as CDate does: up to six
// numbers with the locale's month names, a time with ":" (or "." where it is not the date
// separator) and an AM/PM designator (the locale's, or "a"/"p"); the date's numbers in the
// locale's order first, then the orders that keep its month and year places, then any.
// nullopt when the text is no date.
std::optional<Date> parseDate(StringView text, const LocaleSettings& locale);

// The year used when a date text gives none.
int32_t currentYear();

}  // namespace zv
