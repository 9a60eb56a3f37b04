// ProgressLib on the progress-bar model: attaching shows and resets the bar, values stay in
// the range, the current value follows what was set, and the control's refusals end in
// the error report.
#include <gtest/gtest.h>

#include "frame/classes.h"
#include "runtime/convert.h"
#include "test_support.h"

using zv::ObjectRef;
using zv::Variant;

namespace {

class ProgressLibTest : public testing::Test {
 protected:
  void run(const char16_t* member, zv::Args args = {}) { zv::call(lib_, member, std::move(args)); }
  double bar(const char16_t* member) { return zv::toDouble(zv::get(bar_, member)); }

  ObjectRef lib_ = zv::createObject(u"ZivoviViruvov.ProgressLib");
  ObjectRef bar_ = zv::createModel(u"ProgressBar");
  zvtest::RecordingUserInterface ui_;
};

// Attaching shows the bar and resets it; calls made while no bar was attached moved nothing.
TEST_F(ProgressLibTest, AttachingShowsAndResetsTheBar) {
  run(u"AddProgressBarValue", {Variant(10)});
  run(u"InitProgressBar", {Variant(3), Variant(5)});
  zv::put(bar_, u"Value", Variant(40.0f));
  zv::put(bar_, u"Visible", Variant(false));
  run(u"SetProgressBar", {Variant(bar_)});
  EXPECT_EQ(bar(u"Max"), 1);
  EXPECT_EQ(bar(u"Value"), 0);
  EXPECT_TRUE(zv::toBoolean(zv::get(bar_, u"Visible")));
  EXPECT_EQ(zv::toLong(zv::get(bar_, u"RefreshCount")), 1);
  EXPECT_TRUE(zv::toBoolean(zv::call(lib_, u"isSet")));
  run(u"AddProgressBarValue", {Variant(1)});
  EXPECT_EQ(bar(u"Value"), 1);  // the current value stayed 0 while no bar was attached
  run(u"unSetProgressBar");
  EXPECT_FALSE(zv::toBoolean(zv::get(bar_, u"Visible")));
  EXPECT_FALSE(zv::toBoolean(zv::call(lib_, u"isSet")));
  run(u"SetProgressBar", {Variant(bar_)});
  run(u"SetProgressBar", {Variant(ObjectRef())});
  EXPECT_FALSE(zv::toBoolean(zv::call(lib_, u"isSet")));
}

TEST_F(ProgressLibTest, ValuesStayWithinTheRange) {
  run(u"SetProgressBar", {Variant(bar_)});
  const struct {
    const char16_t* member;
    int32_t a, b;
    double value, max;
  } steps[] = {{u"InitProgressBar", 5, 0, 1, 1},  // a maximum below 1 is 1
               {u"InitProgressBar", 2, 10, 2, 10},     {u"AddProgressBarValue", 3, 0, 5, 10},
               {u"SetProgressBarValue", -3, 0, 0, 10}, {u"AddProgressBarValue", 40, 0, 10, 10},
               {u"AddProgressBarValue", -4, 0, 6, 10}};
  for (const auto& s : steps) {
    run(s.member, s.b ? zv::Args{Variant(s.a), Variant(s.b)} : zv::Args{Variant(s.a)});
    EXPECT_EQ(bar(u"Value"), s.value) << zv::toUtf8(s.member) << s.a;
    EXPECT_EQ(bar(u"Max"), s.max);
  }
  // The current value is the bar's read back, rounded half to even.
  zv::put(bar_, u"Min", Variant(2.5f));
  run(u"SetProgressBarValue", {Variant(0)});
  run(u"AddProgressBarValue", {Variant(1)});
  EXPECT_EQ(bar(u"Value"), 3);
  // The sum is a Long without a trap: past its range the call fails.
  EXPECT_EQ(zvtest::errorOf([&] { run(u"AddProgressBarValue", {Variant(INT32_MAX)}); }), 6);
}

TEST_F(ProgressLibTest, TheControlsRefusalIsReported) {
  zv::put(bar_, u"Max", Variant(10.0f));
  zv::put(bar_, u"Min", Variant(5.0f));
  run(u"SetProgressBar", {Variant(bar_), Variant(true)});
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text.substr(0, 38), u"Error on initializing the progress bar");
  EXPECT_NE(ui_.boxes[0].text.find(u"Error #380"), zv::String::npos);
  EXPECT_TRUE(zv::toBoolean(zv::call(lib_, u"isSet")));  // attached before the refusal
}

}  // namespace
