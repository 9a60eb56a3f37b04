// Run-time errors, the thread's pending error and the trap forms of the public methods.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <thread>
#include <tuple>

#include "frame/traps.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/trap.h"
#include "test_support.h"

using zv::Error;
using zv::String;
using zvtest::caught;
using zvtest::errorOf;

namespace {

class PendingErrorTest : public testing::Test {
 protected:
  void SetUp() override { zv::clearPendingError(); }
  void TearDown() override { zv::clearPendingError(); }
};

// The texts of 5, 7, 9, 53, 76, 449 and 457 are checked where those errors arise.
TEST(Errors, NamesStandardErrors) {
  const std::pair<int32_t, String> cases[] = {
      {6, u"Overflow"},
      {13, u"Type mismatch"},
      {52, u"Bad file name or number"},
      {54, u"Bad file mode"},
      {62, u"Input past end of file"},
      {67, u"Too many files"},
      {70, u"Permission denied"},
      {75, u"Path/File access error"},
      {91, u"Object variable or With block variable not set"},
      {94, u"Invalid use of Null"},
      {424, u"Object required"},
      {429, u"ActiveX component can't create object"},
      {438, u"Object doesn't support this property or method"},
      {448, u"Named argument not found"},
      {450, u"Wrong number of arguments or invalid property assignment"},
      {0, u""},
      {12345, u""},
      {-1, u""}};
  for (const auto& [number, text] : cases) {
    EXPECT_EQ(zv::standardDescription(number), text) << number;
    EXPECT_EQ(Error(number).description(), text) << number;
  }
}

// An empty description takes the standard one; what() is UTF-8. (Line and help items: the
// pending error test.)
TEST(Errors, ErrorCarriesItsDetails) {
  Error e(53, u"", u"Caller.Source");
  EXPECT_EQ(e.description(), u"File not found");
  EXPECT_EQ(e.source(), u"Caller.Source");
  EXPECT_EQ(e.line(), 0);
  EXPECT_STREQ(e.what(), "error 53: File not found");

  Error custom(1001, u"Caf\u00E9 closed", u"S");
  EXPECT_EQ(custom.withSource(u"T").source(), u"T");
  EXPECT_STREQ(custom.what(), "error 1001: Caf\xC3\xA9 closed");

  const auto raised = caught([] { zv::raise(380, u"Invalid property value"); });
  ASSERT_TRUE(raised);
  EXPECT_EQ(raised->number(), 380);
  EXPECT_EQ(raised->description(), u"Invalid property value");
}

TEST(Errors, SourceScopeNamesTheRunningClassAndNests) {
  {
    zv::SourceScope outer(u"ZivoviViruvov.FileLib");
    EXPECT_EQ(Error(5).source(), u"ZivoviViruvov.FileLib");
    {
      zv::SourceScope inner(u"ZivoviViruvov.StrChr");
      EXPECT_EQ(zv::currentSource(), u"ZivoviViruvov.StrChr");
      EXPECT_EQ(Error(5).source(), u"ZivoviViruvov.StrChr");
      EXPECT_EQ(Error(5, u"", u"Given").source(), u"Given");
    }
    EXPECT_EQ(zv::currentSource(), u"ZivoviViruvov.FileLib");
  }
  EXPECT_NE(zv::currentSource(), u"ZivoviViruvov.FileLib");
}

// The six items of the pending error, to compare at once.
auto itemsOf(const zv::PendingError& p) {
  return std::tuple(p.number, p.description, p.source, p.line, p.helpFile, p.helpContext);
}

TEST_F(PendingErrorTest, SetCopiesAllSixItemsAndClearResetsThem) {
  Error e(76, u"", u"Src");
  e.withLine(12).withHelp(u"h.hlp", 9);
  zv::setPendingError(e);
  EXPECT_EQ(itemsOf(zv::pendingError()),
            std::tuple(76, String(u"Path not found"), String(u"Src"), 12, String(u"h.hlp"), 9));
  zv::clearPendingError();
  EXPECT_EQ(itemsOf(zv::pendingError()), itemsOf(zv::PendingError{}));
}

TEST_F(PendingErrorTest, BelongsToTheCallingThread) {
  zv::setPendingError(Error(53));
  int32_t seen = -1;
  std::thread other([&] {
    seen = zv::pendingError().number;
    zv::setPendingError(Error(5));
  });
  other.join();
  EXPECT_EQ(seen, 0);
  EXPECT_EQ(zv::pendingError().number, 53);
}

TEST_F(PendingErrorTest, OnErrorSetsPendingAndRunsHandlerOnlyOnFailure) {
  int handled = 0;
  zv::setPendingError(Error(5));
  zv::onError([] {}, [&] { ++handled; });
  EXPECT_EQ(handled, 0);
  EXPECT_EQ(zv::pendingError().number, 5);

  int result = 0;
  int32_t numberInHandler = 0;
  zv::onError(
      [&] {
        result = 1;
        zv::raise(zv::err::kDivisionByZero);
        result = 2;
      },
      [&] {
        ++handled;
        numberInHandler = zv::pendingError().number;
      });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(numberInHandler, 11);
  EXPECT_EQ(zv::pendingError().description, u"Division by zero");

  // Running out of memory is error 7.
  zv::onError([] { throw std::bad_alloc(); }, [&] { ++handled; });
  EXPECT_EQ(handled, 2);
  EXPECT_EQ(zv::pendingError().number, 7);
  EXPECT_EQ(zv::pendingError().description, u"Out of memory");
}

TEST_F(PendingErrorTest, ReturnOnlyClearsTheErrorResumeNextLeavesIt) {
  String result = u"neutral";
  zv::returnOnly([&] {
    result = u"partial";
    zv::raise(zv::err::kTypeMismatch);
  });
  EXPECT_EQ(result, u"partial");
  EXPECT_EQ(zv::pendingError().number, 0);

  int steps = 0;
  zv::resumeNext([&] {
    ++steps;
    zv::raise(zv::err::kPathNotFound);
  });
  zv::resumeNext([&] { ++steps; });
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(zv::pendingError().number, 76);
}

// The report is silent by default; a message builder runs only at a failure, when it fails.
TEST_F(PendingErrorTest, ReportAndReturnReportsAtFailure) {
  zvtest::RecordingUserInterface ui;
  zv::reportAndReturn([] { zv::raise(zv::err::kSubscriptOutOfRange); }, u"Error on something");
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(ui.pointers, std::vector<int32_t>{0});
  int i = 0;
  int built = 0;
  zv::reportAndReturn(
      [&] {
        for (i = 0; i < 5; ++i)
          if (i == 3) throw Error(9, u"", u"Src");
      },
      [&] {
        ++built;
        return u"Error at (" + zv::longToString(i) + u")";
      },
      true);
  EXPECT_EQ(built, 1);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, u"Error at (3)\r\n\r\nError #9 by Src\r\nSubscript out of range");
  EXPECT_EQ(zv::pendingError().number, 0);

  // A body that succeeds builds no message and reports nothing.
  const auto pointers = ui.pointers;
  zv::reportAndReturn([] {},
                      [&] {
                        ++built;
                        return String(u"never");
                      });
  EXPECT_EQ(built, 1);
  EXPECT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.pointers, pointers);
}

}  // namespace
