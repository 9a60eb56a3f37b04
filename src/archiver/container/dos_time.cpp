#include "archiver/container/dos_time.h"

#include <ctime>

#include "archiver/os/os.h"

namespace zv::archiver {

DosParts splitDosTime(uint32_t dosTime) {
  const uint32_t date = dosTime >> 16;
  const uint32_t time = dosTime & 0xFFFF;
  return {static_cast<int>((date >> 9) + 1980), static_cast<int>((date >> 5) & 0x0F),
          static_cast<int>(date & 0x1F),        static_cast<int>(time >> 11),
          static_cast<int>((time >> 5) & 0x3F), static_cast<int>((time & 0x1F) * 2)};
}

uint32_t dosTimeOf(int64_t seconds) {
  std::tm t{};
  if (!os::localTime(seconds + (seconds & 1), t)) return (1u << 21) | (1u << 16);
  if (t.tm_year < 80) return (1u << 21) | (1u << 16);  // 1980-01-01 00:00
  if (t.tm_year > 207) return 0xFF9FBF7Du;             // 2107-12-31 23:59:58
  const uint32_t date = ((t.tm_year - 80) << 9) | ((t.tm_mon + 1) << 5) | t.tm_mday;
  const uint32_t time = (t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2);
  return (date << 16) | time;
}

int64_t secondsOf(uint32_t dosTime) {
  const DosParts p = splitDosTime(dosTime);
  std::tm t{};
  t.tm_year = p.year - 1900;
  t.tm_mon = p.month - 1;
  t.tm_mday = p.day;
  t.tm_hour = p.hour;
  t.tm_min = p.minute;
  t.tm_sec = p.second;
  t.tm_isdst = -1;
  return static_cast<int64_t>(std::mktime(&t));
}

}  // namespace zv::archiver
