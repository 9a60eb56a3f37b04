#include "platform/locale.h"
#include "frame/varnix.h"
#include "runtime/trap.h"
#include "system/SystemLib.h"

namespace zv::impl {

namespace lc = platform::lctype;

String SystemLib::GetALocaleInfo(int32_t theLCID, int32_t& theLCType) {
  // The platform fills a buffer sized by a first query and ends the item with a NUL.
  const String item = platform::localeInfoAnsi(theLCID, theLCType);
  if (item.empty()) return {};
  return CutAtNullCharOrTrim(item + u'\0');
}

String SystemLib::item(int32_t theLCID, int32_t type) {
  return GetALocaleInfo(theLCID, type);
}

String SystemLib::GetLocaleIdLanguage(int32_t theLCID) {
  return item(theLCID, lc::kLanguageId);
}
String SystemLib::GetLocaleLanguage(int32_t theLCID) {
  return item(theLCID, lc::kLanguage);
}
String SystemLib::GetLocaleDecimal(int32_t theLCID) {
  return item(theLCID, lc::kDecimal);
}
String SystemLib::GetLocaleCountry(int32_t theLCID) {
  return item(theLCID, lc::kCountry);
}
String SystemLib::GetLocaleThousand(int32_t theLCID) {
  return item(theLCID, lc::kThousand);
}
String SystemLib::GetLocaleCurrency(int32_t theLCID) {
  return item(theLCID, lc::kCurrency);
}
String SystemLib::GetLocaleTimeFormat(int32_t theLCID) {
  return item(theLCID, lc::kTimeFormat);
}
String SystemLib::GetLocaleShortDate(int32_t theLCID) {
  return item(theLCID, lc::kShortDate);
}
String SystemLib::GetLocaleSeparatorDate(int32_t theLCID) {
  return item(theLCID, lc::kDateSeparator);
}
String SystemLib::GetLocaleSeparatorTime(int32_t theLCID) {
  return item(theLCID, lc::kTimeSeparator);
}
String SystemLib::GetLocaleLongDate(int32_t theLCID) {
  return item(theLCID, lc::kLongDate);
}
String SystemLib::GetLocaleAbbrevCountryName(int32_t theLCID) {
  return item(theLCID, lc::kAbbrevCountry);
}

String SystemLib::GetTheLocaleInfo(int32_t theLCID) {
  // Each line is a step of its own: a failing one is skipped and the summary goes on.
  String result;
  auto line = [&](const char16_t* label, auto value) {
    resumeNext([&] { result += label + value() + u"\r\n"; });
  };
  line(u"Locale ID: ", [&] { return GetLocaleIdLanguage(theLCID); });
  // The parentheses hold the country's three-letter abbreviation (docs/decisions.md).
  line(u"Country: ", [&] {
    return GetLocaleCountry(theLCID) + u" (" + GetLocaleAbbrevCountryName(theLCID) + u")";
  });
  line(u"Language: ", [&] { return GetLocaleLanguage(theLCID) + u"\r\n"; });
  line(u"Decimal: ", [&] { return GetLocaleDecimal(theLCID); });
  line(u"Thousands: ", [&] { return GetLocaleThousand(theLCID); });
  line(u"Currency: ", [&] { return GetLocaleCurrency(theLCID); });
  line(u"Time Format: ", [&] { return GetLocaleTimeFormat(theLCID); });
  line(u"Short Date: ", [&] { return GetLocaleShortDate(theLCID); });
  line(u"Long Date: ", [&] { return GetLocaleLongDate(theLCID); });
  clearPendingError();
  return result;
}

}  // namespace zv::impl
