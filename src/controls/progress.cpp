#include <algorithm>

#include "controls/ProgressLib.h"
#include "frame/traps.h"
#include "runtime/convert.h"

namespace zv::impl {

void ProgressLib::SetProgressBar(ObjectRef& theBar, bool displayERR) {
  unSetProgressBar(false);
  // Nothing given only detaches the bar there was.
  if (!theBar) return;
  reportAndReturn(
      [&] {
        bar_ = theBar;
        if (toSingle(get(bar_, u"Min")) >= toSingle(get(bar_, u"Max")))
          put(bar_, u"Min", Variant(0.0f));
        put(bar_, u"Max", Variant(1.0f));
        put(bar_, u"Value", Variant(0.0f));
        put(bar_, u"Visible", Variant(true));
        call(bar_, u"Refresh");
      },
      u"Error on initializing the progress bar", displayERR);
}

void ProgressLib::unSetProgressBar(bool) {
  if (bar_) resumeNext([&] { put(bar_, u"Visible", Variant(false)); });
  bar_ = nullptr;
  current_ = 0;
}

bool ProgressLib::isSet(bool displayERR) {
  bool result = false;
  reportAndReturn([&] { result = bar_ != nullptr; }, u"Error on testing the progress bar",
                  displayERR);
  return result;
}

void ProgressLib::InitProgressBar(int32_t theValue, int32_t theMax, bool displayERR) {
  reportAndReturn(
      [&] {
        if (!isSet(displayERR)) return;
        put(bar_, u"Max", Variant(static_cast<float>(theMax < 1 ? 1 : theMax)));
        SetProgressBarValue(theValue, displayERR);
      },
      u"Error on initializing the progress bar", displayERR);
}

void ProgressLib::SetProgressBarValue(int32_t theValue, bool displayERR) {
  reportAndReturn(
      [&] {
        if (!isSet(displayERR)) {
          current_ = 0;
          return;
        }
        const float max = toSingle(get(bar_, u"Max"));
        const float value = static_cast<float>(theValue);
        put(bar_, u"Value",
            Variant(value > max ? max : std::max(toSingle(get(bar_, u"Min")), value)));
        current_ = toLong(Variant(toSingle(get(bar_, u"Value"))));
      },
      [&] { return u"Error on setting the progress value: " + longToString(theValue); },
      displayERR);
}

void ProgressLib::AddProgressBarValue(int32_t theValue, bool displayERR) {
  // The sum is a Long with no trap around it: beyond the range the call fails.
  const int64_t sum = int64_t{current_} + theValue;
  if (sum < INT32_MIN || sum > INT32_MAX) raise(err::kOverflow);
  SetProgressBarValue(static_cast<int32_t>(sum), displayERR);
}

}  // namespace zv::impl
