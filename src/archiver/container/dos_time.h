// DOS dates and times: the local date and time of an entry in two 16-bit words, with
// two-second steps, from 1980 to 2107.
#pragma once

#include <cstdint>

namespace zv::archiver {

struct DosParts {
  int year, month, day, hour, minute, second;
};

DosParts splitDosTime(uint32_t dosTime);

// The DOS time of `seconds` since 1970 (UTC) in local time, an odd second rounded up as
// Info-ZIP does; dates outside the DOS range are clamped to it.
uint32_t dosTimeOf(int64_t seconds);

// Seconds since 1970 (UTC) of a DOS time read as local time.
int64_t secondsOf(uint32_t dosTime);

}  // namespace zv::archiver
