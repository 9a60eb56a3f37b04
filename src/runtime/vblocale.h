// The user's regional settings as the VB conversions and Format use them, read once
// from the platform's locale service.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "types.h"

namespace zv {

// Order of day, month and year in the short date form.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

struct LocaleSettings {
  int32_t lcid = 1033;
  String decimal = u".";
  String thousand = u",";
  String monetaryDecimal = u".";
  String monetaryThousand = u",";
  String currency = u"$";
  int32_t currencyDigits = 2;
  int32_t positiveCurrency = 0;  // Windows' LOCALE_ICURRENCY numbering
  int32_t negativeCurrency = 0;  // Windows' LOCALE_INEGCURR numbering
  String dateSeparator = u"/";
  String timeSeparator = u":";
  String shortDate = u"M/d/yyyy";  // Windows pattern language
  String longDate = u"dddd, MMMM d, yyyy";
  String timeFormat = u"h:mm:ss tt";
  String am = u"AM";
  String pm = u"PM";
  std::array<String, 12> months;  // January first
  std::array<String, 12> abbrevMonths;
  std::array<String, 7> days;  // Sunday first, as VB's Weekday numbers them
  std::array<String, 7> abbrevDays;
  int32_t firstDayOfWeek = 1;  // VB numbering: 1 Sunday ... 7 Saturday
  DateOrder dateOrder = DateOrder::MonthDayYear;
};

// The settings of locale `lcid` (0: the user's) from the platform; the US English
// defaults above for whatever the platform does not know.
LocaleSettings readLocaleSettings(int32_t lcid);

// The user's settings, read on first use (thread-safe) and kept.
std::shared_ptr<const LocaleSettings> userLocale();

// Makes the next use read the user's locale again (tests that change LANG).
void resetUserLocale();

}  // namespace zv
