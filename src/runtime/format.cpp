// Format: the named formats, and the user patterns typed and written by format_pattern and
// the writers. A value the pattern's kind cannot take (text that is no number, a number
// beyond the dates) comes back as its own text, as the platform's formatter gives it.
#include "format.h"

#include "convert.h"
#include "errors.h"
#include "format_pattern.h"
#include "format_writers.h"
#include "vbdate.h"

namespace zv {

using formatting::Pattern;
using formatting::PatternKind;
using formatting::Section;

namespace {

// The value as CStr writes it under the locale.
String textOf(const Variant& value, const LocaleSettings& locale) {
  switch (value.type()) {
    case VarType::Double:
      return doubleToString(value.doubleValue(), locale.decimal);
    case VarType::Currency:
      return currencyToString(value.currencyValue(), locale.decimal);
    case VarType::Date:
      return dateToLocaleString(value.dateValue(), locale);
    default:
      return toString(value);
  }
}

// The exact digits of a number, or of a text read as one; nullopt for anything else.
std::optional<Decimal> decimalOf(const Variant& value, const LocaleSettings& locale) {
  switch (value.type()) {
    case VarType::Empty:
      return Decimal{};
    case VarType::Integer:
      return Decimal::fromInteger(value.integerValue());
    case VarType::Long:
      return Decimal::fromInteger(value.longValue());
    case VarType::Byte:
      return Decimal::fromInteger(value.byteValue());
    case VarType::Single:
      return Decimal::fromDouble(value.singleValue(), 7);
    case VarType::Double:
      return Decimal::fromDouble(value.doubleValue());
    case VarType::Currency:
      return Decimal::fromCurrency(value.currencyValue());
    case VarType::Boolean:
      return Decimal::fromInteger(value.booleanValue() ? -1 : 0);
    case VarType::String:
      return parseDecimal(value.stringValue(), locale);
    default:
      return std::nullopt;
  }
}

// The date a value stands for: a date, a number within the dates, a text read as a date
// or as a number of days; nullopt for anything else.
std::optional<Date> dateOf(const Variant& value, const LocaleSettings& locale) {
  switch (value.type()) {
    case VarType::Date:
      return value.dateValue();
    case VarType::String:
      if (auto d = parseDate(value.stringValue(), locale)) return d;
      break;
    case VarType::Empty:
    case VarType::Null:
      return std::nullopt;
    default:
      break;
  }
  const std::optional<Decimal> n = decimalOf(value, locale);
  if (!n) return std::nullopt;
  const Date d{n->toDouble()};
  if (!isDateInRange(d)) return std::nullopt;
  return d;
}

String writeNumberPattern(const Decimal& n, const Pattern& p, const LocaleSettings& locale) {
  if (n.negative && p.sections[1]) return formatting::writeNumber(n, *p.sections[1], false, locale);
  if (n.isZero() && p.sections[2]) return formatting::writeNumber(n, *p.sections[2], false, locale);
  return formatting::writeNumber(n, *p.sections[0], n.negative, locale);
}

String writePattern(const Variant& value, const Pattern& p, const LocaleSettings& locale) {
  PatternKind kind = p.kind;
  if (kind == PatternKind::Unknown)
    kind = value.type() == VarType::Date     ? PatternKind::Date
           : value.type() == VarType::String ? PatternKind::Text
                                             : PatternKind::Number;
  switch (kind) {
    case PatternKind::Number:
      if (value.type() != VarType::Date)
        if (const auto n = decimalOf(value, locale)) return writeNumberPattern(*n, p, locale);
      break;
    case PatternKind::Date:
      if (const auto d = dateOf(value, locale))
        return formatting::writeDate(*d, p.section(0), locale);
      break;
    default: {
      const String text = textOf(value, locale);
      return formatting::writeText(text, p.section(text.empty() ? 1 : 0));
    }
  }
  return textOf(value, locale);
}

String currencyText(const Decimal& amount, int32_t digits, const LocaleSettings& locale) {
  Decimal n = amount;
  const int32_t decimals = digits < 0 ? locale.currencyDigits : digits;
  String pattern = u"#,##0";
  if (decimals > 0) pattern += u"." + String(static_cast<size_t>(decimals), u'0');
  const String number =
      formatting::writeNumber(n, *formatting::parsePattern(pattern).sections[0], false, locale);
  const String& c = locale.currency;
  if (!n.negative) {
    switch (locale.positiveCurrency) {
      case 1:
        return number + c;
      case 2:
        return c + u" " + number;
      case 3:
        return number + u" " + c;
      default:
        return c + number;
    }
  }
  static constexpr const char16_t* kNegative[] = {
      u"(CN)", u"-CN",  u"C-N",  u"CN-",  u"(NC)", u"-NC",  u"N-C",   u"NC-",
      u"-N C", u"-C N", u"N C-", u"C N-", u"C -N", u"N- C", u"(C N)", u"(N C)"};
  const int32_t order =
      locale.negativeCurrency >= 0 && locale.negativeCurrency < 16 ? locale.negativeCurrency : 0;
  String out;
  for (const char16_t* p = kNegative[order]; *p; ++p)
    out += *p == u'C' ? c : *p == u'N' ? number : String(1, *p);
  return out;
}

// The named formats; nullopt when `name` is none of them.
std::optional<String> named(const Variant& value, StringView name, const LocaleSettings& locale) {
  const String lower = lcase(name);
  auto pattern = [&](StringView user) {
    return writePattern(value, formatting::parsePattern(user), locale);
  };
  auto windowsDate = [&](StringView windowsPattern) {
    const auto d = dateOf(value, locale);
    if (!d) return textOf(value, locale);
    if (!isDateInRange(*d)) raise(err::kInvalidCall);
    return formatWindowsPattern(*d, windowsPattern, locale);
  };
  auto word = [&](const char16_t* yes, const char16_t* no) {
    const auto n = value.type() == VarType::Date ? std::nullopt : decimalOf(value, locale);
    return n ? String(n->isZero() ? no : yes) : textOf(value, locale);
  };
  if (lower == u"general number")
    return value.isString() ? value.stringValue() : textOf(value, locale);
  if (lower == u"currency") {
    const auto n = value.type() == VarType::Date ? std::nullopt : decimalOf(value, locale);
    return n ? currencyText(*n, -1, locale) : textOf(value, locale);
  }
  if (lower == u"fixed") return pattern(u"0.00");
  if (lower == u"standard") return pattern(u"#,##0.00");
  if (lower == u"percent") return pattern(u"0.00%");
  if (lower == u"scientific") return pattern(u"0.00E+00");
  if (lower == u"yes/no") return word(u"Yes", u"No");
  if (lower == u"true/false") return word(u"True", u"False");
  if (lower == u"on/off") return word(u"On", u"Off");
  if (lower == u"general date") return pattern(u"c");
  if (lower == u"long date") return windowsDate(locale.longDate);
  if (lower == u"medium date") return windowsDate(u"dd-MMM-yy");
  if (lower == u"short date") return windowsDate(locale.shortDate);
  if (lower == u"long time") return pattern(u"ttttt");
  if (lower == u"medium time") return pattern(u"hh:nn AMPM");
  if (lower == u"short time") return pattern(u"hh:nn");
  return std::nullopt;
}

}  // namespace

String format(const Variant& value, StringView pattern) {
  return format(value, pattern, *userLocale());
}

String format(const Variant& value, StringView pattern, const LocaleSettings& locale) {
  if (value.isNull()) {
    // Null takes the fourth section, if any.
    const Pattern p = formatting::parsePattern(pattern);
    return p.sections[3] ? formatting::writeNumber(Decimal{}, *p.sections[3], false, locale)
                         : String();
  }
  if (pattern.empty()) return textOf(value, locale);
  if (auto text = named(value, pattern, locale)) return *text;
  return writePattern(value, formatting::parsePattern(pattern), locale);
}

String formatNumber(double value, int32_t digits) {
  const String decimals(static_cast<size_t>(digits < 0 ? 2 : digits), u'0');
  return format(Variant(value), decimals.empty() ? u"#,##0" : u"#,##0." + decimals);
}

String formatCurrency(double value, int32_t digits) {
  return currencyText(Decimal::fromDouble(value), digits, *userLocale());
}

String formatPercent(double value, int32_t digits) {
  const String decimals(static_cast<size_t>(digits < 0 ? 2 : digits), u'0');
  return format(Variant(value), decimals.empty() ? u"#,##0%" : u"#,##0." + decimals + u"%");
}

String formatDateTime(Date value, int32_t namedFormat) {
  static constexpr const char16_t* kNames[] = {u"General Date", u"Long Date", u"Short Date",
                                               u"Long Time", u"Short Time"};
  return format(Variant(value), kNames[namedFormat >= 1 && namedFormat <= 4 ? namedFormat : 0]);
}

}  // namespace zv
