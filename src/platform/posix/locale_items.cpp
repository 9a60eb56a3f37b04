#include "platform/posix/locale_items.h"

#include <unicode/uloc.h>

#include <cstdio>

#include "platform/posix/locale_forms.h"
#include "platform/posix/locale_icu.h"
#include "runtime/date_pattern_walk.h"
#include "runtime/text.h"

namespace zv::platform {

namespace {

String ascii(const std::string& s) {
  return String(s.begin(), s.end());
}

String number(int64_t value) {
  return ascii(std::to_string(value));
}

String hex4(int32_t value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%04x", static_cast<unsigned>(value & 0xFFFF));
  return ascii(buffer);
}

std::string language(const std::string& locale) {
  char buffer[ULOC_LANG_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_getLanguage(locale.c_str(), buffer, sizeof buffer, &status);
  return buffer;
}

std::string country(const std::string& locale) {
  char buffer[ULOC_COUNTRY_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_getCountry(locale.c_str(), buffer, sizeof buffer, &status);
  return buffer;
}

// "fr-FR".
String localeName(const std::string& locale) {
  const std::string c = country(locale);
  return ascii(language(locale) + (c.empty() ? "" : "-" + c));
}

// Windows groups the thousands with the no-break space where ICU has the narrow one.
String windowsBlank(String text) {
  for (char16_t& c : text)
    if (c == u'\u202F') c = u'\u00A0';
  return text;
}

// The position of the first of day, month and year fields: 0 month, 1 day, 2 year
// (LOCALE_IDATE and ILDATE); day names (four d's and more) do not count.
String dateOrder(const String& pattern) {
  String order;
  walkDatePattern(
      pattern,
      [&](char16_t c, size_t run) {
        if (order.empty() && (c == u'M' || (c == u'd' && run <= 2) || c == u'y'))
          order = c == u'M' ? u"0" : c == u'd' ? u"1" : u"2";
      },
      [](const String&) {});
  return order.empty() ? u"0" : order;
}

// The first field of `letter` in a pattern has two letters or more.
String leadingZero(const String& pattern, char16_t letter) {
  const size_t at = pattern.find(letter);
  return at != String::npos && at + 1 < pattern.size() && pattern[at + 1] == letter ? u"1" : u"0";
}

// LOCALE_ICURRENCY from ICU's currency pattern: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
int32_t positiveCurrencyOf(const std::string& locale) {
  const String pattern = icu::numberPattern(locale, UNUM_CURRENCY);
  const size_t at = pattern.find(u'\u00A4');
  if (at == String::npos) return 0;
  const bool before = at < pattern.find_first_of(u"#0");
  const size_t next = before ? at + 1 : at - 1;  // the character between symbol and digits
  const bool blank = next < pattern.size() && pattern[next] != u'#' && pattern[next] != u'0';
  return before ? (blank ? 2 : 0) : (blank ? 3 : 1);
}

// LOCALE_INEGCURR for a locale without Windows forms: the minus in front.
int32_t negativeCurrencyOf(int32_t positive) {
  static constexpr int32_t kNegative[] = {1, 5, 9, 8};
  return kNegative[positive & 3];
}

// Sign position, symbol in front, blank between (LOCALE_IPOSSIGNPOSN ... INEGSEPBYSPACE) of
// each LOCALE_ICURRENCY and LOCALE_INEGCURR value.
struct Placement {
  int32_t signPosition, symbolFirst, blank;
};
constexpr Placement kPositive[] = {{3, 1, 0}, {1, 0, 0}, {3, 1, 1}, {1, 0, 1}};
constexpr Placement kNegative[] = {{0, 1, 0}, {1, 1, 0}, {4, 1, 0}, {2, 1, 0}, {0, 0, 0}, {1, 0, 0},
                                   {3, 0, 0}, {2, 0, 0}, {1, 0, 1}, {3, 1, 1}, {2, 0, 1}, {2, 1, 1},
                                   {4, 1, 1}, {3, 0, 1}, {0, 1, 1}, {0, 0, 1}};

// LOCALE_IPOSITIVEPERCENT from ICU's percent pattern: 0 "1 %", 1 "1%", 2 "%1", 3 "% 1".
int32_t percentPlacement(const std::string& locale) {
  const String pattern = icu::numberPattern(locale, UNUM_PERCENT);
  const size_t at = pattern.find(u'%');
  if (at == String::npos) return 1;
  if (at == 0) return pattern.size() > 1 && (pattern[1] == u'#' || pattern[1] == u'0') ? 2 : 3;
  const char16_t before = pattern[at - 1];
  return before == u'#' || before == u'0' ? 1 : 0;
}

// The weekday name of LOCALE_SDAYNAME1 + index (Monday first) in an ICU kind (Sunday = 1).
String weekday(const std::string& locale, UDateFormatSymbolType kind, int32_t index) {
  return icu::calendarName(locale, kind, index % 7 + 2 > 7 ? 1 : index % 7 + 2);
}

}  // namespace

bool isNumericItem(int32_t type, bool& hex) {
  hex = type == 0x01 || type == 0x09;
  switch (type) {
    case 0x01:
    case 0x05:
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0D:
    case 0x11:
    case 0x12:
    case 0x19:
    case 0x1A:
    case 0x1B:
    case 0x1C:
    case 0x21:
    case 0x22:
    case 0x23:
    case 0x24:
    case 0x25:
    case 0x26:
    case 0x27:
    case 0x52:
    case 0x53:
    case 0x54:
    case 0x55:
    case 0x56:
    case 0x57:
    case 0x5B:
    case 0x70:
    case 0x71:
    case 0x74:
    case 0x75:
    case 0x7D:
    case 0x1004:
    case 0x1005:
    case 0x1009:
    case 0x100A:
    case 0x100B:
    case 0x100C:
    case 0x100D:
    case 0x1010:
    case 0x1011:
    case 0x1012:
    case 0x1014:
      return true;
  }
  return false;
}

String windowsItem(const std::string& locale, int32_t lcid, int32_t type, bool genitive) {
  const WindowsLocaleForms* forms = windowsLocaleForms(lcid);
  const LanguageCodePages* pages = languageCodePages(language(locale).c_str());
  auto form = [&](const char16_t* WindowsLocaleForms::*field, auto fallback) -> String {
    return forms ? String(forms->*field) : String(fallback());
  };
  auto shortDate = [&] {
    return form(&WindowsLocaleForms::shortDate,
                [&] { return icu::datePattern(locale, UDAT_SHORT, UDAT_NONE); });
  };
  auto longDate = [&] {
    return form(&WindowsLocaleForms::longDate,
                [&] { return icu::datePattern(locale, UDAT_FULL, UDAT_NONE); });
  };
  auto timeFormat = [&] {
    return form(&WindowsLocaleForms::timeFormat,
                [&] { return icu::datePattern(locale, UDAT_NONE, UDAT_MEDIUM); });
  };
  auto positive = [&] {
    return forms ? static_cast<int32_t>(std::stoi(zv::toUtf8(forms->positiveCurrency)))
                 : positiveCurrencyOf(locale);
  };
  auto negative = [&] {
    return forms ? static_cast<int32_t>(std::stoi(zv::toUtf8(forms->negativeCurrency)))
                 : negativeCurrencyOf(positive());
  };
  auto decimal = [&] {
    return icu::numberSymbol(locale, UNUM_DECIMAL, UNUM_DECIMAL_SEPARATOR_SYMBOL);
  };
  auto separator = [&](int32_t which) {
    // The character after the first field of the short date or the time format.
    const String pattern = which == 0 ? shortDate() : timeFormat();
    const size_t at = pattern.find_first_not_of(u"yMdHhms");
    return at == String::npos ? String() : pattern.substr(at, 1);
  };

  if (type >= 0x2A && type <= 0x30) return weekday(locale, UDAT_WEEKDAYS, type - 0x2A);
  if (type >= 0x31 && type <= 0x37) return weekday(locale, UDAT_SHORT_WEEKDAYS, type - 0x31);
  if (type >= 0x60 && type <= 0x66) return weekday(locale, UDAT_SHORTER_WEEKDAYS, type - 0x60);
  if (type >= 0x38 && type <= 0x43)
    return icu::calendarName(locale, genitive ? UDAT_MONTHS : UDAT_STANDALONE_MONTHS, type - 0x38);
  if (type >= 0x44 && type <= 0x4F)
    return icu::calendarName(locale, UDAT_SHORT_MONTHS, type - 0x44);
  switch (type) {
    case 0x01:  // LOCALE_ILANGUAGE
    case 0x09:  // LOCALE_IDEFAULTLANGUAGE
      return hex4(lcid);
    case 0x02:  // LOCALE_SLANGUAGE
    case 0x72:  // LOCALE_SENGLISHDISPLAYNAME
      return icu::displayName(locale, "en");
    case 0x03:  // LOCALE_SABBREVLANGNAME
      return forms ? String(forms->abbrevLanguage)
                   : ucase(fromUtf8(uloc_getISO3Language(locale.c_str())));
    case 0x04:  // LOCALE_SNATIVELANGNAME
      return icu::displayLanguage(locale, locale);
    case 0x05:  // LOCALE_ICOUNTRY
    case 0x0A:  // LOCALE_IDEFAULTCOUNTRY
      return forms ? String(forms->countryCode) : String();
    case 0x06:    // LOCALE_SCOUNTRY
    case 0x1002:  // LOCALE_SENGCOUNTRY
      return icu::displayCountry(locale, "en");
    case 0x07:  // LOCALE_SABBREVCTRYNAME
    case 0x68:  // LOCALE_SISO3166CTRYNAME2
      return fromUtf8(uloc_getISO3Country(locale.c_str()));
    case 0x08:  // LOCALE_SNATIVECTRYNAME
      return icu::displayCountry(locale, locale);
    case 0x0B:  // LOCALE_IDEFAULTCODEPAGE
      return forms ? String(forms->oemCodePage) : pages ? number(pages->oem) : String();
    case 0x0C:  // LOCALE_SLIST
      return decimal() == u"," ? u";" : u",";
    case 0x0D:  // LOCALE_IMEASURE
      return icu::usesMetric(locale) ? u"0" : u"1";
    case 0x0E:  // LOCALE_SDECIMAL
      return decimal();
    case 0x0F:  // LOCALE_STHOUSAND
      return windowsBlank(icu::numberSymbol(locale, UNUM_DECIMAL, UNUM_GROUPING_SEPARATOR_SYMBOL));
    case 0x10:  // LOCALE_SGROUPING
    case 0x18:  // LOCALE_SMONGROUPING
      return u"3;0";
    case 0x11:  // LOCALE_IDIGITS
      return u"2";
    case 0x12:    // LOCALE_ILZERO
    case 0x1009:  // LOCALE_ICALENDARTYPE: Gregorian
    case 0x1010:  // LOCALE_INEGNUMBER: "-1.1"
    case 0x1014:  // LOCALE_IDIGITSUBSTITUTION
      return u"1";
    case 0x13:  // LOCALE_SNATIVEDIGITS
      return u"0123456789";
    case 0x14:  // LOCALE_SCURRENCY
      return icu::numberSymbol(locale, UNUM_CURRENCY, UNUM_CURRENCY_SYMBOL);
    case 0x15:  // LOCALE_SINTLSYMBOL
      return icu::currencyCode(locale);
    case 0x16:  // LOCALE_SMONDECIMALSEP
      return icu::numberSymbol(locale, UNUM_CURRENCY, UNUM_MONETARY_SEPARATOR_SYMBOL);
    case 0x17:  // LOCALE_SMONTHOUSANDSEP
      return windowsBlank(
          icu::numberSymbol(locale, UNUM_CURRENCY, UNUM_MONETARY_GROUPING_SEPARATOR_SYMBOL));
    case 0x19:  // LOCALE_ICURRDIGITS
    case 0x1A:  // LOCALE_IINTLCURRDIGITS
      return number(icu::currencyDigits(locale));
    case 0x1B:  // LOCALE_ICURRENCY
      return number(positive());
    case 0x1C:  // LOCALE_INEGCURR
      return number(negative());
    case 0x1D:  // LOCALE_SDATE
      return forms ? String(forms->dateSeparator) : separator(0);
    case 0x1E:  // LOCALE_STIME
      return forms ? String(forms->timeSeparator) : separator(1);
    case 0x1F:  // LOCALE_SSHORTDATE
      return shortDate();
    case 0x20:  // LOCALE_SLONGDATE
      return longDate();
    case 0x21:  // LOCALE_IDATE
      return dateOrder(shortDate());
    case 0x22:  // LOCALE_ILDATE
      return dateOrder(longDate());
    case 0x23:  // LOCALE_ITIME
      return timeFormat().find(u'H') != String::npos ? u"1" : u"0";
    case 0x24:  // LOCALE_ICENTURY
      return shortDate().find(u"yyyy") != String::npos ? u"1" : u"0";
    case 0x25:  // LOCALE_ITLZERO
      return leadingZero(timeFormat(), timeFormat().find(u'H') != String::npos ? u'H' : u'h');
    case 0x26:  // LOCALE_IDAYLZERO
      return leadingZero(shortDate(), u'd');
    case 0x27:  // LOCALE_IMONLZERO
      return leadingZero(shortDate(), u'M');
    case 0x28:  // LOCALE_S1159
    case 0x29:  // LOCALE_S2359
      return forms ? String(type == 0x28 ? forms->am : forms->pm)
                   : icu::calendarName(locale, UDAT_AM_PMS, type - 0x28);
    case 0x50:  // LOCALE_SPOSITIVESIGN
    case 0x5F:
    case 0x79:    // LOCALE_SSHORTTIME
    case 0x100E:  // LOCALE_SMONTHNAME13
    case 0x100F:  // LOCALE_SABBREVMONTHNAME13
      return {};
    case 0x51:  // LOCALE_SNEGATIVESIGN
      return icu::numberSymbol(locale, UNUM_DECIMAL, UNUM_MINUS_SIGN_SYMBOL);
    case 0x52:  // LOCALE_IPOSSIGNPOSN
      return number(kPositive[positive() & 3].signPosition);
    case 0x53:  // LOCALE_INEGSIGNPOSN
      return number(kNegative[negative() & 15].signPosition);
    case 0x54:  // LOCALE_IPOSSYMPRECEDES
      return number(kPositive[positive() & 3].symbolFirst);
    case 0x55:  // LOCALE_IPOSSEPBYSPACE
      return number(kPositive[positive() & 3].blank);
    case 0x56:  // LOCALE_INEGSYMPRECEDES
      return number(kNegative[negative() & 15].symbolFirst);
    case 0x57:  // LOCALE_INEGSEPBYSPACE
      return number(kNegative[negative() & 15].blank);
    case 0x59:  // LOCALE_SISO639LANGNAME
    case 0x6D:  // LOCALE_SPARENT
      return ascii(language(locale));
    case 0x5A:  // LOCALE_SISO3166CTRYNAME
      return ascii(country(locale));
    case 0x5B:  // LOCALE_IGEOID
      return forms ? String(forms->geoId) : String();
    case 0x5C:  // LOCALE_SNAME
    case 0x6E:  // LOCALE_SCONSOLEFALLBACKNAME
    case 0x7B:  // LOCALE_SSORTLOCALE
      return localeName(locale);
    case 0x5D:  // LOCALE_SDURATION: the time format on a 12-hour dial, without designator
      if (forms) return forms->duration;
      return trim(replaceAll(replaceAll(timeFormat(), u"tt", u""), u"H", u"h"));
    case 0x5E:  // LOCALE_SKEYBOARDSTOINSTALL
      return u"0409:00000409";
    case 0x67:  // LOCALE_SISO639LANGNAME2
      return fromUtf8(uloc_getISO3Language(locale.c_str()));
    case 0x69:  // LOCALE_SNAN
      return icu::numberSymbol(locale, UNUM_DECIMAL, UNUM_NAN_SYMBOL);
    case 0x6A:  // LOCALE_SPOSINFINITY
      return icu::numberSymbol(locale, UNUM_DECIMAL, UNUM_INFINITY_SYMBOL);
    case 0x6B:  // LOCALE_SNEGINFINITY
      return icu::numberSymbol(locale, UNUM_DECIMAL, UNUM_MINUS_SIGN_SYMBOL) +
             icu::numberSymbol(locale, UNUM_DECIMAL, UNUM_INFINITY_SYMBOL);
    case 0x6C:  // LOCALE_SSCRIPTS
      return language(locale) == "ja" ? u"Hani;Hira;Jpan;Kana;" : u"Latn;";
    case 0x6F:    // LOCALE_SLOCALIZEDLANGUAGENAME
    case 0x1001:  // LOCALE_SENGLANGUAGE
      return icu::displayLanguage(locale, "en");
    case 0x70:  // LOCALE_IREADINGLAYOUT: 2 where text may run vertically
      return language(locale) == "ja" ? u"2" : u"0";
    case 0x71:  // LOCALE_INEUTRAL
    case 0x7D:  // LOCALE_ICONSTRUCTEDLOCALE
      return u"0";
    case 0x1005:  // LOCALE_ITIMEMARKPOSN: the designator in front
      return timeFormat().rfind(u"tt", 0) == 0 ? u"1" : u"0";
    case 0x73:  // LOCALE_SNATIVEDISPLAYNAME
      return icu::displayName(locale, locale);
    case 0x74:  // LOCALE_INEGATIVEPERCENT
    case 0x75:  // LOCALE_IPOSITIVEPERCENT
      return number(percentPlacement(locale));
    case 0x76:  // LOCALE_SPERCENT
      return icu::numberSymbol(locale, UNUM_DECIMAL, UNUM_PERCENT_SYMBOL);
    case 0x77:  // LOCALE_SPERMILLE
      return icu::numberSymbol(locale, UNUM_DECIMAL, UNUM_PERMILL_SYMBOL);
    case 0x78:  // LOCALE_SMONTHDAY
      return icu::skeletonPattern(locale, u"MMMMd");
    case 0x7A:  // LOCALE_SOPENTYPELANGUAGETAG
      return pages ? String(pages->openTypeTag) : String();
    case 0x7C:  // LOCALE_SRELATIVELONGDATE
      return forms ? String(forms->relativeLongDate) : icu::skeletonPattern(locale, u"MMMEEEEd");
    case 0x7E:  // LOCALE_SSHORTESTAM
    case 0x7F:  // LOCALE_SSHORTESTPM
      return icu::narrowDayPeriod(locale, type - 0x7E);
    case 0x1003:  // LOCALE_STIMEFORMAT
      return timeFormat();
    case 0x1004:  // LOCALE_IDEFAULTANSICODEPAGE
      return pages ? number(pages->ansi) : String();
    case 0x1006:  // LOCALE_SYEARMONTH
      return icu::skeletonPattern(locale, u"yMMMM");
    case 0x1007:  // LOCALE_SENGCURRNAME
      return icu::currencyName(locale, "en");
    case 0x1008:  // LOCALE_SNATIVECURRNAME
      return icu::currencyName(locale, locale);
    case 0x100A:  // LOCALE_IPAPERSIZE: 1 letter, 9 A4
      return icu::usesLetterPaper(locale) ? u"1" : u"9";
    case 0x100B:  // LOCALE_IOPTIONALCALENDAR: the Japanese era calendar
      return language(locale) == "ja" ? u"3" : u"0";
    case 0x100C:  // LOCALE_IFIRSTDAYOFWEEK
      return forms ? String(forms->firstDayOfWeek) : u"0";
    case 0x100D: {  // LOCALE_IFIRSTWEEKOFYEAR
      const int32_t days = icu::minimalDaysInFirstWeek(locale);
      return days >= 7 ? u"1" : days >= 4 ? u"2" : u"0";
    }
    case 0x1011:  // LOCALE_IDEFAULTMACCODEPAGE
      return pages ? number(pages->mac) : String();
    case 0x1012:  // LOCALE_IDEFAULTEBCDICCODEPAGE
      return forms ? String(forms->ebcdicCodePage) : String();
    case 0x1013:  // LOCALE_SSORTNAME
      return forms ? String(forms->sortName) : u"Default";
  }
  return {};
}

}  // namespace zv::platform
