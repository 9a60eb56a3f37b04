// What TimeLib's members share: reading a number out of a date or time text, the locale
// items it asks SystemLib for, the "00" pattern and the clocks as date values.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace zv::impl::timetext {

// The number the leading numeric characters of `text` form (Val), rounded half to even
// into a 16-bit Integer; error 6 beyond.
int16_t value16(StringView text);

// The user's date separator, short date format and time separator (SystemLib, locale 0).
String dateSeparator();
String shortDateFormat();
String timeSeparator();

// Format(text, "00"): a number with at least two digits; other text unchanged.
String twoDigits(const String& text);
String twoDigits(int32_t value);

// Hour(t) * 3600 + Minute(t) * 60 + Second(t) of a text the platform reads as a time.
int32_t secondsOfDay(const String& time);

// Today at midnight, and the current time of day alone, as date values.
Date today();
Date timeOfDay();

// a - b in 32-bit signed arithmetic: error 6 on overflow.
int32_t subtract32(int32_t a, int32_t b);

}  // namespace zv::impl::timetext
