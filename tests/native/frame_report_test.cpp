// ReportError, ReportErrorText and ShowInformation: the exact texts, the box each shows,
// the pointer reset and the pending error left behind.
#include <gtest/gtest.h>

#include <tuple>

#include "frame/varnix.h"
#include "platform/user_interface.h"
#include "runtime/errors.h"
#include "test_support.h"

using zv::Error;
using zv::String;

namespace {

class ReportTest : public testing::Test {
 protected:
  void SetUp() override { zv::clearPendingError(); }
  void TearDown() override { zv::clearPendingError(); }

  zvtest::RecordingUserInterface ui_;
};

// The plain form with a standard description is in the box tests below.
TEST_F(ReportTest, ReportErrorTextComposesMessageAndDetails) {
  const struct {
    int32_t number;  // 0: no pending error
    String description, source;
    int32_t line;
    String message, expected;
  } cases[] = {{0, u"", u"", 0, u"Error on it", u"Error on it"},
               {9, u"", u"Src", 120, u"M",
                u"M\r\n\r\nError #9 - Line n\u00B0 120 by Src\r\nSubscript out of range"},
               {31999, u"", u"Src", 0, u"M", u"M\r\n\r\nError #31999 by Src"},  // no description
               {-2147024894, u"Automation failure", u"Host", 0, u"",
                u"\r\n\r\nError #-2147024894 by Host\r\nAutomation failure"},
               {5, u"", u"S", -3, u"M",
                u"M\r\n\r\nError #5 - Line n\u00B0 -3 by S\r\nInvalid procedure call or argument"}};
  for (const auto& c : cases) {
    zv::clearPendingError();
    if (c.number != 0)
      zv::setPendingError(Error(c.number, c.description, c.source).withLine(c.line));
    EXPECT_EQ(zv::ReportErrorText(c.message), c.expected);
    // Composing the text leaves the pending error alone.
    EXPECT_EQ(zv::pendingError().number, c.number);
  }
}

TEST_F(ReportTest, ShownBoxCarriesTextTitleStyleAndHelp) {
  Error e(53, u"", u"ZivoviViruvov.FileLib");
  e.withHelp(u"/help/zv.chm", 4711);
  zv::setPendingError(e);
  zv::ReportError(u"Error on file reading:\r\nF", true);
  zv::ReportError(u"Just this", true);  // no pending error: the message alone, no help
  ASSERT_EQ(ui_.boxes.size(), 2u);
  const auto& box = ui_.boxes[0];
  EXPECT_EQ(
      box.text,
      u"Error on file reading:\r\nF\r\n\r\nError #53 by ZivoviViruvov.FileLib\r\nFile not found");
  EXPECT_EQ(box.helpFile, u"/help/zv.chm");
  EXPECT_EQ(box.helpContext, 4711);
  EXPECT_EQ(ui_.boxes[1].text, u"Just this");
  EXPECT_EQ(ui_.boxes[1].helpFile, u"");
  EXPECT_EQ(ui_.boxes[1].helpContext, 0);
  for (const auto& shown : ui_.boxes) {
    EXPECT_EQ(shown.title, u"Error message");
    EXPECT_EQ(shown.style, 65552);
  }
  EXPECT_EQ(ui_.pointers, (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(zv::pendingError().number, 0);
  EXPECT_EQ(zv::pendingError().source, u"");
}

// A silent report shows nothing; a box or pointer that fails neither replaces the reported
// error nor keeps it pending.
TEST_F(ReportTest, SilentOrFailingReportsClearTheError) {
  const struct {
    bool show, failBox, failPointer;
  } cases[] = {{false, false, false}, {true, true, false}, {true, false, true}};
  for (const auto& c : cases) {
    ui_.boxes.clear();
    ui_.pointers.clear();
    ui_.failBoxes = c.failBox;
    ui_.failPointer = c.failPointer;
    zv::setPendingError(Error(53, u"", u"S").withLine(3).withHelp(u"h", 1));
    zv::ReportError(u"M", c.show);
    ASSERT_EQ(ui_.boxes.size(), c.show ? 1u : 0u);
    for (const auto& box : ui_.boxes)
      EXPECT_EQ(box.text, u"M\r\n\r\nError #53 - Line n\u00B0 3 by S\r\nFile not found");
    EXPECT_EQ(ui_.pointers, std::vector<int32_t>{0});
    const zv::PendingError& p = zv::pendingError();
    EXPECT_EQ(std::tie(p.number, p.line, p.helpFile, p.helpContext), std::tuple(0, 0, String(), 0));
  }
}

// A blank title is kept, an empty one is "Information"; failures are ignored and the pending
// error stays as it was.
TEST_F(ReportTest, ShowInformation) {
  const std::pair<zv::StringView, zv::StringView> shown[] = {
      {u"The list is empty.", u"Export"}, {u"", u"Information"}, {u"x", u" "}};
  zv::ShowInformation(u"The list is empty.", u"Export");
  zv::ShowInformation(u"", u"");
  ui_.failBoxes = ui_.failPointer = true;
  zv::setPendingError(Error(53, u"", u"S"));
  EXPECT_NO_THROW(zv::ShowInformation(u"x", u" "));
  ASSERT_EQ(ui_.boxes.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(ui_.boxes[i].text, shown[i].first);
    EXPECT_EQ(ui_.boxes[i].title, shown[i].second);
    EXPECT_EQ(ui_.boxes[i].style, 64);
  }
  EXPECT_EQ(ui_.pointers, (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(std::tuple(zv::pendingError().number, zv::pendingError().description,
                       zv::pendingError().source),
            std::tuple(53, String(u"File not found"), String(u"S")));
}

TEST(UserInterface, IconNames) {
  const std::pair<int32_t, const char*> cases[] = {
      {65552, "critical"}, {16, "critical"}, {32, "question"}, {48, "exclamation"},
      {64, "information"}, {0, "none"},      {4, "none"}};
  for (const auto& [style, name] : cases)
    EXPECT_STREQ(zv::platform::iconName(style), name);
}

}  // namespace
