// The VB conversion functions (CStr, CBool, CInt, CLng, CDbl, ...) on Variants and text.
#pragma once

#include <cstdint>
#include <optional>

#include "decimal.h"
#include "text.h"
#include "variant.h"
#include "vblocale.h"

namespace zv {

// CStr: Empty is "", Boolean is "True"/"False", numbers in VB's shortest form with the
// locale's decimal separator; Null fails with error 94, objects and errors with 13.
String toString(const Variant& v);
bool toBoolean(const Variant& v);
uint8_t toByte(const Variant& v);
int16_t toInteger(const Variant& v);
int32_t toLong(const Variant& v);
float toSingle(const Variant& v);
double toDouble(const Variant& v);
Currency toCurrency(const Variant& v);
Date toDate(const Variant& v);
ObjectRef toObject(const Variant& v);

// Text of numbers as CStr writes them (15 significant digits for Double, 7 for Single).
String doubleToString(double value);
String doubleToString(double value, StringView decimal);
String singleToString(float value);
String currencyToString(Currency value);
String currencyToString(Currency value, StringView decimal);
String longToString(int64_t value);
String booleanToString(bool value);
String dateToString(Date value);

// Reads a whole number text as CDbl does under the user's locale: blanks around, a sign
// in front or behind or parentheses, the currency symbol, digits with the locale's
// thousands separator (a blank too where that is a no-break space), one decimal
// separator, an exponent, "&H"/"&O" prefixes; nullopt when the text is not a number.
std::optional<double> parseNumber(StringView text);
std::optional<double> parseNumber(StringView text, const LocaleSettings& locale);
// CDbl and CCur of text under a given locale: error 13 for no number, 6 beyond the range.
// Currency is read digit by digit, halves to even, never through a Double.
double doubleFromText(StringView text, const LocaleSettings& locale);
// Every digit of a number text under a locale, as Format reads it; nullopt when the text
// is no number.
std::optional<Decimal> parseDecimal(StringView text, const LocaleSettings& locale);
Currency currencyFromText(StringView text, const LocaleSettings& locale);

// Val: the leading number of `text` (blanks skipped, "." as decimal point), 0 when none.
double val(StringView text);

// Rounds half to even, as CInt, CLng and Currency do.
double roundHalfEven(double value);

// The decimal separator numbers are written and read with: the user's locale's.
String decimalSeparator();

// IsNumeric: numbers, Booleans, Empty, and text that reads as a number under the locale.
bool isNumeric(const Variant& v);
// IsDate: dates, and text that reads as a date under the locale.
bool isDate(const Variant& v);

// Conversion of a Variant to the C++ type of a parameter, as the dispatch tables need it.
template <class T>
T coerce(const Variant& v);
template <>
inline String coerce<String>(const Variant& v) {
  return toString(v);
}
template <>
inline bool coerce<bool>(const Variant& v) {
  return toBoolean(v);
}
template <>
inline uint8_t coerce<uint8_t>(const Variant& v) {
  return toByte(v);
}
template <>
inline int16_t coerce<int16_t>(const Variant& v) {
  return toInteger(v);
}
template <>
inline int32_t coerce<int32_t>(const Variant& v) {
  return toLong(v);
}
template <>
inline float coerce<float>(const Variant& v) {
  return toSingle(v);
}
template <>
inline double coerce<double>(const Variant& v) {
  return toDouble(v);
}
template <>
inline Currency coerce<Currency>(const Variant& v) {
  return toCurrency(v);
}
template <>
inline Date coerce<Date>(const Variant& v) {
  return toDate(v);
}
template <>
inline ObjectRef coerce<ObjectRef>(const Variant& v) {
  return toObject(v);
}
template <>
inline Variant coerce<Variant>(const Variant& v) {
  return v;
}

}  // namespace zv
