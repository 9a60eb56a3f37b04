// Reading a date, a time or both from text, as the platform's CDate does: up to six
// numbers with the locale's month names, a time joined by ":" (or "." where "." is not
// the locale's date separator) and an AM/PM designator, then the date's numbers tried in
// the locale's order first, then in the orders that keep its month and year places, then
// in any order.
#include <cstdint>
#include <vector>

#include "vbdate.h"

namespace zv {

namespace {

struct Field {
  int64_t value = 0;
  bool time = false;   // followed by a time separator
  bool month = false;  // a month name
  int meridiem = 0;    // 1 AM, 2 PM after it
};

bool isDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

bool isSpace(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u00A0' ||
         (c >= u'\u2000' && c <= u'\u200B') || c == u'\u202F' || c == u'\u3000';
}

// Letters of any script; punctuation and symbols outside ASCII are not.
bool isLetter(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  if (c < 0xC0) return c == 0xAA || c == 0xB5 || c == 0xBA;
  return c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x2BFF) && !(c >= 0x3000 && c <= 0x303F) &&
         !(c >= 0xFF00 && c <= 0xFF20);
}

// Whether `word` (non-empty) starts `text` at `at`, ignoring case.
bool startsWithWord(StringView text, size_t at, const String& word) {
  if (word.empty() || text.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (lowerChar(text[at + i]) != lowerChar(word[i])) return false;
  return true;
}

bool isLeap(int64_t y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

bool validDay(int64_t day, int64_t month, int64_t year) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (day < 1 || month < 1 || month > 12) return false;
  return day <= kDays[month - 1] || (month == 2 && day == 29 && isLeap(year));
}

// The orders three date numbers may stand in.
enum Order : unsigned { MDY = 1u, YMD = 2u, YDM = 4u, DMY = 8u, MYD = 16u };

struct Ymd {
  int64_t year, month, day;
};

// Tries the orders allowed in `allowed`: the locale's own first, then those that keep
// its places, then the rest; each order that gives no valid date is dropped.
std::optional<Ymd> resolve(unsigned allowed, int64_t a, int64_t b, int64_t c, DateOrder order) {
  static constexpr Order kSequence[] = {MDY, YMD, YDM, DMY, MYD};
  for (int pass = 0; allowed != 0; ++pass) {
    unsigned trying = allowed;
    if (pass == 0)
      trying &= order == DateOrder::MonthDayYear   ? MDY
                : order == DateOrder::DayMonthYear ? DMY
                                                   : YMD;
    else if (pass == 1)
      trying &= order == DateOrder::DayMonthYear ? ~static_cast<unsigned>(MDY | YMD | MYD)
                                                 : ~static_cast<unsigned>(DMY | YDM);
    for (Order o : kSequence) {
      if (!(trying & o)) continue;
      const Ymd d = o == MDY   ? Ymd{c, a, b}
                    : o == YMD ? Ymd{a, b, c}
                    : o == YDM ? Ymd{a, c, b}
                    : o == DMY ? Ymd{c, b, a}
                               : Ymd{b, a, c};  // MYD
      if (validDay(d.day, d.month, d.year)) return d;
      allowed &= ~static_cast<unsigned>(o);
    }
  }
  return std::nullopt;
}

std::optional<Ymd> dateOfFields(const std::vector<Field>& f, DateOrder order) {
  if (f.empty()) return Ymd{1899, 12, 30};
  const int64_t a = f[0].value, b = f[1].value;
  const int64_t c = f.size() > 2 ? f[2].value : currentYear();
  const unsigned yearFirst = f.size() > 2 ? YMD | YDM : 0u;
  unsigned allowed = MDY | DMY | yearFirst;
  if (f[0].month)
    allowed = MDY;
  else if (f[1].month)
    allowed = DMY | (yearFirst & YMD);
  else if (f.size() > 2 && f[2].month)
    allowed = YDM;
  if (auto d = resolve(allowed, a, b, c, order)) return d;
  // Two numbers that are no day and month are a month and a year, on the first day.
  if (f.size() == 2) return resolve(YMD | MYD, a, b, 1, order);
  return std::nullopt;
}

// Splits the numbers into the time's (hour, minute, second) and the date's, by where the
// time separators and the AM/PM designator stand; false for any other arrangement.
bool splitTime(std::vector<Field>& f, int64_t time[3]) {
  const size_t n = f.size();
  unsigned mask = 0;
  for (size_t i = 0; i < n && i < 5; ++i)
    if (f[i].time) mask |= 1u << i;
  auto meridiem = [&](size_t from, size_t to) {
    for (size_t i = from; i < to && i < n; ++i)
      if (f[i].meridiem) return true;
    return false;
  };
  auto take = [&](size_t first, size_t count) {
    for (size_t k = 0; k < count; ++k)
      time[k] = first + k < n ? f[first + k].value : 0;
    f.erase(f.begin() + static_cast<ptrdiff_t>(first),
            f.begin() + static_cast<ptrdiff_t>(std::min(n, first + count)));
  };
  const bool anyMeridiem = meridiem(0, n);
  switch (mask) {
    case 0x1:  // hh:mm, then two or three date numbers
      if ((n > 3 && meridiem(2, 5)) || (n != 2 && n != 4 && n != 5)) return false;
      take(0, 2);
      return true;
    case 0x3:  // hh:mm:ss, then two or three date numbers
      if ((n > 4 && meridiem(3, 6)) || (n != 3 && n != 5 && n != 6)) return false;
      take(0, 3);
      return true;
    case 0x4:  // two date numbers, hh:mm
      if (n != 4 || meridiem(0, 2)) return false;
      take(2, 2);
      return true;
    case 0xC:  // two date numbers, hh:mm:ss
      if (n != 5 || meridiem(0, 2)) return false;
      take(2, 3);
      return true;
    case 0x18:  // three date numbers, hh:mm:ss
      if (meridiem(0, 3)) return false;
      take(3, 3);
      return true;
    case 0x8:  // three date numbers, hh:mm
      if (n != 5 || meridiem(0, 3)) return false;
      take(3, 2);
      return true;
    case 0x0:
      // An hour alone is one followed by AM/PM.
      if (n == 1 && anyMeridiem) return take(0, 1), true;
      if (n > 4 || (n < 3 && anyMeridiem) || n == 1) return false;
      if (n == 4 || anyMeridiem) {
        if (f[0].meridiem) return take(0, 1), true;
        if (f[n - 1].meridiem) return take(n - 1, 1), true;
        return false;
      }
      return true;  // two or three date numbers
    default:
      return false;
  }
}

// Two-digit years fall in 1950 to 2049, as the platform reads them.
int64_t fullYear(int64_t year) {
  return year < 50 ? 2000 + year : year < 100 ? 1900 + year : year;
}

}  // namespace

std::optional<Date> parseDate(StringView text, const LocaleSettings& locale) {
  std::vector<const String*> words;  // months and abbreviations first, then days, AM, PM
  for (const auto& m : locale.months)
    words.push_back(&m);
  for (const auto& m : locale.abbrevMonths)
    words.push_back(&m);
  for (const auto& d : locale.days)
    words.push_back(&d);
  for (const auto& d : locale.abbrevDays)
    words.push_back(&d);
  words.push_back(&locale.am);
  words.push_back(&locale.pm);
  const char16_t dateSeparator = locale.dateSeparator.empty() ? 0 : locale.dateSeparator[0];

  std::vector<Field> fields;
  int dateSeparators = 0, meridiem = 0;
  for (size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    const bool last = i + 1 == text.size();
    if (fields.size() > 6) return std::nullopt;
    if (isDigit(c)) {
      Field f;
      for (; i < text.size() && isDigit(text[i]); ++i)
        f.value = std::min<int64_t>(f.value * 10 + (text[i] - u'0'), INT32_MAX);
      fields.push_back(f);
      continue;
    }
    if (isLetter(c)) {
      size_t w = 0;
      while (w < words.size() && !startsWithWord(text, i, *words[w]))
        ++w;
      if (w < 24) {
        fields.push_back({static_cast<int64_t>(w % 12 + 1), false, true, 0});
        i += words[w]->size();
        continue;
      }
      int designator = w == 38 ? 1 : w == 39 ? 2 : 0;
      size_t length = w < words.size() ? words[w]->size() : 1;
      if (w == words.size()) {  // "a" and "p" stand for AM and PM, with or without "m"
        const char16_t l = lowerChar(c);
        if (l != u'a' && l != u'p') return std::nullopt;
        designator = l == u'a' ? 1 : 2;
        if (i + 1 < text.size() && lowerChar(text[i + 1]) == u'm') length = 2;
      }
      if (designator) {
        if (fields.empty() || meridiem) return std::nullopt;
        meridiem = fields.back().meridiem = designator;
      }
      i += length;  // day names are skipped
      continue;
    }
    if (c == u':' || c == u'.') {
      if (fields.empty() || last) return std::nullopt;
      if (c == dateSeparator) {
        if (++dateSeparators > 2) return std::nullopt;
      } else {
        fields.back().time = true;
      }
    } else if (c == u'-' || c == u'/') {
      if (++dateSeparators > 2 || fields.empty() || last) return std::nullopt;
    } else if (c == u',') {
      if (last) return std::nullopt;
    } else if (!isSpace(c)) {
      return std::nullopt;
    }
    ++i;
  }
  if (fields.empty() || fields.size() > 6 || (fields.size() == 1 && !meridiem)) return std::nullopt;
  int64_t time[3] = {0, 0, 0};
  if (!splitTime(fields, time)) return std::nullopt;
  const std::optional<Ymd> day = dateOfFields(fields, locale.dateOrder);
  if (!day || time[0] > 23 || time[1] > 59 || time[2] > 59) return std::nullopt;
  int64_t hour = time[0];
  if (meridiem == 2 && hour < 12) hour += 12;
  if (meridiem == 1 && hour == 12) hour = 0;
  const int64_t year = fields.empty() ? day->year : fullYear(day->year);
  if (year > 9999) return std::nullopt;
  return makeDate(static_cast<int32_t>(year), static_cast<int32_t>(day->month),
                  static_cast<int32_t>(day->day), static_cast<int32_t>(hour),
                  static_cast<int32_t>(time[1]), static_cast<int32_t>(time[2]));
}

}  // namespace zv
