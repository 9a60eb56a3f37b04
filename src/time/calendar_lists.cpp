// Years, weekday names and month names into the caller's list box or combo box, reached
// only through its Clear and AddItem members.
#include "runtime/convert.h"
#include "runtime/object.h"
#include "runtime/vblocale.h"
#include "time/TimeLib.h"

namespace zv::impl {

namespace {

void addItem(const ObjectRef& list, String text) {
  call(list, u"AddItem", {Arg(Variant(std::move(text)))});
}

}  // namespace

void TimeLib::YearToListBox(ObjectRef& theList, int16_t startList) {
  // No trap. The last year is a 16-bit sum, so a start above 32666 fails (error 6) once
  // the list is cleared.
  call(theList, u"Clear");
  const int16_t last = toInteger16(static_cast<int32_t>(startList) + 101);
  for (int32_t year = startList; year <= last; ++year)
    addItem(theList, longToString(year));
}

void TimeLib::DayNameToListBox(ObjectRef& theList) {
  const auto locale = userLocale();
  call(theList, u"Clear");
  for (int32_t i = 0; i < 7; ++i)
    addItem(theList, locale->days[(locale->firstDayOfWeek - 1 + i) % 7]);
}

void TimeLib::MonthToListBox(ObjectRef& theList) {
  const auto locale = userLocale();
  call(theList, u"Clear");
  for (const String& month : locale->months)
    addItem(theList, month);
}

}  // namespace zv::impl
