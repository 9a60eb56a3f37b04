// Periods: a date tested against both ends of a period, and the length in days of a
// period whose ends are kept in order as the user changes one of them.
#include <cmath>

#include "frame/traps.h"
#include "runtime/vbdate.h"
#include "runtime/vblocale.h"
#include "time/TimeLib.h"

namespace zv::impl {

namespace {

constexpr int16_t kTimeLower = 0;
constexpr int16_t kTimeEqual = 1;
constexpr int16_t kTimeUpper = 2;

// The date's text as CStr writes it in the user's locale (short date, time when any).
String localeText(Date value) {
  return dateToLocaleString(value, *userLocale());
}

// The serial of the date's calendar day, the time of day left out.
double calendarDay(Date value) {
  const DateParts p = splitDate(value);
  if (const auto day = makeDate(p.year, p.month, p.day)) return day->days;
  return std::trunc(value.days);
}

}  // namespace

bool TimeLib::isInThisPeriod(String& startPeriod, String& endPeriod, String& theDate,
                             const String& dateFormat) {
  const int16_t a = DateEquality(theDate, startPeriod, dateFormat);
  const int16_t b = DateEquality(theDate, endPeriod, dateFormat);
  if (a == kTimeUpper && b == kTimeLower) return true;
  return a == kTimeEqual || b == kTimeEqual;
}

int16_t TimeLib::DayInterval(Date& theDate1, Date& theDate2, int16_t& Index,
                             const String& theFormat) {
  int16_t result = -1;
  reportAndReturn(
      [&] {
        // Date + 1 is VB's: the serial plus one.
        if (Index == 0) {
          if (DateEquality(localeText(theDate1), localeText(theDate2), theFormat) == kTimeUpper)
            theDate2 = Date{theDate1.days + 1};
        } else if (Index == 1) {
          if (DateEquality(localeText(theDate2), localeText(theDate1), theFormat) == kTimeLower)
            theDate1 = Date{theDate2.days - 1};
        }
        const double days = calendarDay(theDate2) - calendarDay(theDate1) + 1;
        result = toInteger16(static_cast<int64_t>(days));
      },
      u"Error on calculate the date interval");
  return result;
}

}  // namespace zv::impl
