// Every conversion goes through ChangeToDecimal, which rewrites whichever decimal mark the
// text holds into the locale's.
#include "api/SystemLib.h"
#include "frame/traps.h"
#include "runtime/convert.h"
#include "runtime/format.h"
#include "text/MoneyLib.h"

namespace zv::impl {

namespace {

// Groups of three separated by blanks, two decimals; unused groups leave leading blanks.
constexpr StringView kDefaultPattern = u"# ### ### ### ### ##0.00";

String withoutBlanks(StringView text) {
  return replaceAll(text, u" ", u"");
}

}  // namespace

const String& MoneyLib::localeDecimal() {
  if (!decimal_) decimal_ = zv::SystemLib::create()->GetLocaleDecimal(0);
  return *decimal_;
}

String MoneyLib::ChangeToDecimal(const String& theText) {
  String s = trim(theText);
  if (s.empty()) return s;
  reportAndReturn(
      [&] {
        const String& decimal = localeDecimal();
        // A point wins: with both marks, the commas stay ("1.234,56" gives "1,234,56").
        if (instr(s, u".") > 0)
          s = replaceAll(s, u".", decimal);
        else if (instr(s, u",") > 0)
          s = replaceAll(s, u",", decimal);
      },
      [&] { return u"Error on change to System Decimal: " + theText; });
  return s;
}

Currency MoneyLib::GetCurrency(const String& theAmount) {
  Currency result{};
  reportAndReturn(
      [&] {
        const String s =
            trim(ChangeToDecimal(withoutBlanks(isBlank(theAmount) ? u"0" : theAmount)));
        if (!s.empty() && isNumeric(Variant(s))) result = toCurrency(Variant(s));
      },
      [&] { return u"Error on currency conversion: " + theAmount; });
  return result;
}

double MoneyLib::GetDouble(const String& theAmount) {
  double result = 0;
  reportAndReturn(
      [&] {
        // Text that is no number fails here and leaves 0.
        const String s = trim(ChangeToDecimal(withoutBlanks(theAmount)));
        if (!s.empty()) result = toDouble(Variant(s));
      },
      [&] { return u"Error on numeric (double) conversion: " + theAmount; });
  return result;
}

String MoneyLib::GetCurrencyFormat(Currency theAmount, const String& theFormat) {
  String result;
  reportAndReturn(
      [&] {
        const StringView pattern = isBlank(theFormat) ? kDefaultPattern : StringView(theFormat);
        result = trim(ChangeToDecimal(format(Variant(theAmount), pattern)));
      },
      [&] { return u"Error on currency format: " + theFormat; });
  return result;
}

String MoneyLib::GetDoubleFormat(double theAmount, const String& theFormat) {
  String result;
  reportAndReturn([&] { result = trim(ChangeToDecimal(format(Variant(theAmount), theFormat))); },
                  [&] { return u"Error on amount format: " + theFormat; });
  return result;
}

String MoneyLib::FormatCurrencyString(const String& theAmount, const String& theFormat) {
  String result;
  reportAndReturn([&] { result = GetCurrencyFormat(GetCurrency(theAmount), theFormat); },
                  [&] { return u"Error on format the amount: " + theAmount; });
  return result;
}

String MoneyLib::FormatDoubleString(const String& theValue, const String& theFormat) {
  String result;
  reportAndReturn(
      [&] { result = trim(ChangeToDecimal(format(Variant(GetDouble(theValue)), theFormat))); },
      [&] { return u"Error on format the value: " + theValue; });
  return result;
}

}  // namespace zv::impl
