#include "convert.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <mutex>

#include "errors.h"
#include "object.h"

namespace zv {

namespace {

std::mutex gSeparatorMutex;
String gDecimalSeparator = u".";

String fromAscii(const char* text) {
  String out;
  for (; *text; ++text) out += static_cast<char16_t>(*text);
  return out;
}

// printf's %G output in VB's shape: the locale's decimal separator, no "-0".
String formatSignificant(double value, int digits) {
  if (value == 0) return u"0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
  String text = fromAscii(buffer);
  size_t point = text.find(u'.');
  if (point != String::npos) text.replace(point, 1, decimalSeparator());
  return text;
}

[[noreturn]] void typeMismatch() { raise(err::kTypeMismatch); }

double numberFromText(const String& text) {
  if (auto number = parseNumber(text)) return *number;
  typeMismatch();
}

// The Double value of any numeric-like Variant (Empty is 0, Boolean is -1/0).
double numericValue(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return 0;
    case VarType::Null: raise(err::kInvalidUseOfNull);
    case VarType::Integer: return v.integerValue();
    case VarType::Long: return v.longValue();
    case VarType::Byte: return v.byteValue();
    case VarType::Single: return v.singleValue();
    case VarType::Double: return v.doubleValue();
    case VarType::Currency:
      return static_cast<double>(v.currencyValue().units) / Currency::kScale;
    case VarType::Date: return v.dateValue().days;
    case VarType::Boolean: return v.booleanValue() ? -1 : 0;
    case VarType::String: return numberFromText(v.stringValue());
    default: typeMismatch();
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
  std::lock_guard lock(gSeparatorMutex);
  return gDecimalSeparator;
}

void setDecimalSeparator(String separator) {
  std::lock_guard lock(gSeparatorMutex);
  gDecimalSeparator = std::move(separator);
}

double roundHalfEven(double value) {
  // nearbyint rounds in the current mode, which is to-nearest-even unless changed.
  return std::nearbyint(value);
}

String longToString(int64_t value) { return fromAscii(std::to_string(value).c_str()); }

String booleanToString(bool value) { return value ? u"True" : u"False"; }

String doubleToString(double value) { return formatSignificant(value, 15); }

String singleToString(float value) { return formatSignificant(value, 7); }

String currencyToString(Currency value) {
  int64_t units = value.units;
  bool negative = units < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  String text = longToString(static_cast<int64_t>(magnitude / Currency::kScale));
  uint64_t fraction = magnitude % Currency::kScale;
  if (fraction != 0) {
    String digits = longToString(static_cast<int64_t>(fraction + Currency::kScale)).substr(1);
    while (digits.back() == u'0') digits.pop_back();
    text += decimalSeparator() + digits;
  }
  return negative ? u"-" + text : text;
}

String dateToString(Date value) {
  // Days from 1899-12-30 to a civil date (proleptic Gregorian), then US short forms.
  double fraction = std::fabs(value.days - std::trunc(value.days));
  int64_t seconds = static_cast<int64_t>(std::llround(fraction * 86400.0));
  if (seconds == 86400) seconds = 0;
  // 1899-12-30 is day 693899 of the civil-from-days era count (0000-03-01 based).
  int64_t z = static_cast<int64_t>(std::trunc(value.days)) + 693899;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t y = yoe + era * 400;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int64_t d = doy - (153 * mp + 2) / 5 + 1;
  int64_t m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  String date = longToString(m) + u"/" + longToString(d) + u"/" + longToString(y);
  int64_t h = seconds / 3600, n = seconds / 60 % 60, s = seconds % 60;
  auto two = [](int64_t x) { return (x < 10 ? u"0" : u"") + longToString(x); };
  String time = longToString(h % 12 == 0 ? 12 : h % 12) + u":" + two(n) + u":" + two(s) +
                (h < 12 ? u" AM" : u" PM");
  if (std::trunc(value.days) == 0) return time;
  return seconds == 0 ? date : date + u" " + time;
}

std::optional<double> parseNumber(StringView text) {
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
    if (value <= 0xFFFF && t.size() - 2 <= (base == 16 ? 4u : 6u))
      return static_cast<double>(static_cast<int16_t>(value));
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
  }
  const String separator = decimalSeparator();
  const char16_t group = separator == u"," ? u'.' : u',';
  std::string ascii;
  size_t i = 0;
  if (t[i] == u'+' || t[i] == u'-') ascii += static_cast<char>(t[i++]);
  bool digits = false;
  for (; i < t.size(); ++i) {
    if (t[i] >= u'0' && t[i] <= u'9') {
      ascii += static_cast<char>(t[i]);
      digits = true;
    } else if (t[i] == group && digits && i + 1 < t.size() && t[i + 1] >= u'0' && t[i + 1] <= u'9') {
      continue;
    } else {
      break;
    }
  }
  if (i < t.size() && t.substr(i, separator.size()) == separator) {
    ascii += '.';
    for (i += separator.size(); i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
      ascii += static_cast<char>(t[i]);
      digits = true;
    }
  }
  if (!digits) return std::nullopt;
  if (i < t.size() && (t[i] == u'E' || t[i] == u'e' || t[i] == u'D' || t[i] == u'd')) {
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
  if (i != t.size()) return std::nullopt;
  double value = std::strtod(ascii.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

double val(StringView text) {
  String s;
  for (char16_t c : text)
    if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r') s += c;
  if (s.size() >= 2 && s[0] == u'&') {
    size_t end = 2;
    while (end < s.size() && ((s[end] >= u'0' && s[end] <= u'9') ||
                              ((s[1] == u'H' || s[1] == u'h') &&
                               ((s[end] >= u'a' && s[end] <= u'f') ||
                                (s[end] >= u'A' && s[end] <= u'F')))))
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
  for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) ascii += static_cast<char>(s[i]);
  if (i < s.size() && s[i] == u'.') {
    ascii += '.';
    for (++i; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) ascii += static_cast<char>(s[i]);
  }
  if (ascii.size() == mantissaStart || ascii.substr(mantissaStart) == ".") return 0;
  if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
    std::string exponent = "E";
    size_t j = i + 1;
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) exponent += static_cast<char>(s[j++]);
    size_t digitsStart = exponent.size();
    for (; j < s.size() && s[j] >= u'0' && s[j] <= u'9'; ++j) exponent += static_cast<char>(s[j]);
    if (exponent.size() > digitsStart) ascii += exponent;
  }
  double value = std::strtod(ascii.c_str(), nullptr);
  if (!std::isfinite(value)) raise(err::kOverflow);
  return value;
}

String toString(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return {};
    case VarType::Null: raise(err::kInvalidUseOfNull);
    case VarType::Integer: return longToString(v.integerValue());
    case VarType::Long: return longToString(v.longValue());
    case VarType::Byte: return longToString(v.byteValue());
    case VarType::Single: return singleToString(v.singleValue());
    case VarType::Double: return doubleToString(v.doubleValue());
    case VarType::Currency: return currencyToString(v.currencyValue());
    case VarType::Date: return dateToString(v.dateValue());
    case VarType::String: return v.stringValue();
    case VarType::Boolean: return booleanToString(v.booleanValue());
    default: typeMismatch();
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

uint8_t toByte(const Variant& v) { return roundedInRange<uint8_t>(numericValue(v)); }

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

double toDouble(const Variant& v) { return numericValue(v); }

Currency toCurrency(const Variant& v) {
  if (v.type() == VarType::Currency) return v.currencyValue();
  double scaled = roundHalfEven(numericValue(v) * Currency::kScale);
  if (!(scaled >= -9.2233720368547758e18 && scaled < 9.2233720368547758e18)) raise(err::kOverflow);
  return Currency{static_cast<int64_t>(scaled)};
}

Date toDate(const Variant& v) {
  if (v.type() == VarType::Date) return v.dateValue();
  if (v.isString()) typeMismatch();
  return Date{numericValue(v)};
}

ObjectRef toObject(const Variant& v) {
  if (v.isObject()) return v.objectValue();
  if (v.isEmpty()) return nullptr;
  typeMismatch();
}

}  // namespace zv
