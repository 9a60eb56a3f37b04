// TimeLib under two user locales (en-US writes dates month first, fr-FR day first) where a
// case is more than one call of literals (those are rows of tests/cases/time.tsv): dates,
// the clock, written-back arguments, the library's list models and a caller's own object.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "api/TimeLib.h"
#include "frame/classes.h"
#include "locale_scope.h"
#include "platform/clock.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/object.h"
#include "runtime/vbdate.h"
#include "runtime/vblocale.h"
#include "test_support.h"

using zv::Arg;
using zv::Args;
using zv::Date;
using zv::ObjectRef;
using zv::String;
using zv::Variant;

namespace {

using zvtest::kLocales;

class TimeLibLocale : public zvtest::LocaleTest {
 protected:
  std::shared_ptr<zv::TimeLib> time_ = zv::TimeLib::create();
};

Date day(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
  return *zv::makeDate(y, m, d, hh, mm, ss);
}

std::string u8(const String& s) {
  return zv::toUtf8(s);
}

TEST_P(TimeLibLocale, DateComparisonFormatsThenCompares) {
  const struct {
    Date a, b;
    const char16_t* format;
    int16_t en, fr;
  } cases[] = {
      {day(2024, 2, 1), day(2024, 1, 31), u"", 2, 2},
      {day(2024, 3, 15, 8), day(2024, 3, 15, 23, 59, 59), u"", 1, 1},
      // Written day first, then read back under the locale: en-US takes 01/02 as 2 January.
      {day(2024, 2, 1), day(2024, 1, 31), u"dd/MM/yyyy", 0, 2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(time_->DateComparison(c.a, c.b, c.format), pick(c.en, c.fr))
        << c.a.days << " " << c.b.days << " " << u8(c.format);
}

TEST_P(TimeLibLocale, DayIntervalKeepsTheEndsInOrder) {
  const struct {
    Date d1, d2;
    int16_t index;
    int16_t expected;
    Date d1After, d2After;
  } cases[] = {
      {day(2024, 3, 10), day(2024, 3, 10), 0, 1, day(2024, 3, 10), day(2024, 3, 10)},
      {day(2024, 3, 10), day(2024, 3, 5), 0, 2, day(2024, 3, 10), day(2024, 3, 11)},
      {day(2024, 3, 10), day(2024, 3, 5), 1, 2, day(2024, 3, 4), day(2024, 3, 5)},
      {day(2024, 3, 5), day(2024, 3, 10), 1, 6, day(2024, 3, 5), day(2024, 3, 10)},
      {day(2024, 3, 10), day(2024, 3, 5), 2, -4, day(2024, 3, 10), day(2024, 3, 5)},
      // The time of day does not count; the later end moves with its time.
      {day(2024, 3, 1, 20), day(2024, 3, 31, 8), 0, 31, day(2024, 3, 1, 20), day(2024, 3, 31, 8)},
      {day(2024, 3, 10, 18), day(2024, 3, 9, 6), 0, 2, day(2024, 3, 10, 18), day(2024, 3, 11, 18)},
      // More than 32767 days fails in the trap: -1, the dates as they were.
      {day(1900, 1, 1), day(2024, 1, 1), 5, -1, day(1900, 1, 1), day(2024, 1, 1)},
  };
  for (const auto& c : cases) {
    Date d1 = c.d1, d2 = c.d2;
    int16_t index = c.index;
    EXPECT_EQ(time_->DayInterval(d1, d2, index, u""), c.expected) << c.d1.days << " " << c.index;
    EXPECT_DOUBLE_EQ(d1.days, c.d1After.days);
    EXPECT_DOUBLE_EQ(d2.days, c.d2After.days);
    EXPECT_EQ(index, c.index);
    EXPECT_EQ(zv::pendingError().number, 0);
  }
}

// Without a date, today's name (named dates: tests/cases/time.tsv).
TEST_P(TimeLibLocale, DayNameOfWeekOfToday) {
  const auto locale = zv::userLocale();
  const String today = time_->DayNameOfWeek(u"", false);
  EXPECT_NE(std::find(locale->days.begin(), locale->days.end(), today), locale->days.end());
}

// Today's date from the C library, for the members that read the clock.
std::tm localNow() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  return t;
}

std::string strftime(const char* pattern, const std::tm& t) {
  char text[32];
  return std::string(text, std::strftime(text, sizeof text, pattern, &t));
}

// What `read` gives against the clock written with `pattern`, once the clock stayed on the
// same second.
template <class Read>
void expectWhileTheClockStands(Read read, const char* pattern) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::tm before = localNow();
    const std::string got = u8(read());
    const std::tm after = localNow();
    if (after.tm_sec != before.tm_sec || after.tm_min != before.tm_min) continue;
    EXPECT_EQ(got, strftime(pattern, before));
    return;
  }
  FAIL() << "the clock kept moving";
}

TEST_P(TimeLibLocale, DateOfCurrentDayWritesTodayWithTheFormat) {
  expectWhileTheClockStands([&] { return time_->DateOfCurrentDay(u""); },
                            pick("%-m/%-d/%Y", "%d/%m/%Y"));
  expectWhileTheClockStands([&] { return time_->DateOfCurrentDay(u"yyyy-mm-dd"); }, "%Y-%m-%d");
}

// Cut by position from the locale's time text, here fr-FR's "HH:mm:ss".
TEST(TimeLib, GetHourMinuteCutsTheCurrentTime) {
  zvtest::UserLocale locale("fr_FR.UTF-8");
  auto time = zv::TimeLib::create();
  expectWhileTheClockStands([&] { return time->GetHourMinute(); }, "%H:%M");
  expectWhileTheClockStands([&] { return time->GetHourMinuteSecond(); }, "%H:%M:%S");
}

// The traps end the failures inside: nothing is left pending (the results are rows of
// tests/cases/time.tsv).
TEST(TimeLib, TrappedFailuresLeaveNoPendingError) {
  auto time = zv::TimeLib::create();
  int16_t a = -1, b = -1, c = -1;
  time->ExtractAJMDate(u"1/2/99999", a, b, c, u"MM/dd/yyyy");
  EXPECT_EQ(zv::pendingError().number, 0);
  time->ExtractHMS(u"99999", a, b, c);
  EXPECT_EQ(zv::pendingError().number, 0);
  EXPECT_EQ(time->HowManySeconde(u"99999"), 0);
  EXPECT_EQ(zv::pendingError().number, 0);
  String text = u"abc", other = u"01:00:00";
  EXPECT_EQ(time->AddOrSubHour(text, other, 0), u"");
  EXPECT_EQ(zv::pendingError().number, 0);
}

// SecToTime writes the rounded seconds back (its texts: tests/cases/time.tsv).
TEST(TimeLib, SecToTimeWritesTheSecondsBack) {
  auto time = zv::TimeLib::create();
  for (auto [ms, seconds] :
       {std::pair{2500, 2}, {3500, 4}, {61000, 61}, {2147483647, 2147484}, {INT32_MIN, -2147484}}) {
    int32_t total = ms;
    time->SecToTime(total);
    EXPECT_EQ(total, seconds) << ms;
  }
}

TEST(TimeLib, RunningTimesCountFromTheInstanceAndTheSystem) {
  auto time = zv::TimeLib::create();
  EXPECT_EQ(u8(time->HowManyTimeIsRun()), "00:00:0");
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  EXPECT_EQ(u8(time->HowManyTimeIsRun()), "00:00:1");
  // A new instance starts again.
  EXPECT_EQ(u8(zv::TimeLib::create()->HowManyTimeIsRun()), "00:00:0");

  auto uptime = [](uint32_t ticks) {
    int32_t total = static_cast<int32_t>(ticks);
    return u8(zv::TimeLib::create()->SecToTime(total));
  };
  const std::string before = uptime(zv::platform::tickCount());
  const std::string got = u8(time->HowManyTimeWindowsRun());
  const std::string after = uptime(zv::platform::tickCount());
  EXPECT_TRUE(got == before || got == after) << got << " " << before << " " << after;
}

// A caller's list control seen only through invoke: records each call with its argument.
class ForeignList : public zv::Object {
 public:
  Variant invoke(zv::StringView name, unsigned, Args& args) override {
    calls.push_back(u8(String(name)) +
                    (args.empty() ? "" : " " + u8(args.at(0).value().stringValue())));
    return Variant();
  }
  String typeName() const override { return u"ForeignList"; }
  std::vector<std::string> calls;
};

// A list's items, joined by commas.
std::string itemsOf(const ObjectRef& list) {
  std::string out;
  const int32_t n = zv::toLong(zv::get(list, u"ListCount"));
  for (int32_t i = 0; i < n; ++i)
    out += (i ? "," : "") + u8(zv::toString(zv::get(list, u"List", {Arg(Variant(i))})));
  return out;
}

std::string years(int from, int to) {
  std::string out;
  for (int y = from; y <= to; ++y)
    out += (y > from ? "," : "") + std::to_string(y);
  return out;
}

TEST_P(TimeLibLocale, YearToListBoxUpToThe16BitLimitAndOnACallersObject) {
  const struct {
    int16_t start;
    int32_t error;
    int first, last;
  } cases[] = {
      {2000, 0, 2000, 2101},
      {32666, 0, 32666, 32767},
      {-32768, 0, -32768, -32667},
      {32667, 6, 0, -1},
  };
  for (const auto& c : cases) {
    ObjectRef list = zv::createModel(u"ComboBox");
    zv::call(list, u"AddItem", {Arg(Variant(u"old"))});
    EXPECT_EQ(zvtest::errorOf([&] { time_->YearToListBox(list, c.start); }), c.error) << c.start;
    // A failing start has cleared the list before failing.
    EXPECT_EQ(itemsOf(list), years(c.first, c.last)) << c.start;
  }

  // A caller's own object is reached through its members only.
  auto foreign = std::make_shared<ForeignList>();
  ObjectRef list = foreign;
  time_->YearToListBox(list, 1999);
  ASSERT_EQ(foreign->calls.size(), 103u);
  EXPECT_EQ(foreign->calls[0], "Clear");
  EXPECT_EQ(foreign->calls[1], "AddItem 1999");
  EXPECT_EQ(foreign->calls.back(), "AddItem 2100");

  // No trap: the object's failures and Nothing reach the caller.
  ObjectRef other = zv::createObject(u"ZivoviViruvov.MoneyLib");
  EXPECT_EQ(zvtest::errorOf([&] { time_->MonthToListBox(other); }), 438);
  EXPECT_EQ(zvtest::errorOf([&] { time_->YearToListBox(other, 2000); }), 438);
  ObjectRef nothing;
  EXPECT_EQ(zvtest::errorOf([&] { time_->DayNameToListBox(nothing); }), 91);
}

TEST_P(TimeLibLocale, DayAndMonthNamesInTheUsersLanguage) {
  ObjectRef list = zv::createModel(u"ListBox");
  zv::call(list, u"AddItem", {Arg(Variant(u"old"))});
  time_->DayNameToListBox(list);
  EXPECT_EQ(itemsOf(list), pick("Sunday,Monday,Tuesday,Wednesday,Thursday,Friday,Saturday",
                                "lundi,mardi,mercredi,jeudi,vendredi,samedi,dimanche"));
  time_->MonthToListBox(list);
  EXPECT_EQ(itemsOf(list),
            pick("January,February,March,April,May,June,July,August,September,October,November,"
                 "December",
                 "janvier,f\u00e9vrier,mars,avril,mai,juin,juillet,ao\u00fbt,septembre,octobre,"
                 "novembre,d\u00e9cembre"));
}

TEST_P(TimeLibLocale, LateBoundCallsConvertAndWriteBack) {
  ObjectRef time = zv::createObject(u"ZivoviViruvov.TimeLib");
  Variant total(int32_t{2500});
  EXPECT_EQ(u8(zv::toString(zv::call(time, u"SecToTime", {Arg::ref(total)}))), "00:00:2");
  EXPECT_EQ(zv::toLong(total), 2);

  // The Integer parameter refuses 32768 before the list is touched.
  ObjectRef list = zv::createModel(u"ListBox");
  zv::call(list, u"AddItem", {Arg(Variant(u"kept"))});
  Variant listArg(list);
  EXPECT_EQ(zvtest::errorOf([&] {
              zv::call(time, u"YearToListBox", {Arg::ref(listArg), Arg(Variant(int32_t{32768}))});
            }),
            6);
  EXPECT_EQ(itemsOf(list), "kept");
  // Left out, the start is 2000.
  zv::call(time, u"YearToListBox", {Arg::ref(listArg)});
  EXPECT_EQ(itemsOf(list), years(2000, 2101));
}

INSTANTIATE_TEST_SUITE_P(TimeLib, TimeLibLocale, testing::ValuesIn(kLocales),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
