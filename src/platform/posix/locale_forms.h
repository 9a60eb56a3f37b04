// The Windows forms of locale items that ICU does not hold (date and time patterns in the
// Windows pattern language, designators, abbreviations, codes, currency placement), as
// GetLocaleInfoW answers them for the twelve locales the library is tried in, and the code
// pages of languages.
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
  const char16_t* positiveCurrency;  // LOCALE_ICURRENCY
  const char16_t* negativeCurrency;  // LOCALE_INEGCURR
  const char16_t* duration;          // LOCALE_SDURATION
  const char16_t* relativeLongDate;  // LOCALE_SRELATIVELONGDATE
  const char16_t* geoId;             // LOCALE_IGEOID
  const char16_t* oemCodePage;       // LOCALE_IDEFAULTCODEPAGE
  const char16_t* ebcdicCodePage;    // LOCALE_IDEFAULTEBCDICCODEPAGE
  const char16_t* sortName;          // LOCALE_SSORTNAME
};

// The entry of `lcid`, nullptr when the table has none.
const WindowsLocaleForms* windowsLocaleForms(int32_t lcid);

// An item whose ICU value differs from the Windows one for that locale, nullptr if none.
const char16_t* windowsOverride(int32_t lcid, int32_t type);

struct LanguageCodePages {
  const char* language;
  int32_t ansi, oem, mac;
  const char16_t* openTypeTag;  // LOCALE_SOPENTYPELANGUAGETAG
};

// The code pages of a language ("fr"), nullptr for a language outside the table.
const LanguageCodePages* languageCodePages(const char* language);

}  // namespace zv::platform
