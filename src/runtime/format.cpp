#include "format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "convert.h"
#include "errors.h"
#include "vbdate.h"

namespace zv {

void roundedDigits(double value, int32_t decimals, std::string& integer, std::string& fraction) {
  integer.clear();
  fraction.assign(static_cast<size_t>(decimals), '0');
  value = std::fabs(value);
  if (value == 0 || !std::isfinite(value)) return;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  std::string mantissa;
  for (const char* p = buffer; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') mantissa += *p;
  const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
  // Digits of the value are mantissa[0..] with the point after exponent + 1 of them.
  const int keep = exponent + 1 + decimals;
  if (keep < 0) return;
  std::string digits = mantissa.substr(0, static_cast<size_t>(std::min<int>(keep, 15)));
  bool up = keep < 15 && mantissa[static_cast<size_t>(keep)] >= '5';
  digits.append(static_cast<size_t>(std::max(0, keep - 15)), '0');
  int pointAt = exponent + 1;  // digits before the point
  if (up) {
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0 && digits[static_cast<size_t>(i)] == '9'; --i)
      digits[static_cast<size_t>(i)] = '0';
    if (i >= 0) {
      ++digits[static_cast<size_t>(i)];
    } else {
      digits.insert(digits.begin(), '1');
      ++pointAt;
    }
  }
  // Place the point: pad with zeros in front when the value is below 1.
  if (pointAt < 0) {
    digits.insert(0, static_cast<size_t>(-pointAt), '0');
    pointAt = 0;
  }
  integer = digits.substr(0, static_cast<size_t>(pointAt));
  fraction = digits.substr(static_cast<size_t>(pointAt));
  fraction.resize(static_cast<size_t>(decimals), '0');
  size_t nonZero = integer.find_first_not_of('0');
  integer = nonZero == std::string::npos ? std::string() : integer.substr(nonZero);
}

namespace {

String ascii(const std::string& s) {
  return String(s.begin(), s.end());
}

String grouped(const std::string& integer, const String& separator) {
  String out;
  const size_t n = integer.size();
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += separator;
    out += static_cast<char16_t>(integer[i]);
  }
  return out;
}

// |value| with `decimals` fraction digits, grouped or not, at least one integer digit.
String plainNumber(double value, int32_t decimals, bool group, const LocaleSettings& locale) {
  std::string integer, fraction;
  roundedDigits(value, decimals, integer, fraction);
  if (integer.empty()) integer.assign(1, '0');
  String text = group ? grouped(integer, locale.thousand) : ascii(integer);
  if (decimals > 0) {
    text += locale.decimal;
    text += ascii(fraction);
  }
  return text;
}

String currencyText(double value, int32_t digits, const LocaleSettings& locale) {
  const int32_t decimals = digits < 0 ? locale.currencyDigits : digits;
  std::string integer, fraction;
  roundedDigits(value, decimals, integer, fraction);
  const String n = plainNumber(value, decimals, true, locale);
  const String& c = locale.currency;
  if (!(value < 0)) {
    switch (locale.positiveCurrency) {
      case 1:
        return n + c;
      case 2:
        return c + u" " + n;
      case 3:
        return n + u" " + c;
      default:
        return c + n;
    }
  }
  switch (locale.negativeCurrency) {
    case 1:
      return u"-" + c + n;
    case 2:
      return c + u"-" + n;
    case 3:
      return c + n + u"-";
    case 4:
      return u"(" + n + c + u")";
    case 5:
      return u"-" + n + c;
    case 6:
      return n + u"-" + c;
    case 7:
      return n + c + u"-";
    case 8:
      return u"-" + n + u" " + c;
    case 9:
      return u"-" + c + u" " + n;
    case 10:
      return n + u" " + c + u"-";
    case 11:
      return c + u" " + n + u"-";
    case 12:
      return c + u" -" + n;
    case 13:
      return n + u"- " + c;
    case 14:
      return u"(" + c + u" " + n + u")";
    case 15:
      return u"(" + n + u" " + c + u")";
    default:
      return u"(" + c + n + u")";
  }
}

// ---- User number patterns ----

struct NumberPattern {
  struct Item {
    enum Kind { Literal, Digit, Point, Exponent } kind;
    String text;  // literal text, or "0"/"#" for a digit
    bool integer = true;
  };
  std::vector<Item> items;
  bool group = false;
  int32_t scale = 0;  // thousands the value is divided by (commas before the point)
  bool percent = false;
  bool scientific = false;
  bool exponentSign = false;  // E+: always a sign; E-: only "-"
  int32_t exponentDigits = 0;
  int32_t fractionDigits = 0;
  int32_t integerDigits = 0;
};

NumberPattern parseNumberPattern(StringView s) {
  NumberPattern p;
  bool afterPoint = false, inExponent = false;
  auto literal = [&](String text) {
    if (!p.items.empty() && p.items.back().kind == NumberPattern::Item::Literal)
      p.items.back().text += text;
    else
      p.items.push_back({NumberPattern::Item::Literal, std::move(text)});
  };
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (c == u'"') {
      size_t end = s.find(u'"', i + 1);
      if (end == StringView::npos) end = s.size();
      literal(String(s.substr(i + 1, end - i - 1)));
      i = end;
    } else if (c == u'\\') {
      if (i + 1 < s.size()) literal(String(1, s[++i]));
    } else if (c == u'0' || c == u'#') {
      if (inExponent) {
        ++p.exponentDigits;
        continue;
      }
      p.items.push_back({NumberPattern::Item::Digit, String(1, c), !afterPoint});
      (afterPoint ? p.fractionDigits : p.integerDigits)++;
    } else if (c == u'.' && !afterPoint && !inExponent) {
      afterPoint = true;
      p.items.push_back({NumberPattern::Item::Point, {}});
    } else if (c == u',' && !afterPoint && !inExponent) {
      // Between digit placeholders: grouping; right after the last ones: scaling.
      size_t j = i + 1;
      while (j < s.size() && s[j] == u',')
        ++j;
      const bool digitNext = j < s.size() && (s[j] == u'0' || s[j] == u'#');
      if (p.integerDigits > 0 && digitNext)
        p.group = true;
      else if (p.integerDigits > 0)
        p.scale += static_cast<int32_t>(j - i);
      i = j - 1;
    } else if (c == u'%') {
      p.percent = true;
      literal(u"%");
    } else if ((c == u'E' || c == u'e') && i + 1 < s.size() &&
               (s[i + 1] == u'+' || s[i + 1] == u'-') && !p.scientific) {
      p.scientific = true;
      inExponent = true;
      p.exponentSign = s[i + 1] == u'+';
      p.items.push_back({NumberPattern::Item::Exponent, String(1, c)});
      ++i;
    } else {
      if (inExponent && c != u'0' && c != u'#') inExponent = false;
      literal(String(1, c));
    }
  }
  return p;
}

String applyNumberPattern(double value, const NumberPattern& p, bool minus,
                          const LocaleSettings& locale) {
  double v = std::fabs(value);
  if (p.percent) v *= 100;
  for (int32_t i = 0; i < p.scale; ++i)
    v /= 1000;
  int exponent = 0;
  if (p.scientific && v != 0) {
    exponent = static_cast<int>(std::floor(std::log10(v))) - (std::max(p.integerDigits, 1) - 1);
    v /= std::pow(10.0, exponent);
    std::string i, f;
    roundedDigits(v, p.fractionDigits, i, f);
    if (i.size() > static_cast<size_t>(std::max(p.integerDigits, 1))) {  // 9.99 became 10.0
      v /= 10;
      ++exponent;
    }
  }
  std::string integer, fraction;
  roundedDigits(v, p.fractionDigits, integer, fraction);
  // Fraction: trailing zeros under "#" placeholders are left out.
  {
    std::vector<char16_t> kinds;
    for (const auto& item : p.items)
      if (item.kind == NumberPattern::Item::Digit && !item.integer) kinds.push_back(item.text[0]);
    while (!fraction.empty() && fraction.back() == '0' && kinds[fraction.size() - 1] == u'#')
      fraction.pop_back();
  }
  // Integer: at least as many digits as "0" placeholders from the first "0" on.
  int32_t minimum = 0;
  {
    bool seenZero = false;
    for (const auto& item : p.items)
      if (item.kind == NumberPattern::Item::Digit && item.integer) {
        seenZero = seenZero || item.text == u"0";
        if (seenZero) ++minimum;
      }
  }
  std::string digits = integer;
  if (static_cast<int32_t>(digits.size()) < minimum)
    digits.insert(0, static_cast<size_t>(minimum) - digits.size(), '0');
  String out;
  if (minus) out += u'-';
  // Integer placeholders take the digits from the right; the first one takes the rest.
  std::vector<String> slots(static_cast<size_t>(p.integerDigits));
  if (p.group) {
    if (!slots.empty()) slots[0] = grouped(digits, locale.thousand);
  } else {
    size_t next = digits.size();
    for (int32_t k = p.integerDigits - 1; k >= 0; --k) {
      if (k == 0) {
        slots[0] = ascii(digits.substr(0, next));
      } else if (next > 0) {
        slots[static_cast<size_t>(k)] = String(1, static_cast<char16_t>(digits[--next]));
      }
    }
  }
  size_t integerSlot = 0, fractionSlot = 0;
  for (const auto& item : p.items) {
    switch (item.kind) {
      case NumberPattern::Item::Literal:
        out += item.text;
        break;
      case NumberPattern::Item::Point:
        out += locale.decimal;
        break;
      case NumberPattern::Item::Digit:
        if (item.integer) {
          out += slots[integerSlot++];
        } else if (fractionSlot < fraction.size()) {
          out += static_cast<char16_t>(fraction[fractionSlot++]);
        }
        break;
      case NumberPattern::Item::Exponent: {
        out += item.text;
        if (exponent < 0)
          out += u'-';
        else if (p.exponentSign)
          out += u'+';
        String e = longToString(exponent < 0 ? -exponent : exponent);
        while (static_cast<int32_t>(e.size()) < p.exponentDigits)
          e.insert(e.begin(), u'0');
        out += e;
        break;
      }
    }
  }
  return out;
}

std::vector<String> sections(StringView pattern) {
  std::vector<String> out(1);
  bool quoted = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c == u'"') quoted = !quoted;
    if (c == u'\\' && i + 1 < pattern.size()) {
      out.back() += c;
      out.back() += pattern[++i];
      continue;
    }
    if (c == u';' && !quoted) {
      out.emplace_back();
      continue;
    }
    out.back() += c;
  }
  return out;
}

String formatNumberPattern(double value, StringView pattern, const LocaleSettings& locale) {
  const std::vector<String> parts = sections(pattern);
  if (value < 0 && parts.size() > 1 && !parts[1].empty())
    return applyNumberPattern(value, parseNumberPattern(parts[1]), false, locale);
  const NumberPattern first = parseNumberPattern(parts[0]);
  if (value == 0 && parts.size() > 2 && !parts[2].empty())
    return applyNumberPattern(value, parseNumberPattern(parts[2]), false, locale);
  return applyNumberPattern(value, first, value < 0, locale);
}

// ---- User date patterns ----

bool startsWithNoCase(StringView s, size_t at, StringView what) {
  return s.size() - at >= what.size() && equalsNoCase(s.substr(at, what.size()), what);
}

struct DateToken {
  char16_t letter;  // lower-cased d m y h n s w q c t, or 0 for a literal
  size_t count;
  String text;  // the literal, or the AM/PM form
  bool upper = false;
};

std::vector<DateToken> tokenizeDate(StringView s) {
  std::vector<DateToken> tokens;
  for (size_t i = 0; i < s.size();) {
    const char16_t c = s[i];
    if (c == u'"') {
      size_t end = s.find(u'"', i + 1);
      if (end == StringView::npos) end = s.size();
      tokens.push_back({0, 0, String(s.substr(i + 1, end - i - 1))});
      i = end + 1;
      continue;
    }
    if (c == u'\\') {
      if (i + 1 < s.size()) tokens.push_back({0, 0, String(1, s[i + 1])});
      i += 2;
      continue;
    }
    for (StringView ampm : {u"AM/PM", u"A/P", u"AMPM"}) {
      if (startsWithNoCase(s, i, ampm)) {
        tokens.push_back({u'a', 0, String(s.substr(i, ampm.size()))});
        i += ampm.size();
        goto next;
      }
    }
    {
      const char16_t l = lowerChar(c);
      if (l == u'd' || l == u'm' || l == u'y' || l == u'h' || l == u'n' || l == u's' || l == u'w' ||
          l == u'q' || l == u'c' || l == u't') {
        size_t run = 1;
        while (i + run < s.size() && lowerChar(s[i + run]) == l)
          ++run;
        tokens.push_back({l, run, {}, c != l});
        i += run;
        continue;
      }
      tokens.push_back({0, 0, String(1, c)});
      ++i;
    }
  next:;
  }
  return tokens;
}

bool isDatePattern(StringView pattern) {
  for (const auto& t : tokenizeDate(pattern))
    if (t.letter) return true;
  return false;
}

String two(int32_t v) {
  return (v < 10 ? u"0" : u"") + longToString(v);
}

String formatDatePattern(Date value, StringView pattern, const LocaleSettings& locale) {
  const DateParts p = splitDate(value);
  std::vector<DateToken> tokens = tokenizeDate(pattern);
  bool twelveHour = false;
  for (const auto& t : tokens)
    twelveHour = twelveHour || t.letter == u'a' || (t.letter == u't' && t.count <= 2);
  // "m" is the minute right after an hour or right before a second.
  for (size_t k = 0; k < tokens.size(); ++k) {
    if (tokens[k].letter != u'm' || tokens[k].count > 2) continue;
    bool minute = false;
    for (size_t j = k; j-- > 0;) {
      if (!tokens[j].letter) continue;
      minute = tokens[j].letter == u'h';
      break;
    }
    for (size_t j = k + 1; !minute && j < tokens.size(); ++j) {
      if (!tokens[j].letter) continue;
      minute = tokens[j].letter == u's';
      break;
    }
    if (minute) tokens[k].letter = u'n';
  }
  String out;
  for (const auto& t : tokens) {
    const size_t n = t.count;
    switch (t.letter) {
      case 0:
        if (t.text == u"/")
          out += locale.dateSeparator;
        else if (t.text == u":")
          out += locale.timeSeparator;
        else
          out += t.text;
        break;
      case u'c':
        out += dateToLocaleString(value, locale);
        break;
      case u'd':
        if (n == 1)
          out += longToString(p.day);
        else if (n == 2)
          out += two(p.day);
        else if (n == 3)
          out += locale.abbrevDays[p.weekday - 1];
        else if (n == 4)
          out += locale.days[p.weekday - 1];
        else if (n == 5)
          out += formatWindowsPattern(value, locale.shortDate, locale);
        else
          out += formatWindowsPattern(value, locale.longDate, locale);
        break;
      case u'm':
        if (n == 1)
          out += longToString(p.month);
        else if (n == 2)
          out += two(p.month);
        else if (n == 3)
          out += locale.abbrevMonths[p.month - 1];
        else
          out += locale.months[p.month - 1];
        break;
      case u'n':
        out += n == 1 ? longToString(p.minute) : two(p.minute);
        break;
      case u's':
        out += n == 1 ? longToString(p.second) : two(p.second);
        break;
      case u'y':
        if (n == 1)
          out += longToString(p.dayOfYear);
        else if (n <= 3)
          out += two(p.year % 100);
        else
          out += longToString(p.year);
        break;
      case u'h': {
        const int32_t h = twelveHour && !t.upper ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
        out += n == 1 ? longToString(h) : two(h);
        break;
      }
      case u'w':
        // Format counts weeks from Sunday unless told otherwise, whatever the locale.
        if (n == 1) {
          out += longToString(p.weekday);
        } else {
          // Week of the year: week 1 holds 1 January.
          const int32_t jan1 = ((p.weekday - 1 - (p.dayOfYear - 1)) % 7 + 7) % 7;
          out += longToString((p.dayOfYear - 1 + jan1) / 7 + 1);
        }
        break;
      case u'q':
        out += longToString((p.month - 1) / 3 + 1);
        break;
      case u't':
        if (n >= 5)
          out += formatWindowsPattern(value, locale.timeFormat, locale);
        else {
          const String& d = p.hour < 12 ? locale.am : locale.pm;
          out += n == 1 ? d.substr(0, 1) : d;
        }
        break;
      case u'a': {
        const bool am = p.hour < 12;
        if (equalsNoCase(t.text, u"AMPM")) {
          out += am ? locale.am : locale.pm;
        } else if (t.text.size() == 5) {  // AM/PM, am/pm: the case written
          out += am ? t.text.substr(0, 2) : t.text.substr(3, 2);
        } else {  // A/P
          out += am ? t.text.substr(0, 1) : t.text.substr(2, 1);
        }
        break;
      }
    }
  }
  return out;
}

std::optional<double> numberOf(const Variant& value) {
  switch (value.type()) {
    case VarType::String:
      return parseNumber(value.stringValue());
    case VarType::Date:
      return value.dateValue().days;
    default:
      return toDouble(value);
  }
}

std::optional<Date> dateOf(const Variant& value, const LocaleSettings& locale) {
  if (value.type() == VarType::Date) return value.dateValue();
  if (value.isString()) {
    if (auto d = parseDate(value.stringValue(), locale)) return d;
    if (auto n = parseNumber(value.stringValue())) return Date{*n};
    return std::nullopt;
  }
  return Date{toDouble(value)};
}

}  // namespace

String format(const Variant& value, StringView pattern) {
  return format(value, pattern, *userLocale());
}

String format(const Variant& value, StringView pattern, const LocaleSettings& locale) {
  if (value.isNull()) {
    const std::vector<String> parts = sections(pattern);
    return parts.size() > 3 ? formatNumberPattern(0, parts[3], locale) : String();
  }
  if (value.isEmpty() && pattern.empty()) return {};
  if (pattern.empty()) {
    if (value.type() == VarType::Date) return dateToLocaleString(value.dateValue(), locale);
    return toString(value);
  }
  const String name = lcase(pattern);
  auto number = [&](auto&& write) -> String {
    const std::optional<double> n = numberOf(value);
    return n ? write(*n) : toString(value);
  };
  auto date = [&](auto&& write) -> String {
    const std::optional<Date> d = dateOf(value, locale);
    return d ? write(*d) : toString(value);
  };
  if (name == u"general number")
    return number([&](double v) {
      String text = doubleToString(v);
      const String user = decimalSeparator();
      const size_t at = text.find(user);
      if (at != String::npos) text.replace(at, user.size(), locale.decimal);
      return text;
    });
  if (name == u"currency") return number([&](double v) { return currencyText(v, -1, locale); });
  if (name == u"fixed" || name == u"standard")
    return number([&](double v) {
      const String text = plainNumber(v, 2, name == u"standard", locale);
      return v < 0 ? u"-" + text : text;
    });
  if (name == u"percent")
    return number([&](double v) {
      const String text = plainNumber(v * 100, 2, false, locale) + u"%";
      return v < 0 ? u"-" + text : text;
    });
  if (name == u"scientific")
    return number([&](double v) { return formatNumberPattern(v, u"0.00E+00", locale); });
  if (name == u"yes/no") return number([](double v) { return String(v != 0 ? u"Yes" : u"No"); });
  if (name == u"true/false")
    return number([](double v) { return String(v != 0 ? u"True" : u"False"); });
  if (name == u"on/off") return number([](double v) { return String(v != 0 ? u"On" : u"Off"); });
  if (name == u"general date") return date([&](Date d) { return dateToLocaleString(d, locale); });
  if (name == u"long date")
    return date([&](Date d) { return formatWindowsPattern(d, locale.longDate, locale); });
  if (name == u"medium date")
    return date([&](Date d) { return formatWindowsPattern(d, u"dd-MMM-yy", locale); });
  if (name == u"short date")
    return date([&](Date d) { return formatWindowsPattern(d, locale.shortDate, locale); });
  if (name == u"long time")
    return date([&](Date d) { return formatWindowsPattern(d, locale.timeFormat, locale); });
  if (name == u"medium time")
    return date([&](Date d) { return formatDatePattern(d, u"hh:nn AM/PM", locale); });
  if (name == u"short time")
    return date([&](Date d) { return formatDatePattern(d, u"HH:nn", locale); });
  if (pattern == u">") return ucase(toString(value));
  if (pattern == u"<") return lcase(toString(value));
  if (isDatePattern(pattern))
    return date([&](Date d) { return formatDatePattern(d, pattern, locale); });
  return number([&](double v) { return formatNumberPattern(v, pattern, locale); });
}

String formatNumber(double value, int32_t digits) {
  const auto locale = userLocale();
  const String text = plainNumber(value, digits < 0 ? 2 : digits, true, *locale);
  return value < 0 ? u"-" + text : text;
}

String formatCurrency(double value, int32_t digits) {
  return currencyText(value, digits, *userLocale());
}

String formatPercent(double value, int32_t digits) {
  const auto locale = userLocale();
  const String text = plainNumber(value * 100, digits < 0 ? 2 : digits, true, *locale) + u"%";
  return value < 0 ? u"-" + text : text;
}

String formatDateTime(Date value, int32_t namedFormat) {
  const auto locale = userLocale();
  switch (namedFormat) {
    case 1:
      return formatWindowsPattern(value, locale->longDate, *locale);
    case 2:
      return formatWindowsPattern(value, locale->shortDate, *locale);
    case 3:
      return formatWindowsPattern(value, locale->timeFormat, *locale);
    case 4:
      return formatDatePattern(value, u"HH:nn", *locale);
    default:
      return dateToLocaleString(value, *locale);
  }
}

}  // namespace zv
