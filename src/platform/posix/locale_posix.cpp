#include <unicode/udat.h>
#include <unicode/uloc.h>
#include <unicode/unum.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/locale.h"
#include "platform/posix/locale_forms.h"
#include "runtime/ansi.h"

namespace zv::platform {

namespace {

std::mutex gMutex;
std::optional<int32_t> gUserLcid;

std::string_view localeFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return {};
}

// "fr_FR.UTF-8@euro" is 1036; a language alone takes ICU's default country for it.
int32_t lcidOf(std::string_view name) {
  std::string base(name.substr(0, name.find_first_of(".@")));
  if (base.empty() || base == "C" || base == "POSIX") return kLcidEnglishUS;
  UErrorCode status = U_ZERO_ERROR;
  char likely[ULOC_FULLNAME_CAPACITY];
  uloc_addLikelySubtags(base.c_str(), likely, sizeof likely, &status);
  if (U_FAILURE(status)) return kLcidEnglishUS;
  // addLikelySubtags adds the script ("fr_Latn_FR"); LCIDs know only language_COUNTRY.
  char language[ULOC_LANG_CAPACITY], country[ULOC_COUNTRY_CAPACITY];
  uloc_getLanguage(likely, language, sizeof language, &status);
  uloc_getCountry(likely, country, sizeof country, &status);
  if (U_FAILURE(status)) return kLcidEnglishUS;
  const std::string full = std::string(language) + "_" + country;
  uint32_t lcid = uloc_getLCID(base.find('_') != std::string::npos ? base.c_str() : full.c_str());
  if (lcid == 0) lcid = uloc_getLCID(full.c_str());
  return lcid == 0 ? kLcidEnglishUS : static_cast<int32_t>(lcid);
}

// The ICU locale of an LCID the platform knows, "" otherwise.
std::string icuLocale(int32_t lcid) {
  UErrorCode status = U_ZERO_ERROR;
  char name[ULOC_FULLNAME_CAPACITY] = {};
  int32_t length = uloc_getLocaleForLCID(static_cast<uint32_t>(lcid), name, sizeof name, &status);
  if (U_FAILURE(status) || length <= 0) return {};
  // ICU answers some unassigned identifiers with the bare language; Windows does not.
  if (lcid != static_cast<int32_t>(uloc_getLCID(name))) return {};
  return name;
}

// Whether the locale's ANSI code page is Windows-1252 (by its primary language).
bool westernCodePage(int32_t lcid) {
  switch (lcid & 0x3FF) {
    case 0x03:
    case 0x06:
    case 0x07:
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0F:
    case 0x10:
    case 0x13:
    case 0x14:
    case 0x16:
    case 0x1D:
    case 0x21:
    case 0x2D:
    case 0x36:
    case 0x3C:
    case 0x3E:
    case 0x41:
    case 0x56:
      return true;
  }
  return false;
}

// Text in the ANSI code page, as GetLocaleInfoA writes it: ICU's narrow and thin no-break
// spaces become the no-break space Windows uses, and a character without a code in
// Windows-1252 becomes "?". Locales of other code pages (ja-JP: 932) keep their Unicode
// text, which the Windows face reads through the locale's code page too.
String toWindowsText(String text, int32_t lcid) {
  for (char16_t& c : text)
    if (c == u'\u202F' || c == u'\u2009') c = u'\u00A0';
  if (!westernCodePage(lcid)) return text;
  return fromAnsi(toAnsi(text));
}

String displayName(const std::string& locale, bool countryOnly) {
  std::array<UChar, 256> buffer{};
  UErrorCode status = U_ZERO_ERROR;
  int32_t n =
      countryOnly
          ? uloc_getDisplayCountry(locale.c_str(), "en", buffer.data(), buffer.size(), &status)
          : uloc_getDisplayName(locale.c_str(), "en", buffer.data(), buffer.size(), &status);
  if (U_FAILURE(status)) return {};
  return String(buffer.data(), static_cast<size_t>(n));
}

String numberSymbol(const std::string& locale, UNumberFormatStyle style,
                    UNumberFormatSymbol symbol) {
  UErrorCode status = U_ZERO_ERROR;
  UNumberFormat* format = unum_open(style, nullptr, 0, locale.c_str(), nullptr, &status);
  if (U_FAILURE(status)) return {};
  std::array<UChar, 64> buffer{};
  int32_t n = unum_getSymbol(format, symbol, buffer.data(), buffer.size(), &status);
  unum_close(format);
  if (U_FAILURE(status)) return {};
  return String(buffer.data(), static_cast<size_t>(n));
}

// Month (kind UDAT_MONTHS, index 0 = January) or weekday (UDAT_WEEKDAYS, 1 = Sunday).
String calendarName(const std::string& locale, UDateFormatSymbolType kind, int32_t index) {
  UErrorCode status = U_ZERO_ERROR;
  UDateFormat* format =
      udat_open(UDAT_DEFAULT, UDAT_DEFAULT, locale.c_str(), nullptr, 0, nullptr, 0, &status);
  if (U_FAILURE(status)) return {};
  std::array<UChar, 128> buffer{};
  int32_t n = udat_getSymbols(format, kind, index, buffer.data(), buffer.size(), &status);
  udat_close(format);
  if (U_FAILURE(status)) return {};
  return String(buffer.data(), static_cast<size_t>(n));
}

// An ICU date or time pattern in the Windows pattern language, for locales the table of
// Windows forms does not hold.
String icuPattern(const std::string& locale, UDateFormatStyle date, UDateFormatStyle time) {
  UErrorCode status = U_ZERO_ERROR;
  UDateFormat* format = udat_open(time, date, locale.c_str(), nullptr, 0, nullptr, 0, &status);
  if (U_FAILURE(status)) return {};
  std::array<UChar, 256> buffer{};
  int32_t n = udat_toPattern(format, false, buffer.data(), buffer.size(), &status);
  udat_close(format);
  if (U_FAILURE(status)) return {};
  String icu(buffer.data(), static_cast<size_t>(n)), out;
  for (size_t i = 0; i < icu.size();) {
    char16_t c = icu[i];
    size_t run = 1;
    while (i + run < icu.size() && icu[i + run] == c)
      ++run;
    if (c == u'\'') {
      size_t end = icu.find(u'\'', i + 1);
      if (end == String::npos) end = icu.size() - 1;
      out += icu.substr(i, end - i + 1);
      i = end + 1;
      continue;
    }
    switch (c) {
      case u'y':
      case u'u':
        out += u"yyyy";  // Windows writes four-digit years
        break;
      case u'L':
      case u'M':
        out += String(run > 4 ? 4 : run, u'M');
        break;
      case u'd':
      case u'H':
      case u'h':
      case u'm':
      case u's':
        out += String(run > 2 ? 2 : run, c);
        break;
      case u'E':
      case u'c':
        out += run >= 4 ? u"dddd" : u"ddd";
        break;
      case u'a':
        out += u"tt";
        break;
      case u'\u00A0':
      case u'\u202F':
        out += String(run, u' ');  // ICU's no-break blanks between fields are plain ones
        break;
      default:
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))) out += String(run, c);
    }
    i += run;
  }
  return out;
}

String hex4(int32_t value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%04x", static_cast<unsigned>(value & 0xFFFF));
  return String(buffer, buffer + 4);
}

String fromIcu(const std::string& locale, int32_t lcid, int32_t type) {
  using namespace lctype;
  const WindowsLocaleForms* forms = windowsLocaleForms(lcid);
  if (type >= kDayName1 && type < kDayName1 + 7)  // Windows starts on Monday, ICU on Sunday
    return calendarName(locale, UDAT_WEEKDAYS, (type - kDayName1 + 1) % 7 + 1);
  if (type >= kAbbrevDayName1 && type < kAbbrevDayName1 + 7)
    return calendarName(locale, UDAT_SHORT_WEEKDAYS, (type - kAbbrevDayName1 + 1) % 7 + 1);
  if (type >= kMonthName1 && type < kMonthName1 + 12)
    return calendarName(locale, UDAT_STANDALONE_MONTHS, type - kMonthName1);
  if (type >= kAbbrevMonthName1 && type < kAbbrevMonthName1 + 12)
    return calendarName(locale, UDAT_SHORT_MONTHS, type - kAbbrevMonthName1);
  switch (type) {
    case kLanguageId:
      return hex4(lcid);
    case kLanguage:
      return displayName(locale, false);
    case kCountry:
      return displayName(locale, true);
    case kAbbrevCountry:
      return fromUtf8(uloc_getISO3Country(locale.c_str()));
    case kDecimal:
      return numberSymbol(locale, UNUM_DECIMAL, UNUM_DECIMAL_SEPARATOR_SYMBOL);
    case kThousand:
      return numberSymbol(locale, UNUM_DECIMAL, UNUM_GROUPING_SEPARATOR_SYMBOL);
    case kCurrency:
      return numberSymbol(locale, UNUM_CURRENCY, UNUM_CURRENCY_SYMBOL);
  }
  if (forms) {
    switch (type) {
      case kAbbrevLanguage:
        return forms->abbrevLanguage;
      case kCountryCode:
        return forms->countryCode;
      case kDateSeparator:
        return forms->dateSeparator;
      case kTimeSeparator:
        return forms->timeSeparator;
      case kShortDate:
        return forms->shortDate;
      case kLongDate:
        return forms->longDate;
      case kTimeFormat:
        return forms->timeFormat;
      case kAm:
        return forms->am;
      case kPm:
        return forms->pm;
      case kFirstDayOfWeek:
        return forms->firstDayOfWeek;
      case kCurrencyDigits:
        return forms->currencyDigits;
      case kPositiveCurrency:
        return forms->positiveCurrency;
      case kNegativeCurrency:
        return forms->negativeCurrency;
    }
    return {};
  }
  // A locale outside the table: the nearest forms ICU has.
  switch (type) {
    case kAbbrevLanguage: {
      String abbrev = fromUtf8(uloc_getISO3Language(locale.c_str()));
      for (char16_t& c : abbrev)
        c = static_cast<char16_t>(c >= u'a' && c <= u'z' ? c - 32 : c);
      return abbrev;
    }
    case kShortDate:
      return icuPattern(locale, UDAT_SHORT, UDAT_NONE);
    case kLongDate:
      return icuPattern(locale, UDAT_FULL, UDAT_NONE);
    case kTimeFormat:
      return icuPattern(locale, UDAT_NONE, UDAT_MEDIUM);
    case kAm:
      return calendarName(locale, UDAT_AM_PMS, 0);
    case kPm:
      return calendarName(locale, UDAT_AM_PMS, 1);
    case kDateSeparator:
    case kTimeSeparator: {
      String pattern = icuPattern(locale, type == kDateSeparator ? UDAT_SHORT : UDAT_NONE,
                                  type == kDateSeparator ? UDAT_NONE : UDAT_MEDIUM);
      size_t at = pattern.find_first_not_of(u"yMdHhms");
      return at == String::npos ? String() : pattern.substr(at, 1);
    }
  }
  return {};
}

}  // namespace

int32_t userLcid() {
  std::lock_guard lock(gMutex);
  if (!gUserLcid) gUserLcid = lcidOf(localeFromEnvironment());
  return *gUserLcid;
}

int32_t systemLcid() {
  return userLcid();
}

void resetLocaleCache() {
  std::lock_guard lock(gMutex);
  gUserLcid.reset();
}

String localeInfo(int32_t lcid, int32_t type) {
  // LOCALE_NEUTRAL, LOCALE_USER_DEFAULT and LOCALE_SYSTEM_DEFAULT.
  if (lcid == 0 || lcid == 0x400) lcid = userLcid();
  if (lcid == 0x800) lcid = systemLcid();
  const std::string locale = icuLocale(lcid);
  if (locale.empty()) return {};
  if (const char16_t* value = windowsOverride(lcid, type)) return value;
  return toWindowsText(fromIcu(locale, lcid, type), lcid);
}

}  // namespace zv::platform
