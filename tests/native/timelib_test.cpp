// TimeLib under two user locales (en-US writes dates month first, fr-FR day first), on
// typed and late-bound calls, with the library's list models and a caller's own object.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

TEST_P(TimeLibLocale, ExtractAJMDateReadsUnderTheFormatAndTheLocale) {
  const struct {
    const char16_t *text, *format;
    std::array<int16_t, 3> en, fr;  // day, month, year
  } cases[] = {
      {u"25/12/2024", u"dd/MM/yyyy", {25, 12, 2024}, {25, 12, 2024}},
      // Read under the locale first, then rewritten: en-US reads 1 February as 2 January.
      {u"01/02/2024", u"dd/MM/yyyy", {2, 1, 2024}, {1, 2, 2024}},
      // A format without "/" gives way to the locale's.
      {u"03/04/2024", u"dd-MM-yyyy", {4, 3, 2024}, {3, 4, 2024}},
      // Not starting with DD: the first part is the month, the second's last two digits the day.
      {u"2024/03/15", u"yyyy/MM/dd", {3, 2024, 15}, {3, 2024, 15}},
      // A number is a date serial: 2024 is 16 July 1905.
      {u"2024", u"dd/MM/yyyy", {16, 7, 1905}, {16, 7, 1905}},
      // Text that stays as it is: one separator is month and year, none a year alone.
      {u"7/ab", u"dd/MM/yyyy", {0, 7, 0}, {0, 7, 0}},
      {u"abc", u"dd/MM/yyyy", {0, 0, 0}, {0, 0, 0}},
      {u"", u"dd/MM/yyyy", {0, 0, 0}, {0, 0, 0}},
      // A year beyond 16 bits fails inside the trap: every part stays 0.
      {u"1/2/99999", u"MM/dd/yyyy", {0, 0, 0}, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    std::array<int16_t, 3> got{-1, -1, -1};
    time_->ExtractAJMDate(c.text, got[0], got[1], got[2], c.format);
    EXPECT_EQ(got, pick(c.en, c.fr)) << u8(c.text) << " " << u8(c.format);
    EXPECT_EQ(zv::pendingError().number, 0);
  }
}

TEST_P(TimeLibLocale, DateEqualityComparesYearMonthDay) {
  const struct {
    const char16_t *a, *b;
    int16_t en, fr;
  } cases[] = {
      {u"01/02/2024", u"31/01/2024", 0, 2}, {u"15/03/2024", u"15/03/2024", 1, 1},
      {u"14/03/2024", u"15/03/2024", 0, 0}, {u"16/03/2024", u"15/03/2024", 2, 2},
      {u"15/04/2024", u"16/03/2024", 2, 2}, {u"31/12/2023", u"01/01/2024", 0, 0},
      {u"", u"31/01/2024", 1, 1},           {u"31/01/2024", u"", 1, 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(time_->DateEquality(c.a, c.b, u"dd/MM/yyyy"), pick(c.en, c.fr))
        << u8(c.a) << " " << u8(c.b);
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

TEST_P(TimeLibLocale, IsInThisPeriodIncludesBothEnds) {
  const std::pair<const char16_t*, bool> cases[] = {
      {u"15/01/2024", true},  {u"20/02/2024", true},  {u"16/01/2024", true},
      {u"14/01/2024", false}, {u"21/02/2024", false},
  };
  for (const auto& [text, expected] : cases) {
    String start = u"15/01/2024", end = u"20/02/2024", date = text;
    EXPECT_EQ(time_->isInThisPeriod(start, end, date, u"dd/MM/yyyy"), expected) << u8(text);
  }
  // A period written backwards holds only its two ends.
  String start = u"20/02/2024", end = u"15/01/2024", inside = u"01/02/2024";
  EXPECT_FALSE(time_->isInThisPeriod(start, end, inside, u"dd/MM/yyyy"));
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

TEST_P(TimeLibLocale, DayNameOfWeekNamesTheDateInTheUsersLanguage) {
  const struct {
    const char16_t* date;
    bool upper;
    const char16_t *en, *fr;
  } cases[] = {
      {u"15/03/2024", false, u"Friday", u"vendredi"},
      {u"04/03/2024", true, u"Wednesday", u"Lundi"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(u8(time_->DayNameOfWeek(c.date, c.upper)), u8(pick(c.en, c.fr))) << u8(c.date);
  // No trap: a text that is no date fails towards the caller.
  EXPECT_EQ(zvtest::errorOf([&] { time_->DayNameOfWeek(u"abc", false); }), 13);
  // Without a date, today's.
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

TEST_P(TimeLibLocale, WeekStartDayNumberIn16Bits) {
  EXPECT_EQ(time_->WeekStartDayNumber(2, 5, 17), 14);
  EXPECT_EQ(time_->WeekStartDayNumber(0, 0, 32767), 32767);
  // Either 16-bit subtraction overflows towards the caller.
  EXPECT_EQ(zvtest::errorOf([&] { time_->WeekStartDayNumber(-32768, 1, 0); }), 6);
  EXPECT_EQ(zvtest::errorOf([&] { time_->WeekStartDayNumber(0, 1, -32768); }), 6);
}

// ExtractHMS reads two characters around each colon; HowManySeconde sums the parts in 32 bits.
TEST_P(TimeLibLocale, ExtractHMSAndHowManySeconde) {
  using Hms = std::array<int16_t, 3>;  // hours, minutes, seconds
  const struct {
    const char16_t* text;
    Hms parts;
    int32_t seconds;
  } cases[] = {
      {u"10:30:15", {10, 30, 15}, 37815},
      {u"30:15", {0, 30, 15}, 1815},
      {u"45", {0, 0, 45}, 45},
      {u"", {0, 0, 0}, 0},
      {u"123:45:678", {23, 45, 67}, 85567},
      {u"-10:30:00", {10, 30, 0}, 37800},
      {u"-1:30:00", {-1, 30, 0}, -1800},
      {u"99:99:99", {99, 99, 99}, 362439},
      {u"2.5", {0, 0, 2}, 2},  // halves to even
      {u"3.5", {0, 0, 4}, 4},
      {u"99999", {0, 0, 0}, 0},  // beyond 16 bits: the trap leaves zeros
      {u"-32768", {0, 0, -32768}, -32768},
  };
  for (const auto& c : cases) {
    Hms got{-9, -9, -9};
    time_->ExtractHMS(c.text, got[0], got[1], got[2]);
    EXPECT_EQ(got, c.parts) << u8(c.text);
    EXPECT_EQ(time_->HowManySeconde(c.text), c.seconds) << u8(c.text);
    EXPECT_EQ(zv::pendingError().number, 0);
  }
}

TEST_P(TimeLibLocale, AddOrSubHourWritesUnpaddedParts) {
  const struct {
    const char16_t *a, *b;
    int16_t op;
    const char16_t* expected;
  } cases[] = {
      {u"10:30:00", u"01:45:30", 0, u"12:15:30"}, {u"10:30:00", u"01:45:30", 1, u"8:44:30"},
      {u"23:00:00", u"02:00:00", 0, u"25:0:0"},   {u"00:00:00", u"01:01:01", 1, u"-1:-1:-1"},
      {u"10:30:00", u"01:45:30", 2, u""},         {u"abc", u"01:00:00", 0, u""},
  };
  for (const auto& c : cases) {
    String a = c.a, b = c.b;
    EXPECT_EQ(u8(time_->AddOrSubHour(a, b, c.op)), u8(c.expected)) << u8(c.a) << " " << c.op;
    EXPECT_EQ(zv::pendingError().number, 0);
  }
}

TEST_P(TimeLibLocale, TimeDiffPadsEachPartAndFailsOnNoTime) {
  const struct {
    const char16_t *a, *b, *expected;
  } cases[] = {
      {u"10:00:00", u"09:58:55", u"00:01:05"},
      {u"08:57:55", u"10:00:00", u"-01:-02:-05"},
      {u"23:59:59", u"00:00:00", u"23:59:59"},
      {u"", u"10:00:00", u"0"},
      {u"10:00:00", u"   ", u"0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(u8(time_->TimeDiff(c.a, c.b)), u8(c.expected)) << u8(c.a) << " " << u8(c.b);
  EXPECT_EQ(zvtest::errorOf([&] { time_->TimeDiff(u"abc", u"10:00:00"); }), 13);
}

TEST_P(TimeLibLocale, IsTimeWantsNumbersAroundTheFirstColon) {
  const struct {
    const char16_t* text;
    bool en, fr;
  } cases[] = {
      {u"10:30", true, true},   {u"10:30:00", false, false}, {u"1030", false, false},
      {u"", false, false},      {u" 10 : 30 ", true, true},  {u":30", false, false},
      {u"1.5:30", true, false}, {u"1,5:30", true, true},     {u"ab:30", false, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(time_->isTime(c.text), pick(c.en, c.fr)) << u8(c.text);
}

TEST_P(TimeLibLocale, SecToTimeRoundsHalvesToEvenAndWritesBack) {
  const struct {
    int32_t ms;
    const char16_t* expected;
    int32_t seconds;
  } cases[] = {
      {2500, u"00:00:2", 2},
      {3500, u"00:00:4", 4},
      {60000, u"00:00:60", 60},
      {61000, u"1:1", 61},
      {3600000, u"60:0", 3600},
      {3601000, u"1:0:1", 3601},
      {2147483647, u"596:31:24", 2147484},
      {-2147483647 - 1, u"00:00:-2147484", -2147484},
  };
  for (const auto& c : cases) {
    int32_t total = c.ms;
    EXPECT_EQ(u8(time_->SecToTime(total)), u8(c.expected)) << c.ms;
    EXPECT_EQ(total, c.seconds) << c.ms;
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
  Variant d(0), m(0), y(0);
  zv::call(time, u"ExtractAJMDate",
           {Arg(Variant(u"01/02/2024")), Arg::ref(d), Arg::ref(m), Arg::ref(y),
            Arg(Variant(u"dd/MM/yyyy"))});
  EXPECT_EQ(zv::toLong(d), pick(2, 1));
  EXPECT_EQ(zv::toLong(m), pick(1, 2));
  EXPECT_EQ(zv::toLong(y), 2024);

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
