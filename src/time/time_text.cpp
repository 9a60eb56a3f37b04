#include "time/time_text.h"

#include <cmath>

#include "api/SystemLib.h"
#include "platform/clock.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/format.h"
#include "runtime/vbdate.h"

namespace zv::impl::timetext {

int16_t value16(StringView text) {
  const double rounded = roundHalfEven(val(text));
  if (!(rounded >= -32768 && rounded <= 32767)) raise(err::kOverflow);
  return static_cast<int16_t>(rounded);
}

String dateSeparator() {
  return zv::SystemLib::create()->GetLocaleSeparatorDate(0);
}
String shortDateFormat() {
  return zv::SystemLib::create()->GetLocaleShortDate(0);
}
String timeSeparator() {
  return zv::SystemLib::create()->GetLocaleSeparatorTime(0);
}

String twoDigits(const String& text) {
  return format(Variant(text), u"00");
}
String twoDigits(int32_t value) {
  return format(Variant(value), u"00");
}

int32_t secondsOfDay(const String& time) {
  const DateParts p = splitDate(toDate(Variant(time)));
  return p.hour * 3600 + p.minute * 60 + p.second;
}

Date today() {
  const platform::LocalTime t = platform::localNow();
  return makeDate(t.year, t.month, t.day).value_or(Date{});
}

Date timeOfDay() {
  const platform::LocalTime t = platform::localNow();
  return Date{(t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0};
}

int32_t subtract32(int32_t a, int32_t b) {
  const int64_t difference = static_cast<int64_t>(a) - b;
  if (difference < INT32_MIN || difference > INT32_MAX) raise(err::kOverflow);
  return static_cast<int32_t>(difference);
}

}  // namespace zv::impl::timetext
