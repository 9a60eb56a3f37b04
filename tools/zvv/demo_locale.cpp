#include "demo_locale.h"

#include <cstdio>

#include "api/MoneyLib.h"
#include "api/SystemLib.h"
#include "api/TimeLib.h"
#include "demo_output.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/vbdate.h"

namespace zvv {

namespace {

using zv::String;

String compareName(int16_t value) {
  switch (value) {
    case 0:
      return u"TimeLower";
    case 1:
      return u"TimeEqual";
    case 2:
      return u"TimeUpper";
    default:
      return zv::longToString(value);
  }
}

}  // namespace

void localeDemoPart() {
  std::puts("Locale, dates and amounts (SystemLib, TimeLib, MoneyLib)");
  try {
    // The summary's lines, one by one ("Language" is followed by an empty line).
    const String summary = zv::SystemLib::create()->GetTheLocaleInfo(0);
    size_t start = 0;
    for (size_t end; (end = summary.find(u"\r\n", start)) != String::npos; start = end + 2) {
      const String line = summary.substr(start, end - start);
      if (!line.empty()) std::printf("  %s\n", zv::toUtf8(line).c_str());
    }
  } catch (const zv::Error& e) {
    say(u"GetTheLocaleInfo", u"error " + zv::longToString(e.number()) + u": " + e.description());
  }

  auto time = zv::TimeLib::create();
  say(u"DateEquality(01/02, 31/01/2024)",
      compareName(time->DateEquality(u"01/02/2024", u"31/01/2024", u"dd/MM/yyyy")) +
          u" (dd/MM/yyyy)");
  say(u"DateComparison(1 Feb, 31 Jan 2024)",
      compareName(
          time->DateComparison(*zv::makeDate(2024, 2, 1), *zv::makeDate(2024, 1, 31), u"")));
  say(u"DayNameOfWeek(2024-12-25, uCase)", time->DayNameOfWeek(u"2024-12-25", true));
  int32_t total = 3725000;
  say(u"SecToTime(3725000 ms)", time->SecToTime(total));

  auto money = zv::MoneyLib::create();
  say(u"GetCurrencyFormat(1234567.891)", money->GetCurrencyFormat(zv::Currency{12345678910}, u""));
  say(u"FormatCurrencyString(\"1 234,5\")", money->FormatCurrencyString(u"1 234,5", u""));
  say(u"ChangeToDecimal(\"1.234,56\")", money->ChangeToDecimal(u"1.234,56"));
}

}  // namespace zvv
