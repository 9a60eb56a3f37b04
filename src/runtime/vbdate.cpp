#include "vbdate.h"

#include <cmath>
#include <ctime>
#include <vector>

#include "convert.h"

namespace zv {

namespace {

// Day 0 of the OLE calendar (1899-12-30) in the days-from-civil count of 1970-01-01 = 0.
constexpr int64_t kEpochShift = 25569;

int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int32_t& y, int32_t& m, int32_t& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int32_t>(yoe + era * 400 + (m <= 2));
}

bool isLeap(int32_t y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int32_t daysInMonth(int32_t y, int32_t m) {
  static constexpr int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

String number(int64_t value, int width = 0) {
  String text = longToString(value < 0 ? -value : value);
  while (static_cast<int>(text.size()) < width)
    text.insert(text.begin(), u'0');
  return value < 0 ? u"-" + text : text;
}

bool isLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
         (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

}  // namespace

DateParts splitDate(Date value) {
  DateParts p;
  double whole = std::trunc(value.days);
  int64_t seconds = std::llround(std::fabs(value.days - whole) * 86400.0);
  int64_t day = static_cast<int64_t>(whole);
  if (seconds >= 86400) {  // rounding reached midnight: the next day (away from day 0)
    seconds -= 86400;
    day += value.days < 0 ? -1 : 1;
  }
  civilFromDays(day - kEpochShift, p.year, p.month, p.day);
  p.hour = static_cast<int32_t>(seconds / 3600);
  p.minute = static_cast<int32_t>(seconds / 60 % 60);
  p.second = static_cast<int32_t>(seconds % 60);
  // 1899-12-30 was a Saturday.
  p.weekday = static_cast<int32_t>(((day + 6) % 7 + 7) % 7 + 1);
  p.dayOfYear = static_cast<int32_t>(day - kEpochShift - daysFromCivil(p.year, 1, 1) + 1);
  return p;
}

std::optional<Date> makeDate(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                             int32_t second) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > daysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59)
    return std::nullopt;
  const double days = static_cast<double>(daysFromCivil(year, month, day) + kEpochShift);
  const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  // Before day 0 the time still counts forward from the day's start: -1.25 is 29 Dec 06:00.
  return Date{days < 0 ? days - time : days + time};
}

int32_t currentYear() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local.tm_year + 1900;
}

String formatWindowsPattern(Date value, StringView pattern, const LocaleSettings& locale) {
  const DateParts p = splitDate(value);
  String out;
  for (size_t i = 0; i < pattern.size();) {
    const char16_t c = pattern[i];
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c)
      ++run;
    if (c == u'\'') {
      // A quoted literal; '' inside or outside quotes is one quote.
      size_t j = i + 1;
      for (; j < pattern.size(); ++j) {
        if (pattern[j] == u'\'') {
          if (j + 1 < pattern.size() && pattern[j + 1] == u'\'') {
            out += u'\'';
            ++j;
            continue;
          }
          break;
        }
        out += pattern[j];
      }
      i = j + 1;
      continue;
    }
    const int n = static_cast<int>(run);
    switch (c) {
      case u'd':
        out += n == 1   ? number(p.day)
               : n == 2 ? number(p.day, 2)
               : n == 3 ? locale.abbrevDays[p.weekday - 1]
                        : locale.days[p.weekday - 1];
        break;
      case u'M':
        out += n == 1   ? number(p.month)
               : n == 2 ? number(p.month, 2)
               : n == 3 ? locale.abbrevMonths[p.month - 1]
                        : locale.months[p.month - 1];
        break;
      case u'y':
        out += n == 1 ? number(p.year % 100) : n == 2 ? number(p.year % 100, 2) : number(p.year);
        break;
      case u'h':
        out += number(p.hour % 12 == 0 ? 12 : p.hour % 12, n >= 2 ? 2 : 0);
        break;
      case u'H':
        out += number(p.hour, n >= 2 ? 2 : 0);
        break;
      case u'm':
        out += number(p.minute, n >= 2 ? 2 : 0);
        break;
      case u's':
        out += number(p.second, n >= 2 ? 2 : 0);
        break;
      case u't': {
        const String& designator = p.hour < 12 ? locale.am : locale.pm;
        out += n == 1 ? designator.substr(0, 1) : designator;
        break;
      }
      case u'g':
        break;  // era: the Gregorian calendar writes none
      default:
        out += String(run, c);
    }
    i += run;
  }
  return out;
}

String dateToLocaleString(Date value, const LocaleSettings& locale) {
  const DateParts p = splitDate(value);
  const bool hasTime = p.hour != 0 || p.minute != 0 || p.second != 0;
  const bool hasDate =
      std::trunc(value.days) != 0 || std::fabs(value.days) >= 1 - 0.5 / 86400;  // rounds to day 1
  if (!hasDate) return formatWindowsPattern(value, locale.timeFormat, locale);
  String text = formatWindowsPattern(value, locale.shortDate, locale);
  if (hasTime) text += u" " + formatWindowsPattern(value, locale.timeFormat, locale);
  return text;
}

namespace {

struct Token {
  enum Kind { Number, Word, Separator } kind;
  String text;
  int32_t value = 0;
};

String withoutDot(StringView s) {
  String t(s);
  if (!t.empty() && t.back() == u'.') t.pop_back();
  return lcase(t);
}

// 1 to 12 for one of the locale's month names or abbreviations (the final full stop
// optional), 0 otherwise.
int32_t monthOf(const String& word, const LocaleSettings& locale) {
  const String w = withoutDot(word);
  for (int i = 0; i < 12; ++i)
    if (w == withoutDot(locale.months[i]) || w == withoutDot(locale.abbrevMonths[i])) return i + 1;
  return 0;
}

bool isDayName(const String& word, const LocaleSettings& locale) {
  const String w = withoutDot(word);
  for (int i = 0; i < 7; ++i)
    if (w == withoutDot(locale.days[i]) || w == withoutDot(locale.abbrevDays[i])) return true;
  return false;
}

// 1 for AM, 2 for PM, 0 for neither.
int meridiemOf(const String& word, const LocaleSettings& locale) {
  const String w = lcase(word);
  if (w == u"am" || w == u"a" || (!locale.am.empty() && w == lcase(locale.am))) return 1;
  if (w == u"pm" || w == u"p" || (!locale.pm.empty() && w == lcase(locale.pm))) return 2;
  return 0;
}

// Two-digit years fall in 1950 to 2049, the window of current Windows (and of Wine).
int32_t fullYear(const Token& t) {
  if (t.text.size() <= 2) return t.value < 50 ? 2000 + t.value : 1900 + t.value;
  return t.value;
}

bool yearLike(const Token& t) {
  return t.text.size() >= 3 || t.value > 31;
}

std::optional<Date> tryDate(const Token& y, int32_t month, int32_t day) {
  return makeDate(fullYear(y), month, day);
}

}  // namespace

std::optional<Date> parseDate(StringView text, const LocaleSettings& locale) {
  // Tokens: digit runs, letter runs (a trailing "." kept with a word), and separators.
  std::vector<Token> tokens;
  const StringView t = trimView(text);
  if (t.empty()) return std::nullopt;
  for (size_t i = 0; i < t.size();) {
    const char16_t c = t[i];
    size_t j = i + 1;
    if (c >= u'0' && c <= u'9') {
      while (j < t.size() && t[j] >= u'0' && t[j] <= u'9')
        ++j;
      if (j - i > 4) return std::nullopt;
      Token token{Token::Number, String(t.substr(i, j - i))};
      for (char16_t d : token.text)
        token.value = token.value * 10 + (d - u'0');
      tokens.push_back(token);
    } else if (isLetter(c)) {
      while (j < t.size() && (isLetter(t[j]) || t[j] == u'.'))
        ++j;
      tokens.push_back({Token::Word, String(t.substr(i, j - i))});
    } else {
      // "." separates the parts of a date only where it is the locale's date separator.
      const bool known = c == u' ' || c == u'/' || c == u'-' || c == u',' || c == u':' ||
                         c == u'\u00A0' || c == u'\t' ||
                         locale.dateSeparator.find(c) != String::npos ||
                         locale.timeSeparator.find(c) != String::npos;
      if (!known) return std::nullopt;
      tokens.push_back({Token::Separator, String(1, c)});
    }
    i = j;
  }
  auto isTimeSeparator = [&](const Token& s) {
    return s.kind == Token::Separator &&
           (s.text == u":" || (locale.timeSeparator.size() == 1 && s.text == locale.timeSeparator));
  };
  std::vector<Token> dateNumbers, timeNumbers;
  int32_t monthName = 0;
  int meridiem = 0;
  for (size_t k = 0; k < tokens.size(); ++k) {
    const Token& token = tokens[k];
    if (token.kind == Token::Separator) continue;
    if (token.kind == Token::Word) {
      if (int m = meridiemOf(token.text, locale)) {
        if (meridiem) return std::nullopt;
        meridiem = m;
        continue;
      }
      if (int32_t month = monthOf(token.text, locale)) {
        if (monthName) return std::nullopt;
        monthName = month;
        continue;
      }
      if (isDayName(token.text, locale)) continue;
      return std::nullopt;
    }
    const bool beforeTime = k + 1 < tokens.size() && isTimeSeparator(tokens[k + 1]);
    const bool afterTime = k > 0 && isTimeSeparator(tokens[k - 1]);
    bool beforeMeridiem = false;
    for (size_t l = k + 1; l < tokens.size(); ++l) {
      if (tokens[l].kind == Token::Separator && tokens[l].text == u" ") continue;
      beforeMeridiem = tokens[l].kind == Token::Word && meridiemOf(tokens[l].text, locale);
      break;
    }
    if (beforeTime || afterTime || (beforeMeridiem && timeNumbers.empty()))
      timeNumbers.push_back(token);
    else
      dateNumbers.push_back(token);
  }
  if (timeNumbers.size() > 3) return std::nullopt;
  int32_t hour = 0, minute = 0, second = 0;
  if (!timeNumbers.empty()) {
    hour = timeNumbers[0].value;
    if (timeNumbers.size() > 1) minute = timeNumbers[1].value;
    if (timeNumbers.size() > 2) second = timeNumbers[2].value;
    if (meridiem) {
      if (hour < 1 || hour > 12) return std::nullopt;
      hour = hour % 12 + (meridiem == 2 ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  } else if (meridiem) {
    return std::nullopt;
  }
  std::optional<Date> day;
  const size_t count = dateNumbers.size();
  if (monthName) {
    if (count == 0 || count > 2) return std::nullopt;
    if (count == 1) {
      const Token& a = dateNumbers[0];
      day = yearLike(a) ? tryDate(a, monthName, 1) : makeDate(currentYear(), monthName, a.value);
    } else {
      const Token& a = dateNumbers[0];
      const Token& b = dateNumbers[1];
      day = yearLike(a) && !yearLike(b) ? tryDate(a, monthName, b.value)
                                        : tryDate(b, monthName, a.value);
    }
  } else if (count == 3) {
    const Token& a = dateNumbers[0];
    const Token& b = dateNumbers[1];
    const Token& c = dateNumbers[2];
    auto mdy = [&] { return tryDate(c, a.value, b.value); };
    auto dmy = [&] { return tryDate(c, b.value, a.value); };
    auto ymd = [&] { return tryDate(a, b.value, c.value); };
    if (yearLike(a)) {
      day = ymd();
    } else {
      switch (locale.dateOrder) {
        case DateOrder::DayMonthYear:
          day = dmy();
          break;
        case DateOrder::YearMonthDay:
          day = ymd();
          break;
        case DateOrder::MonthDayYear:
          day = mdy();
          break;
      }
      // A text that cannot be read in the locale's order is read year first, then in the
      // other of day-first and month-first ("25/12/24" is 24 Dec 2025 month-first).
      if (!day && locale.dateOrder != DateOrder::YearMonthDay) day = ymd();
      if (!day) day = locale.dateOrder == DateOrder::DayMonthYear ? mdy() : dmy();
      if (!day && locale.dateOrder == DateOrder::YearMonthDay) day = dmy();
    }
  } else if (count == 2) {
    const Token& a = dateNumbers[0];
    const Token& b = dateNumbers[1];
    if (yearLike(b)) {
      day = tryDate(b, a.value, 1);
    } else if (yearLike(a)) {
      day = tryDate(a, b.value, 1);
    } else {
      const bool dayFirst = locale.dateOrder == DateOrder::DayMonthYear;
      day = dayFirst ? makeDate(currentYear(), b.value, a.value)
                     : makeDate(currentYear(), a.value, b.value);
      if (!day)
        day = dayFirst ? makeDate(currentYear(), a.value, b.value)
                       : makeDate(currentYear(), b.value, a.value);
    }
  } else if (count == 0) {
    if (timeNumbers.empty()) return std::nullopt;
    return Date{(hour * 3600.0 + minute * 60.0 + second) / 86400.0};
  } else {
    return std::nullopt;
  }
  if (!day) return std::nullopt;
  const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  return Date{day->days < 0 ? day->days - time : day->days + time};
}

}  // namespace zv
