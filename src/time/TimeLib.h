// TimeLib: dates as text in a date format (parsing, comparison, periods, day names) and
// times (arithmetic, durations, the running times, calendar lists).
#pragma once

#include <cstdint>

#include "api/TimeLib.h"

namespace zv::impl {

class TimeLib final : public zv::TimeLib {
 public:
  TimeLib();

  // dates.cpp
  void ExtractAJMDate(const String& theDate, int16_t& theDay, int16_t& theMonth, int16_t& theYear,
                      const String& dateFormat) override;
  int16_t DateEquality(const String& theDate1, const String& theDate2,
                       const String& dateFormat) override;
  int16_t DateComparison(Date theDate1, Date theDate2, const String& dateFormat) override;
  String DateOfCurrentDay(const String& dateFormat) override;
  String DayNameOfWeek(const String& theDate, bool uCaseDate) override;
  int16_t WeekStartDayNumber(int16_t StartOfWeek, int16_t theDayId, int16_t theDayOfWeek) override;

  // periods.cpp
  bool isInThisPeriod(String& startPeriod, String& endPeriod, String& theDate,
                      const String& dateFormat) override;
  int16_t DayInterval(Date& theDate1, Date& theDate2, int16_t& Index,
                      const String& theFormat) override;

  // times.cpp
  void ExtractHMS(const String& theTime, int16_t& hh, int16_t& mm, int16_t& ss) override;
  int32_t HowManySeconde(const String& theTime) override;
  bool isTime(const String& theTime) override;
  String AddOrSubHour(String& theHour1, String& theHour2, int16_t typeOp) override;
  String TimeDiff(const String& Time1HHmmss, const String& Time2HHmmss) override;
  String SecToTime(int32_t& Total) override;
  String HowManyTimeIsRun() override;
  String HowManyTimeWindowsRun() override;
  String GetHourMinute() override;
  String GetHourMinuteSecond() override;

  // calendar_lists.cpp
  void YearToListBox(ObjectRef& theList, int16_t startList) override;
  void DayNameToListBox(ObjectRef& theList) override;
  void MonthToListBox(ObjectRef& theList) override;

 private:
  // The tick count when the instance was created, as GetTickCount's signed Long.
  const int32_t startTick_;
};

}  // namespace zv::impl
