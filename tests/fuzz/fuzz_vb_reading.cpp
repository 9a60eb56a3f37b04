// libFuzzer target over the runtime's reading of numbers and dates from text (CDbl, CCur,
// CDate, Val, IsNumeric, IsDate) under the US English and French locales, and over Format
// of the text and of what was read. Beyond no crash: what CStr writes of a number or a
// date reads back and writes the same text again, a Currency reads back exactly,
// IsNumeric and IsDate agree with the readers, and Format's "General Number" and
// "General Date" read back as a number and a date.
//
// Input: byte 0 picks the locale (bit 0) and one of the patterns below (the other bits);
// the rest is UTF-8 text, and after a byte 0xFE a Format pattern of the input's own.
#include <cmath>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>

#include "fuzz_support.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/format.h"
#include "runtime/vbdate.h"

namespace {

using zv::String;
using zv::fuzz::attempt;
using zv::fuzz::check;

// clang-format off
constexpr const char16_t* kPatterns[] = {
    u"General Number", u"Currency", u"Fixed", u"Standard", u"Percent", u"Scientific", u"Yes/No",
    u"True/False", u"On/Off", u"General Date", u"Long Date", u"Medium Date", u"Short Date",
    u"Long Time", u"Medium Time", u"Short Time", u"#,##0.00;(#,##0.00);\"zero\";\"null\"",
    u"0.###E+00", u"000%", u"\\$#,##0.0000", u"dddd d mmmm yyyy hh:nn:ss AM/PM",
    u"yy-m-d h:n:s a/p", u"ww w q y c", u"@@@-&&&!", u">@<@", u"ttttt"};
// clang-format on

const zv::LocaleSettings& localeOf(int index) {
  static const zv::LocaleSettings locales[] = {zv::readLocaleSettings(1033),
                                               zv::readLocaleSettings(1036)};
  return locales[index];
}

void checkNumber(const String& text, const zv::LocaleSettings& locale, bool userLocale) {
  const std::optional<double> number = zv::parseNumber(text, locale);
  if (userLocale) check(zv::isNumeric(zv::Variant(text)) == number.has_value());
  if (number && std::isfinite(*number)) {
    const String written = zv::doubleToString(*number, locale.decimal);
    const std::optional<double> again = zv::parseNumber(written, locale);
    check(again && zv::doubleToString(*again, locale.decimal) == written);
    const String general = zv::format(zv::Variant(*number), u"General Number", locale);
    check(zv::parseNumber(general, locale).has_value());
  }
  attempt([&] {
    const zv::Currency amount = zv::currencyFromText(text, locale);
    check(zv::currencyFromText(zv::currencyToString(amount, locale.decimal), locale) == amount);
  });
  attempt([&] { zv::doubleFromText(text, locale); });
  zv::parseDecimal(text, locale);
  attempt([&] { zv::val(text); });
}

void checkDate(const String& text, const zv::LocaleSettings& locale, bool userLocale) {
  const std::optional<zv::Date> date = zv::parseDate(text, locale);
  if (userLocale) check(zv::isDate(zv::Variant(text)) == date.has_value());
  if (!date) return;
  check(zv::isDateInRange(*date));
  const String written = zv::dateToLocaleString(*date, locale);
  const std::optional<zv::Date> again = zv::parseDate(written, locale);
  check(again && zv::dateToLocaleString(*again, locale) == written);
  const String general = zv::format(zv::Variant(*date), u"General Date", locale);
  check(zv::parseDate(general, locale).has_value());
}

void formatAll(const String& text, const String& pattern, const zv::LocaleSettings& locale) {
  attempt([&] { zv::format(zv::Variant(text), pattern, locale); });
  if (const auto number = zv::parseNumber(text, locale)) {
    attempt([&] { zv::format(zv::Variant(*number), pattern, locale); });
    attempt([&] { zv::format(zv::Variant(float(*number)), pattern, locale); });
  }
  if (const auto date = zv::parseDate(text, locale))
    attempt([&] { zv::format(zv::Variant(*date), pattern, locale); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t cut = rest.find('\xFE');
  const String text = zv::fromUtf8(rest.substr(0, cut));
  const int localeIndex = data[0] & 1;
  const zv::LocaleSettings& locale = localeOf(localeIndex);
  // The tests run under en_US: the Variant functions read with the first locale.
  const bool userLocale = localeIndex == 0;
  checkNumber(text, locale, userLocale);
  checkDate(text, locale, userLocale);
  formatAll(text, kPatterns[(data[0] >> 1) % std::size(kPatterns)], locale);
  if (cut != std::string_view::npos) formatAll(text, zv::fromUtf8(rest.substr(cut + 1)), locale);
  return 0;
}
