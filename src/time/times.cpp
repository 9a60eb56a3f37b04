// The time side: a time text split into hours, minutes and seconds, sums and differences
// of times, durations in milliseconds written out, and the running times.
#include "api/StrChr.h"
#include "frame/traps.h"
#include "platform/clock.h"
#include "runtime/convert.h"
#include "runtime/format.h"
#include "time/TimeLib.h"
#include "time/time_text.h"

namespace zv::impl {

using timetext::secondsOfDay;
using timetext::twoDigits;
using timetext::value16;

namespace {

// The tick count as the signed 32-bit Long GetTickCount is declared with.
int32_t signedTicks() {
  return static_cast<int32_t>(platform::tickCount());
}

}  // namespace

TimeLib::TimeLib() : startTick_(signedTicks()) {}

void TimeLib::ExtractHMS(const String& theTime, int16_t& hh, int16_t& mm, int16_t& ss) {
  hh = 0;
  mm = 0;
  ss = 0;
  reportAndReturn(
      [&] {
        String t = trim(theTime);
        if (t.empty()) return;
        if (instr(t, u":") == 0) {
          ss = value16(t);
          return;
        }
        const auto str = zv::StrChr::create();
        hh = value16(right(str->GetLeft(t, u":", false), 2));
        t = str->GetRight(t, u":", false);
        if (instr(t, u":") == 0) {
          // Two parts are minutes and seconds.
          mm = hh;
          hh = 0;
          ss = value16(left(t, 2));
        } else {
          mm = value16(right(str->GetLeft(t, u":", false), 2));
          ss = value16(left(str->GetRight(t, u":", false), 2));
        }
      },
      [&] { return u"Error on ExtractHMS(" + theTime + u")"; });
}

int32_t TimeLib::HowManySeconde(const String& theTime) {
  int32_t result = 0;
  reportAndReturn(
      [&] {
        if (theTime.empty()) return;
        int16_t hh = 0, mm = 0, ss = 0;
        ExtractHMS(theTime, hh, mm, ss);
        result = hh * 3600 + mm * 60 + ss;
      },
      [&] { return u"Error on HowManySeconde(" + theTime + u")"; });
  return result;
}

bool TimeLib::isTime(const String& theTime) {
  bool result = false;
  returnOnly([&] {
    const String t = trim(theTime);
    const size_t colon = t.find(u':');
    if (t.empty() || colon == String::npos) return;
    result = isNumeric(Variant(t.substr(0, colon))) && isNumeric(Variant(t.substr(colon + 1)));
  });
  return result;
}

String TimeLib::AddOrSubHour(String& theHour1, String& theHour2, int16_t typeOp) {
  String result;
  if (typeOp != 0 && typeOp != 1) return result;
  reportAndReturn(
      [&] {
        const int32_t t1 = secondsOfDay(theHour1);
        const int32_t t2 = secondsOfDay(theHour2);
        const int32_t total = typeOp == 0 ? t1 + t2 : t1 - t2;
        // Integer division truncates towards zero: a negative total has negative parts.
        const int32_t h = total / 3600;
        const int32_t m = (total - h * 3600) / 60;
        const int32_t s = total - h * 3600 - m * 60;
        result = longToString(h) + u":" + longToString(m) + u":" + longToString(s);
      },
      [&] {
        return u"Error on Hour Operation(" + theHour1 + u", " + theHour2 + u", " +
               longToString(typeOp) + u")";
      });
  return result;
}

String TimeLib::TimeDiff(const String& Time1HHmmss, const String& Time2HHmmss) {
  // No trap: a text that is no time fails towards the caller.
  if (isBlank(Time1HHmmss) || isBlank(Time2HHmmss)) return u"0";
  const int32_t total = secondsOfDay(Time1HHmmss) - secondsOfDay(Time2HHmmss);
  const int32_t h = total / 3600;
  const int32_t m = (total - h * 3600) / 60;
  const int32_t s = total - h * 3600 - m * 60;
  const String sep = timetext::timeSeparator();
  return twoDigits(h) + sep + twoDigits(m) + sep + twoDigits(s);
}

String TimeLib::SecToTime(int32_t& Total) {
  // Milliseconds to whole seconds, halves to even (CLng); the caller sees the seconds.
  Total = static_cast<int32_t>(roundHalfEven(Total / 1000.0));
  const String sep = timetext::timeSeparator();
  if (Total <= 3600) {
    if (Total <= 60) return u"00" + sep + u"00" + sep + longToString(Total);
    const int32_t m = Total / 60;
    return longToString(m) + sep + longToString(Total - m * 60);
  }
  const int32_t h = Total / 3600;
  const int32_t m = (Total - h * 3600) / 60;
  const int32_t s = Total - h * 3600 - m * 60;
  return longToString(h) + sep + longToString(m) + sep + longToString(s);
}

String TimeLib::HowManyTimeIsRun() {
  int32_t elapsed = timetext::subtract32(signedTicks(), startTick_);
  return SecToTime(elapsed);
}

String TimeLib::HowManyTimeWindowsRun() {
  int32_t ticks = signedTicks();
  return SecToTime(ticks);
}

namespace {

// The current time in the user's time format, cut as "hh?mm?ss": two characters, one
// separator, two characters, one separator, the rest.
struct TimeCut {
  String hh, mm, ss;
};

TimeCut cutCurrentTime() {
  String t = format(Variant(timetext::timeOfDay()), u"Long Time");
  TimeCut cut;
  cut.hh = left(t, 2);
  t = mid(t, 4);
  cut.mm = left(t, 2);
  cut.ss = mid(t, 4);
  return cut;
}

}  // namespace

String TimeLib::GetHourMinute() {
  String result;
  reportAndReturn(
      [&] {
        const TimeCut t = cutCurrentTime();
        result = trim(twoDigits(t.hh) + timetext::timeSeparator() + twoDigits(t.mm));
      },
      u"Error on HourMinute()");
  return result;
}

String TimeLib::GetHourMinuteSecond() {
  String result;
  reportAndReturn(
      [&] {
        const TimeCut t = cutCurrentTime();
        const String sep = timetext::timeSeparator();
        result = trim(twoDigits(t.hh) + sep + twoDigits(t.mm) + sep + twoDigits(t.ss));
      },
      u"Error on HourMinuteSecond()");
  return result;
}

}  // namespace zv::impl
