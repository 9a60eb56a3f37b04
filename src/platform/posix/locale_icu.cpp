#include "platform/posix/locale_icu.h"

#include <unicode/ucal.h>
#include <unicode/ucurr.h>
#include <unicode/udatpg.h>
#include <unicode/uloc.h>
#include <unicode/ulocdata.h>
#include <unicode/ures.h>

#include <array>

#include "platform/locale.h"
#include "runtime/date_pattern_walk.h"

namespace zv::platform::icu {

namespace {

template <class Query>
String text(Query query) {
  std::array<UChar, 256> buffer{};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = query(buffer.data(), static_cast<int32_t>(buffer.size()), &status);
  if (U_FAILURE(status) || n < 0) return {};
  return String(buffer.data(), static_cast<size_t>(n));
}

// An ICU pattern in the Windows pattern language: four-digit years, at most four M and
// two of d H h m s, E as ddd or dddd, a as tt; quoted text kept, other fields dropped.
String windowsPattern(const String& icu) {
  String out;
  auto field = [&](char16_t c, size_t run) {
    switch (c) {
      case u'y':
      case u'u':
        out += u"yyyy";
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
  };
  walkDatePattern(icu, field, [&](const String& text) {
    out += u'\'' + replaceAll(text, u"'", u"''") + u'\'';
  });
  return out;
}

}  // namespace

std::string localeOf(int32_t lcid) {
  UErrorCode status = U_ZERO_ERROR;
  char name[ULOC_FULLNAME_CAPACITY] = {};
  const int32_t length =
      uloc_getLocaleForLCID(static_cast<uint32_t>(lcid), name, sizeof name, &status);
  if (U_FAILURE(status) || length <= 0) return {};
  // ICU answers some unassigned identifiers with the bare language; Windows does not.
  if (lcid != static_cast<int32_t>(uloc_getLCID(name))) return {};
  return name;
}

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

String displayLanguage(const std::string& locale, const std::string& in) {
  return text([&](UChar* b, int32_t n, UErrorCode* s) {
    return uloc_getDisplayLanguage(locale.c_str(), in.c_str(), b, n, s);
  });
}

String displayCountry(const std::string& locale, const std::string& in) {
  return text([&](UChar* b, int32_t n, UErrorCode* s) {
    return uloc_getDisplayCountry(locale.c_str(), in.c_str(), b, n, s);
  });
}

String displayName(const std::string& locale, const std::string& in) {
  return text([&](UChar* b, int32_t n, UErrorCode* s) {
    return uloc_getDisplayName(locale.c_str(), in.c_str(), b, n, s);
  });
}

namespace {

// A text of ICU's number format of `style` for the locale.
template <class Query>
String ofNumberFormat(const std::string& locale, UNumberFormatStyle style, Query query) {
  UErrorCode status = U_ZERO_ERROR;
  UNumberFormat* format = unum_open(style, nullptr, 0, locale.c_str(), nullptr, &status);
  if (U_FAILURE(status)) return {};
  String value = text([&](UChar* b, int32_t n, UErrorCode* s) { return query(format, b, n, s); });
  unum_close(format);
  return value;
}

}  // namespace

String numberSymbol(const std::string& locale, UNumberFormatStyle style,
                    UNumberFormatSymbol symbol) {
  return ofNumberFormat(locale, style, [&](UNumberFormat* f, UChar* b, int32_t n, UErrorCode* s) {
    return unum_getSymbol(f, symbol, b, n, s);
  });
}

String numberPattern(const std::string& locale, UNumberFormatStyle style) {
  return ofNumberFormat(locale, style, [&](UNumberFormat* f, UChar* b, int32_t n, UErrorCode* s) {
    return unum_toPattern(f, false, b, n, s);
  });
}

String calendarName(const std::string& locale, UDateFormatSymbolType kind, int32_t index) {
  UErrorCode status = U_ZERO_ERROR;
  UDateFormat* format =
      udat_open(UDAT_DEFAULT, UDAT_DEFAULT, locale.c_str(), nullptr, 0, nullptr, 0, &status);
  if (U_FAILURE(status)) return {};
  String value = text([&](UChar* b, int32_t n, UErrorCode* s) {
    return udat_getSymbols(format, kind, index, b, n, s);
  });
  udat_close(format);
  return value;
}

String narrowDayPeriod(const std::string& locale, int32_t index) {
  // The markers may live in a parent locale's data: walk up until one has them.
  std::string name = locale;
  for (int depth = 0; depth < 8; ++depth) {
    UErrorCode status = U_ZERO_ERROR;
    UResourceBundle* bundle = ures_open(nullptr, name.c_str(), &status);
    UResourceBundle* calendar = ures_getByKey(bundle, "calendar", nullptr, &status);
    UResourceBundle* gregorian = ures_getByKey(calendar, "gregorian", nullptr, &status);
    UResourceBundle* markers = ures_getByKey(gregorian, "AmPmMarkersNarrow", nullptr, &status);
    String value;
    int32_t length = 0;
    const UChar* s = ures_getStringByIndex(markers, index, &length, &status);
    if (U_SUCCESS(status)) value.assign(s, static_cast<size_t>(length));
    for (UResourceBundle* r : {markers, gregorian, calendar, bundle})
      ures_close(r);
    if (U_SUCCESS(status) || name.empty()) return value;
    char parent[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode parentStatus = U_ZERO_ERROR;
    uloc_getParent(name.c_str(), parent, sizeof parent, &parentStatus);
    name = parent;
  }
  return {};
}

String datePattern(const std::string& locale, UDateFormatStyle date, UDateFormatStyle time) {
  UErrorCode status = U_ZERO_ERROR;
  UDateFormat* format = udat_open(time, date, locale.c_str(), nullptr, 0, nullptr, 0, &status);
  if (U_FAILURE(status)) return {};
  String icu = text(
      [&](UChar* b, int32_t n, UErrorCode* s) { return udat_toPattern(format, false, b, n, s); });
  udat_close(format);
  return windowsPattern(icu);
}

String skeletonPattern(const std::string& locale, const char16_t* skeleton) {
  UErrorCode status = U_ZERO_ERROR;
  UDateTimePatternGenerator* generator = udatpg_open(locale.c_str(), &status);
  if (U_FAILURE(status)) return {};
  String icu = text([&](UChar* b, int32_t n, UErrorCode* s) {
    return udatpg_getBestPattern(generator, skeleton, -1, b, n, s);
  });
  udatpg_close(generator);
  return windowsPattern(icu);
}

String currencyCode(const std::string& locale) {
  return text(
      [&](UChar* b, int32_t n, UErrorCode* s) { return ucurr_forLocale(locale.c_str(), b, n, s); });
}

String currencyName(const std::string& locale, const std::string& in) {
  const String code = currencyCode(locale);
  if (code.empty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  UBool isChoice = false;
  int32_t length = 0;
  const UChar* name =
      ucurr_getName(code.c_str(), in.c_str(), UCURR_LONG_NAME, &isChoice, &length, &status);
  if (U_FAILURE(status)) return {};
  return String(name, static_cast<size_t>(length));
}

int32_t currencyDigits(const std::string& locale) {
  const String code = currencyCode(locale);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t digits = code.empty() ? 2 : ucurr_getDefaultFractionDigits(code.c_str(), &status);
  return U_FAILURE(status) ? 2 : digits;
}

bool usesMetric(const std::string& locale) {
  UErrorCode status = U_ZERO_ERROR;
  return ulocdata_getMeasurementSystem(locale.c_str(), &status) != UMS_US || U_FAILURE(status);
}

bool usesLetterPaper(const std::string& locale) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t height = 0, width = 0;
  ulocdata_getPaperSize(locale.c_str(), &height, &width, &status);
  return U_SUCCESS(status) && height == 279;
}

int32_t minimalDaysInFirstWeek(const std::string& locale) {
  UErrorCode status = U_ZERO_ERROR;
  UCalendar* calendar = ucal_open(nullptr, 0, locale.c_str(), UCAL_GREGORIAN, &status);
  if (U_FAILURE(status)) return 1;
  const int32_t days = ucal_getAttribute(calendar, UCAL_MINIMAL_DAYS_IN_FIRST_WEEK);
  ucal_close(calendar);
  return days;
}

}  // namespace zv::platform::icu
