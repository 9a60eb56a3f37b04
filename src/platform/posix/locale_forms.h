// The locale items ICU does not hold in the Windows form (date and time patterns in the
// Windows pattern language, AM/PM texts, Windows abbreviations, country codes), as
// GetLocaleInfoA answers them under Wine 8.
#pragma once

#include <cstdint>

namespace zv::platform {

struct WindowsLocaleForms {
  int32_t lcid;
  const char16_t* abbrevLanguage;    // LOCALE_SABBREVLANGNAME
  const char16_t* countryCode;       // LOCALE_ICOUNTRY
  const char16_t* dateSeparator;     // LOCALE_SDATE
  const char16_t* timeSeparator;     // LOCALE_STIME
  const char16_t* shortDate;         // LOCALE_SSHORTDATE
  const char16_t* longDate;          // LOCALE_SLONGDATE
  const char16_t* timeFormat;        // LOCALE_STIMEFORMAT
  const char16_t* am;                // LOCALE_S1159
  const char16_t* pm;                // LOCALE_S2359
  const char16_t* firstDayOfWeek;    // LOCALE_IFIRSTDAYOFWEEK
  const char16_t* currencyDigits;    // LOCALE_ICURRDIGITS
  const char16_t* positiveCurrency;  // LOCALE_ICURRENCY
  const char16_t* negativeCurrency;  // LOCALE_INEGCURR
};

// The entry of `lcid`, nullptr when the table has none.
const WindowsLocaleForms* windowsLocaleForms(int32_t lcid);

// An item whose ICU value differs from the Windows one for that locale, nullptr if none.
const char16_t* windowsOverride(int32_t lcid, int32_t type);

}  // namespace zv::platform
