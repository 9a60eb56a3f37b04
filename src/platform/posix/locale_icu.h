// What ICU knows of a locale, in the shapes the Windows locale items take: names in a
// given language, number symbols, calendar names and patterns in the Windows pattern
// language (d M y H h m s tt), currency facts.
#pragma once

#include <unicode/udat.h>
#include <unicode/unum.h>

#include <string>

#include "runtime/types.h"

namespace zv::platform::icu {

// The ICU name of an LCID ("fr_FR"), "" for an LCID ICU does not map back to itself.
std::string localeOf(int32_t lcid);
// The LCID of a POSIX locale name ("fr_FR.UTF-8@euro"); 1033 for C, POSIX or unknown.
int32_t lcidOf(std::string_view name);

// Language, country or both ("French (France)") in the language `in` ("en", or the
// locale itself for its native names).
String displayLanguage(const std::string& locale, const std::string& in);
String displayCountry(const std::string& locale, const std::string& in);
String displayName(const std::string& locale, const std::string& in);

String numberSymbol(const std::string& locale, UNumberFormatStyle style,
                    UNumberFormatSymbol symbol);
// The pattern of a number style (UNUM_PERCENT "#,##0 %", UNUM_CURRENCY "#,##0.00 ¤").
String numberPattern(const std::string& locale, UNumberFormatStyle style);

// Month (kind UDAT_MONTHS, index 0 = January) or weekday (UDAT_WEEKDAYS, 1 = Sunday) and
// the other kinds of udat_getSymbols.
String calendarName(const std::string& locale, UDateFormatSymbolType kind, int32_t index);
// The narrow AM (0) or PM (1) marker.
String narrowDayPeriod(const std::string& locale, int32_t index);
// A date or time style, or the best pattern for a skeleton ("MMMMd"), in the Windows
// pattern language.
String datePattern(const std::string& locale, UDateFormatStyle date, UDateFormatStyle time);
String skeletonPattern(const std::string& locale, const char16_t* skeleton);

// ISO 4217 code, its name in `in` and its usual number of decimals.
String currencyCode(const std::string& locale);
String currencyName(const std::string& locale, const std::string& in);
int32_t currencyDigits(const std::string& locale);

// Metric (or imperial UK) measures, as opposed to US ones.
bool usesMetric(const std::string& locale);
bool usesLetterPaper(const std::string& locale);
// Minimal days in the first week of the year (1: the week of 1 January, 4: ISO).
int32_t minimalDaysInFirstWeek(const std::string& locale);

}  // namespace zv::platform::icu
