#include "vblocale.h"

#include <mutex>

#include "platform/locale.h"

namespace zv {

namespace {

std::mutex gMutex;
std::shared_ptr<const LocaleSettings> gUser;

int32_t digitValue(const String& text, int32_t fallback) {
  if (text.empty() || text[0] < u'0' || text[0] > u'9') return fallback;
  int32_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    value = value * 10 + (c - u'0');
  }
  return value;
}

// The order of the first day, month and year fields of a short date pattern.
DateOrder orderOf(const String& pattern) {
  size_t d = pattern.find(u'd'), m = pattern.find(u'M'), y = pattern.find(u'y');
  if (y != String::npos && (d == String::npos || y < d) && (m == String::npos || y < m))
    return DateOrder::YearMonthDay;
  if (d != String::npos && m != String::npos && d < m) return DateOrder::DayMonthYear;
  return DateOrder::MonthDayYear;
}

}  // namespace

LocaleSettings readLocaleSettings(int32_t lcid) {
  namespace lc = platform::lctype;
  LocaleSettings s;
  s.months = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
              u"July",    u"August",   u"September", u"October", u"November", u"December"};
  s.abbrevMonths = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                    u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  s.days = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
  s.abbrevDays = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  auto read = [&](int32_t type, String& into) {
    String value = platform::localeInfo(lcid, type);
    if (!value.empty()) into = std::move(value);
  };
  String id = platform::localeInfo(lcid, lc::kLanguageId);
  if (id.empty()) return s;  // a locale the platform does not know
  s.lcid = lcid == 0 ? platform::userLcid() : lcid;
  read(lc::kDecimal, s.decimal);
  s.thousand = platform::localeInfo(lcid, lc::kThousand);
  s.monetaryDecimal = platform::localeInfo(lcid, lc::kMonetaryDecimal);
  s.monetaryThousand = platform::localeInfo(lcid, lc::kMonetaryThousand);
  read(lc::kCurrency, s.currency);
  s.currencyDigits = digitValue(platform::localeInfo(lcid, lc::kCurrencyDigits), 2);
  s.positiveCurrency = digitValue(platform::localeInfo(lcid, lc::kPositiveCurrency), 0);
  s.negativeCurrency = digitValue(platform::localeInfo(lcid, lc::kNegativeCurrency), 0);
  read(lc::kDateSeparator, s.dateSeparator);
  read(lc::kTimeSeparator, s.timeSeparator);
  read(lc::kShortDate, s.shortDate);
  read(lc::kLongDate, s.longDate);
  read(lc::kTimeFormat, s.timeFormat);
  s.am = platform::localeInfo(lcid, lc::kAm);
  s.pm = platform::localeInfo(lcid, lc::kPm);
  for (int i = 0; i < 12; ++i) {
    read(lc::kMonthName1 + i, s.months[i]);
    read(lc::kAbbrevMonthName1 + i, s.abbrevMonths[i]);
  }
  // Windows numbers days from Monday (item 0), VB from Sunday (1).
  for (int i = 0; i < 7; ++i) {
    read(lc::kDayName1 + i, s.days[(i + 1) % 7]);
    read(lc::kAbbrevDayName1 + i, s.abbrevDays[(i + 1) % 7]);
  }
  s.firstDayOfWeek = (digitValue(platform::localeInfo(lcid, lc::kFirstDayOfWeek), 6) + 1) % 7 + 1;
  s.dateOrder = orderOf(s.shortDate);
  return s;
}

std::shared_ptr<const LocaleSettings> userLocale() {
  std::lock_guard lock(gMutex);
  if (!gUser) gUser = std::make_shared<const LocaleSettings>(readLocaleSettings(0));
  return gUser;
}

void resetUserLocale() {
  platform::resetLocaleCache();
  {
    std::lock_guard lock(gMutex);
    gUser.reset();
  }
}

}  // namespace zv
