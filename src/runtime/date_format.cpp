// Dates through a user pattern: the parts of the date, the locale's names, separators and
// own patterns (ddddd, dddddd, ttttt, c). Weeks count from Sunday, and week 1 is the one
// holding 1 January, as VB's Format has them by default.
#include "convert.h"
#include "errors.h"
#include "format_writers.h"
#include "vbdate.h"

namespace zv::formatting {

namespace {

String number(int32_t value, int32_t count) {
  String text = longToString(value);
  if (count >= 2 && text.size() < 2) text.insert(text.begin(), u'0');
  return text;
}

int32_t weekOfYear(const DateParts& p) {
  const int32_t firstWeekday = ((p.weekday - 1 - (p.dayOfYear - 1)) % 7 + 7) % 7;  // 0 Sunday
  return (p.dayOfYear - 1 + firstWeekday) / 7 + 1;
}

String designator(int32_t style, bool am, const LocaleSettings& locale) {
  switch (style) {
    case 1:
      return am ? u"AM" : u"PM";
    case 2:
      return am ? u"am" : u"pm";
    case 3:
      return am ? u"A" : u"P";
    case 4:
      return am ? u"a" : u"p";
    default:
      return am ? locale.am : locale.pm;
  }
}

}  // namespace

String writeDate(Date value, const Section& section, const LocaleSettings& locale) {
  if (!isDateInRange(value)) raise(err::kInvalidCall);
  const DateParts p = splitDate(value);
  String out;
  for (const Token& t : section.tokens) {
    const int32_t n = t.count;
    switch (t.kind) {
      case Token::Literal:
        out += t.text;
        break;
      case Token::DateSeparator:
        out += locale.dateSeparator;
        break;
      case Token::TimeSeparator:
        out += locale.timeSeparator;
        break;
      case Token::GeneralDate:
        out += dateToLocaleString(value, locale);
        break;
      case Token::LongTime:
        out += formatWindowsPattern(value, locale.timeFormat, locale);
        break;
      case Token::Day:
        if (n <= 2)
          out += number(p.day, n);
        else if (n <= 4)
          out += (n == 3 ? locale.abbrevDays : locale.days)[static_cast<size_t>(p.weekday - 1)];
        else
          out += formatWindowsPattern(value, n == 5 ? locale.shortDate : locale.longDate, locale);
        break;
      case Token::Month:
        if (n <= 2)
          out += number(p.month, n);
        else if (n <= 4)
          out += (n == 3 ? locale.abbrevMonths : locale.months)[static_cast<size_t>(p.month - 1)];
        else
          out += longToString(p.dayOfYear);  // five m's come after the month tokens
        break;
      case Token::Year:
        if (n == 2)
          out += number(p.year % 100, 2);
        else if (n >= 4)
          out += longToString(p.year);
        if (n == 1 || n == 5) out += longToString(p.dayOfYear);
        break;
      case Token::Hour: {
        const int32_t h = t.flag ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
        out += number(h, n);
        break;
      }
      case Token::Minute:
        out += number(p.minute, n);
        break;
      case Token::Second:
        out += number(p.second, n);
        break;
      case Token::WeekDay:
        out += longToString(p.weekday);
        break;
      case Token::WeekOfYear:
        out += longToString(weekOfYear(p));
        break;
      case Token::Quarter:
        out += longToString((p.month - 1) / 3 + 1);
        break;
      case Token::AmPm:
        out += designator(n, p.hour < 12, locale);
        break;
      default:
        break;
    }
  }
  return out;
}

}  // namespace zv::formatting
