#include "convert.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "errors.h"
#include "object.h"
#include "vbdate.h"
#include "vblocale.h"

namespace zv {

namespace {

String fromAscii(const char* text) {
  String out;
  for (; *text; ++text)
    out += static_cast<char16_t>(*text);
  return out;
}

// printf's %G output in VB's shape: the locale's decimal separator, no "-0".
String formatSignificant(double value, int digits, StringView decimal) {
  if (value == 0) return u"0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
  String text = fromAscii(buffer);
  size_t point = text.find(u'.');
  if (point != String::npos) text.replace(point, 1, decimal);
  return text;
}

[[noreturn]] void typeMismatch() {
  raise(err::kTypeMismatch);
}

// The Double value of any numeric-like Variant (Empty is 0, Boolean is -1/0).
double numericValue(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return 0;
    case VarType::Null:
      raise(err::kInvalidUseOfNull);
    case VarType::Integer:
      return v.integerValue();
    case VarType::Long:
      return v.longValue();
    case VarType::Byte:
      return v.byteValue();
    case VarType::Single:
      return v.singleValue();
    case VarType::Double:
      return v.doubleValue();
    case VarType::Currency:
      return static_cast<double>(v.currencyValue().units) / Currency::kScale;
    case VarType::Date:
      return v.dateValue().days;
    case VarType::Boolean:
      return v.booleanValue() ? -1 : 0;
    case VarType::String:
      return doubleFromText(v.stringValue(), *userLocale());
    default:
      typeMismatch();
  }
}

template <class T>
T roundedInRange(double value) {
  double rounded = roundHalfEven(value);
  if (!(rounded >= std::numeric_limits<T>::min() && rounded <= std::numeric_limits<T>::max()))
    raise(err::kOverflow);
  return static_cast<T>(rounded);
}

}  // namespace

String decimalSeparator() {
  return userLocale()->decimal;
}

double roundHalfEven(double value) {
  // nearbyint rounds in the current mode, which is to-nearest-even unless changed.
  return std::nearbyint(value);
}

String longToString(int64_t value) {
  return fromAscii(std::to_string(value).c_str());
}

String booleanToString(bool value) {
  return value ? u"True" : u"False";
}

String doubleToString(double value) {
  return doubleToString(value, userLocale()->decimal);
}

String doubleToString(double value, StringView decimal) {
  return formatSignificant(value, 15, decimal);
}

String singleToString(float value) {
  return formatSignificant(value, 7, userLocale()->decimal);
}

String currencyToString(Currency value) {
  return currencyToString(value, userLocale()->decimal);
}

String currencyToString(Currency value, StringView decimal) {
  int64_t units = value.units;
  bool negative = units < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  String text = longToString(static_cast<int64_t>(magnitude / Currency::kScale));
  uint64_t fraction = magnitude % Currency::kScale;
  if (fraction != 0) {
    String digits = longToString(static_cast<int64_t>(fraction + Currency::kScale)).substr(1);
    while (digits.back() == u'0')
      digits.pop_back();
    text += String(decimal) + digits;
  }
  return negative ? u"-" + text : text;
}

String dateToString(Date value) {
  return dateToLocaleString(value, *userLocale());
}

namespace {

// A number read from text: its sign and its magnitude as plain ASCII decimal ("1234.5E-3").
struct NumberText {
  bool negative = false;
  std::string ascii;
};

std::optional<NumberText> readNumberText(StringView text, const LocaleSettings& locale) {
  StringView t = trimView(text);
  if (t.empty()) return std::nullopt;
  if (t.size() > 2 && t[0] == u'&') {
    int base = (t[1] == u'H' || t[1] == u'h') ? 16 : (t[1] == u'O' || t[1] == u'o') ? 8 : 0;
    if (base == 0) return std::nullopt;
    uint64_t value = 0;
    for (char16_t c : t.substr(2)) {
      int digit = (c >= u'0' && c <= u'9')   ? c - u'0'
                  : (c >= u'a' && c <= u'f') ? c - u'a' + 10
                  : (c >= u'A' && c <= u'F') ? c - u'A' + 10
                                             : 99;
      if (digit >= base || value > 0xFFFFFFFFull) return std::nullopt;
      value = value * base + digit;
    }
    if (value > 0xFFFFFFFFull) return std::nullopt;
    // Up to four hex digits read as a 16-bit value, up to eight as a 32-bit one.
    const int64_t number = (value <= 0xFFFF && t.size() - 2 <= (base == 16 ? 4u : 6u))
                               ? static_cast<int16_t>(value)
                               : static_cast<int32_t>(static_cast<uint32_t>(value));
    return NumberText{number < 0, std::to_string(number < 0 ? -number : number)};
  }
  // The decimal separators are the locale's and its monetary one; the group separators
  // likewise, each skipped anywhere after the first digit ("1,,2" is 12, "1.5," is 1.5).
  std::vector<StringView> points{locale.decimal}, groups;
  if (!locale.monetaryDecimal.empty() && locale.monetaryDecimal != locale.decimal)
    points.push_back(locale.monetaryDecimal);
  for (const String* g : {&locale.thousand, &locale.monetaryThousand})
    if (!g->empty() && std::find(points.begin(), points.end(), StringView(*g)) == points.end())
      groups.push_back(*g);
  if (groups.empty()) groups.push_back(locale.decimal == u"," ? u"." : u",");
  const bool blankGroups = std::find(groups.begin(), groups.end(), u"\u00A0") != groups.end();
  auto lengthOf = [&](size_t at, const std::vector<StringView>& list) -> size_t {
    for (StringView s : list)
      if (t.substr(at, s.size()) == s) return s.size();
    return 0;
  };
  bool negative = false, signSeen = false, parenthesis = false, currencySeen = false;
  auto skipBlanks = [&](size_t& at) {
    while (at < t.size() && (t[at] == u' ' || t[at] == u'\u00A0'))
      ++at;
  };
  auto takeCurrency = [&](size_t& at) {
    const String& c = locale.currency;
    if (currencySeen || c.empty() || t.substr(at, c.size()) != c) return false;
    currencySeen = true;
    at += c.size();
    skipBlanks(at);
    return true;
  };
  // A sign, or a parenthesis for a negative (also after a sign).
  auto takeSign = [&](size_t& at) {
    if (at >= t.size() || parenthesis) return false;
    if (!signSeen && (t[at] == u'+' || t[at] == u'-')) {
      negative = t[at] == u'-';
    } else if (t[at] == u'(') {
      parenthesis = negative = true;
    } else {
      return false;
    }
    signSeen = true;
    ++at;
    skipBlanks(at);
    return true;
  };
  std::string ascii;
  size_t i = 0;
  while (takeCurrency(i) || takeSign(i)) {
  }
  bool digits = false, point = false, monetary = false;
  while (i < t.size()) {
    size_t n = 0;
    if (t[i] >= u'0' && t[i] <= u'9') {
      ascii += static_cast<char>(t[i++]);
      digits = true;
    } else if (digits && ((n = lengthOf(i, groups)) > 0 || (blankGroups && t[i] == u' '))) {
      i += n > 0 ? n : 1;
    } else if (!point && (n = lengthOf(i, points)) > 0) {
      ascii += '.';
      point = true;
      // A number written with the monetary point takes no exponent.
      monetary = t.substr(i, n) != StringView(locale.decimal);
      i += n;
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  if (i < t.size() && !monetary && (t[i] == u'E' || t[i] == u'e' || t[i] == u'D' || t[i] == u'd')) {
    ascii += 'E';
    ++i;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ascii += static_cast<char>(t[i++]);
    bool exponentDigits = false;
    for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
      ascii += static_cast<char>(t[i]);
      exponentDigits = true;
    }
    if (!exponentDigits) return std::nullopt;
  }
  skipBlanks(i);
  takeCurrency(i);
  if (parenthesis) {
    if (i >= t.size() || t[i] != u')') return std::nullopt;
    ++i;
    skipBlanks(i);
  } else if (i < t.size() && !signSeen && (t[i] == u'+' || t[i] == u'-')) {
    negative = t[i++] == u'-';
    skipBlanks(i);
  }
  takeCurrency(i);
  if (i != t.size()) return std::nullopt;
  return NumberText{negative, std::move(ascii)};
}

// The exact number of ten-thousandths `n` stands for, halves to even; nullopt beyond the
// Currency range.
std::optional<int64_t> currencyUnits(const NumberText& n) {
  std::string digits;
  int64_t point = -1;  // digits before the decimal point
  size_t at = 0;
  for (; at < n.ascii.size() && n.ascii[at] != 'E'; ++at) {
    if (n.ascii[at] == '.')
      point = static_cast<int64_t>(digits.size());
    else
      digits += n.ascii[at];
  }
  if (point < 0) point = static_cast<int64_t>(digits.size());
  // Exponents beyond the Currency range only need their sign and size to stay in bounds.
  if (at < n.ascii.size())
    point +=
        std::clamp<long long>(std::strtoll(n.ascii.c_str() + at + 1, nullptr, 10), -1000, 1000);
  point += 4;  // ten-thousandths
  // Magnitudes up to 2^63 (the most negative Currency) fit; anything larger overflows.
  constexpr uint64_t kLimit = uint64_t{1} << 63;
  uint64_t units = 0;
  auto push = [&](int digit) {
    if (units > (kLimit - digit) / 10) return false;
    units = units * 10 + digit;
    return true;
  };
  for (int64_t k = 0; k < point; ++k)
    if (!push(k < static_cast<int64_t>(digits.size()) ? digits[k] - '0' : 0)) return std::nullopt;
  const size_t first = point < 0 ? 0 : static_cast<size_t>(point);
  if (first < digits.size()) {
    const bool beyondHalf = digits.find_first_not_of('0', first + 1) != std::string::npos;
    const char dropped = point < 0 ? '0' : digits[first];
    if ((dropped > '5' || (dropped == '5' && (beyondHalf || units % 2 != 0))) && ++units > kLimit)
      return std::nullopt;
  }
  if (!n.negative && units == kLimit) return std::nullopt;
  return n.negative ? static_cast<int64_t>(0 - units) : static_cast<int64_t>(units);
}

}  // namespace

std::optional<double> parseNumber(StringView text) {
  return parseNumber(text, *userLocale());
}

std::optional<double> parseNumber(StringView text, const LocaleSettings& locale) {
  const std::optional<NumberText> n = readNumberText(text, locale);
  if (!n) return std::nullopt;
  const double value = std::strtod(n->ascii.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return n->negative ? -value : value;
}

std::optional<Decimal> parseDecimal(StringView text, const LocaleSettings& locale) {
  const std::optional<NumberText> n = readNumberText(text, locale);
  if (!n) return std::nullopt;
  return Decimal::fromAscii(n->ascii, n->negative);
}

double doubleFromText(StringView text, const LocaleSettings& locale) {
  const std::optional<NumberText> n = readNumberText(text, locale);
  if (!n) typeMismatch();
  const double value = std::strtod(n->ascii.c_str(), nullptr);
  if (!std::isfinite(value)) raise(err::kOverflow);
  return n->negative ? -value : value;
}

Currency currencyFromText(StringView text, const LocaleSettings& locale) {
  // Read digit by digit, not through a Double: "0.00015" is 2 units, as VB has it.
  const std::optional<NumberText> n = readNumberText(text, locale);
  if (!n) typeMismatch();
  const std::optional<int64_t> units = currencyUnits(*n);
  if (!units) raise(err::kOverflow);
  return Currency{*units};
}

bool isNumeric(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Boolean:
      return true;
    case VarType::String:
      return parseNumber(v.stringValue()).has_value();
    default:
      return false;
  }
}

bool isDate(const Variant& v) {
  if (v.type() == VarType::Date) return true;
  return v.isString() && parseDate(v.stringValue(), *userLocale()).has_value();
}

double val(StringView text) {
  String s;
  for (char16_t c : text)
    if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r') s += c;
  if (s.size() >= 2 && s[0] == u'&') {
    size_t end = 2;
    while (end < s.size() &&
           ((s[end] >= u'0' && s[end] <= u'9') ||
            ((s[1] == u'H' || s[1] == u'h') &&
             ((s[end] >= u'a' && s[end] <= u'f') || (s[end] >= u'A' && s[end] <= u'F')))))
      ++end;
    if (end == 2) return 0;
    String prefix = s.substr(0, end);
    std::optional<double> n = parseNumber(prefix);
    return n ? *n : 0;
  }
  std::string ascii;
  size_t i = 0;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ascii += static_cast<char>(s[i++]);
  size_t mantissaStart = ascii.size();
  for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i)
    ascii += static_cast<char>(s[i]);
  if (i < s.size() && s[i] == u'.') {
    ascii += '.';
    for (++i; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i)
      ascii += static_cast<char>(s[i]);
  }
  if (ascii.size() == mantissaStart || ascii.substr(mantissaStart) == ".") return 0;
  if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
    std::string exponent = "E";
    size_t j = i + 1;
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) exponent += static_cast<char>(s[j++]);
    size_t digitsStart = exponent.size();
    for (; j < s.size() && s[j] >= u'0' && s[j] <= u'9'; ++j)
      exponent += static_cast<char>(s[j]);
    if (exponent.size() > digitsStart) ascii += exponent;
  }
  double value = std::strtod(ascii.c_str(), nullptr);
  if (!std::isfinite(value)) raise(err::kOverflow);
  return value;
}

String toString(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return {};
    case VarType::Null:
      raise(err::kInvalidUseOfNull);
    case VarType::Integer:
      return longToString(v.integerValue());
    case VarType::Long:
      return longToString(v.longValue());
    case VarType::Byte:
      return longToString(v.byteValue());
    case VarType::Single:
      return singleToString(v.singleValue());
    case VarType::Double:
      return doubleToString(v.doubleValue());
    case VarType::Currency:
      return currencyToString(v.currencyValue());
    case VarType::Date:
      return dateToString(v.dateValue());
    case VarType::String:
      return v.stringValue();
    case VarType::Boolean:
      return booleanToString(v.booleanValue());
    default:
      typeMismatch();
  }
}

bool toBoolean(const Variant& v) {
  if (v.type() == VarType::Boolean) return v.booleanValue();
  if (v.isString()) {
    StringView t = trimView(v.stringValue());
    if (equalsNoCase(t, u"True")) return true;
    if (equalsNoCase(t, u"False")) return false;
  }
  return numericValue(v) != 0;
}

uint8_t toByte(const Variant& v) {
  return roundedInRange<uint8_t>(numericValue(v));
}

int16_t toInteger(const Variant& v) {
  if (v.type() == VarType::Integer) return v.integerValue();
  return roundedInRange<int16_t>(numericValue(v));
}

int32_t toLong(const Variant& v) {
  if (v.type() == VarType::Long) return v.longValue();
  return roundedInRange<int32_t>(numericValue(v));
}

float toSingle(const Variant& v) {
  double value = numericValue(v);
  if (std::fabs(value) > std::numeric_limits<float>::max()) raise(err::kOverflow);
  return static_cast<float>(value);
}

double toDouble(const Variant& v) {
  return numericValue(v);
}

Currency toCurrency(const Variant& v) {
  if (v.type() == VarType::Currency) return v.currencyValue();
  if (v.isString()) return currencyFromText(v.stringValue(), *userLocale());
  const double value = numericValue(v);
  double scaled = value * Currency::kScale;
  // The product may round to an exact half that the value itself is not: the product's
  // error decides the side (CCur(0.00015) is 0.0001, as 0.00015 is just below it).
  if (scaled - std::floor(scaled) == 0.5) {
    const double error = std::fma(value, Currency::kScale, -scaled);
    scaled = error > 0 ? std::ceil(scaled) : error < 0 ? std::floor(scaled) : roundHalfEven(scaled);
  } else {
    scaled = roundHalfEven(scaled);
  }
  if (!(scaled >= -9.2233720368547758e18 && scaled < 9.2233720368547758e18)) raise(err::kOverflow);
  return Currency{static_cast<int64_t>(scaled)};
}

Date toDate(const Variant& v) {
  if (v.type() == VarType::Date) return v.dateValue();
  if (v.isString()) {
    if (auto date = parseDate(v.stringValue(), *userLocale())) return *date;
    typeMismatch();
  }
  return Date{numericValue(v)};
}

ObjectRef toObject(const Variant& v) {
  if (v.isObject()) return v.objectValue();
  if (v.isEmpty()) return nullptr;
  typeMismatch();
}

}  // namespace zv
