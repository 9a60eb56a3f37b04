// The date side: a date text split under a date format, two dates compared at day
// precision, today's date and the name of a weekday.
#include "api/StrChr.h"
#include "api/SystemLib.h"
#include "frame/traps.h"
#include "runtime/convert.h"
#include "runtime/format.h"
#include "runtime/vbdate.h"
#include "runtime/vblocale.h"
#include "time/TimeLib.h"
#include "time/time_text.h"

namespace zv::impl {

using timetext::value16;

namespace {

constexpr int16_t kTimeLower = 0;
constexpr int16_t kTimeEqual = 1;
constexpr int16_t kTimeUpper = 2;

int16_t compareParts(int16_t a, int16_t b) {
  return a > b ? kTimeUpper : kTimeLower;
}

}  // namespace

void TimeLib::ExtractAJMDate(const String& theDate, int16_t& theDay, int16_t& theMonth,
                             int16_t& theYear, const String& dateFormat) {
  theDay = 0;
  theMonth = 0;
  theYear = 0;
  reportAndReturn(
      [&] {
        String sep = u"/";
        String fmt = dateFormat;
        // A format without "/" is not one: the locale's own is taken instead.
        if (instr(fmt, u"/") == 0) {
          sep = timetext::dateSeparator();
          fmt = timetext::shortDateFormat();
        }
        // A text the platform reads as a date comes back in `fmt`; other text unchanged.
        String s = format(Variant(trim(theDate)), fmt);
        if (s.empty()) return;
        if (instr(s, sep) == 0) {
          theYear = value16(s);
          return;
        }
        const auto str = zv::StrChr::create();
        const int16_t first = value16(str->GetLeft(s, sep, false));
        s = str->GetRight(s, sep, false);
        if (instr(s, sep) == 0) {
          theMonth = first;
          theDay = 0;
          theYear = value16(s);
          return;
        }
        const int16_t second = value16(right(str->GetLeft(s, sep, false), 2));
        const int16_t third = value16(str->GetRight(s, sep, false));
        if (ucase(left(fmt, 2)) == u"DD") {
          theDay = first;
          theMonth = second;
        } else {
          theMonth = first;
          theDay = second;
        }
        theYear = third;
      },
      [&] { return u"Error on DateExtract(" + theDate + u", " + dateFormat + u")"; });
}

int16_t TimeLib::DateEquality(const String& theDate1, const String& theDate2,
                              const String& dateFormat) {
  int16_t result = kTimeEqual;
  reportAndReturn(
      [&] {
        if (theDate1.empty() || theDate2.empty()) return;
        int16_t d1 = 0, m1 = 0, y1 = 0, d2 = 0, m2 = 0, y2 = 0;
        ExtractAJMDate(theDate1, d1, m1, y1, dateFormat);
        ExtractAJMDate(theDate2, d2, m2, y2, dateFormat);
        if (y1 != y2)
          result = compareParts(y1, y2);
        else if (m1 != m2)
          result = compareParts(m1, m2);
        else if (d1 != d2)
          result = compareParts(d1, d2);
      },
      [&] {
        return u"Error on Date ProcessEqual(" + theDate1 + u", " + theDate2 + u", " + dateFormat +
               u")";
      });
  return result;
}

int16_t TimeLib::DateComparison(Date theDate1, Date theDate2, const String& dateFormat) {
  int16_t result = 0;
  reportAndReturn(
      [&] {
        const String sep = timetext::dateSeparator();
        String fmt = dateFormat;
        if (instr(fmt, sep) == 0) fmt = timetext::shortDateFormat();
        result = DateEquality(format(Variant(theDate1), fmt), format(Variant(theDate2), fmt), fmt);
      },
      [&] { return u"Error on Date Comparison(" + dateFormat + u")"; });
  return result;
}

String TimeLib::DateOfCurrentDay(const String& dateFormat) {
  String result;
  reportAndReturn(
      [&] {
        const String fmt = dateFormat.empty() ? timetext::shortDateFormat() : dateFormat;
        result = format(Variant(timetext::today()), fmt);
      },
      [&] { return u"Error on DateOfCurrentDay(): " + dateFormat; });
  return result;
}

String TimeLib::DayNameOfWeek(const String& theDate, bool uCaseDate) {
  // No trap: a text that is no date fails towards the caller (error 13).
  const String d = theDate.empty() ? DateOfCurrentDay(u"") : theDate;
  const DateParts parts = splitDate(toDate(Variant(d)));
  // Numbered from the system's first day and named the same way, the name is the date's.
  String name = userLocale()->days[parts.weekday - 1];
  if (uCaseDate && !name.empty()) name[0] = upperChar(name[0]);
  return name;
}

int16_t TimeLib::WeekStartDayNumber(int16_t StartOfWeek, int16_t theDayId, int16_t theDayOfWeek) {
  // Both subtractions are 16-bit; an overflow reaches the caller.
  const int16_t offset = toInteger16(static_cast<int32_t>(theDayId) - StartOfWeek);
  return toInteger16(static_cast<int32_t>(theDayOfWeek) - offset);
}

}  // namespace zv::impl
