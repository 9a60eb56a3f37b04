// Run-time errors, the thread's pending error and the trap forms of the public methods.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <thread>

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

struct Description {
  int32_t number;
  String text;
};

class DescriptionTest : public testing::TestWithParam<Description> {};

TEST_P(DescriptionTest, NamesStandardErrors) {
  EXPECT_EQ(zv::standardDescription(GetParam().number), GetParam().text);
  EXPECT_EQ(Error(GetParam().number).description(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, DescriptionTest,
    testing::Values(Description{5, u"Invalid procedure call or argument"},
                    Description{6, u"Overflow"}, Description{7, u"Out of memory"},
                    Description{9, u"Subscript out of range"}, Description{13, u"Type mismatch"},
                    Description{52, u"Bad file name or number"}, Description{53, u"File not found"},
                    Description{54, u"Bad file mode"}, Description{62, u"Input past end of file"},
                    Description{67, u"Too many files"}, Description{70, u"Permission denied"},
                    Description{75, u"Path/File access error"}, Description{76, u"Path not found"},
                    Description{91, u"Object variable or With block variable not set"},
                    Description{94, u"Invalid use of Null"}, Description{424, u"Object required"},
                    Description{429, u"ActiveX component can't create object"},
                    Description{438, u"Object doesn't support this property or method"},
                    Description{448, u"Named argument not found"},
                    Description{449, u"Argument not optional"},
                    Description{450, u"Wrong number of arguments or invalid property assignment"},
                    Description{457,
                                u"This key is already associated with an element of this "
                                u"collection"},
                    Description{0, u""}, Description{12345, u""}, Description{-1, u""}));

TEST(Errors, ErrorCarriesItsDetails) {
  Error e(53, u"", u"Caller.Source");
  EXPECT_EQ(e.number(), 53);
  EXPECT_EQ(e.description(), u"File not found");
  EXPECT_EQ(e.source(), u"Caller.Source");
  EXPECT_EQ(e.line(), 0);
  EXPECT_EQ(e.helpContext(), 0);
  EXPECT_STREQ(e.what(), "error 53: File not found");

  Error custom(1001, u"Caf\u00E9 closed", u"S");
  custom.withLine(40).withHelp(u"help.chm", 77).withSource(u"T");
  EXPECT_EQ(custom.description(), u"Caf\u00E9 closed");
  EXPECT_EQ(custom.line(), 40);
  EXPECT_EQ(custom.helpFile(), u"help.chm");
  EXPECT_EQ(custom.helpContext(), 77);
  EXPECT_EQ(custom.source(), u"T");
  EXPECT_STREQ(custom.what(), "error 1001: Caf\xC3\xA9 closed");
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

TEST(Errors, RaiseThrowsTheNumberWithItsDescription) {
  const auto standard = caught([] { zv::raise(zv::err::kOverflow); });
  ASSERT_TRUE(standard);
  EXPECT_EQ(standard->number(), 6);
  EXPECT_EQ(standard->description(), u"Overflow");
  const auto custom = caught([] { zv::raise(380, u"Invalid property value"); });
  ASSERT_TRUE(custom);
  EXPECT_EQ(custom->number(), 380);
  EXPECT_EQ(custom->description(), u"Invalid property value");
}

TEST_F(PendingErrorTest, SetCopiesAllSixItemsAndClearResetsThem) {
  Error e(76, u"", u"Src");
  e.withLine(12).withHelp(u"h.hlp", 9);
  zv::setPendingError(e);
  const zv::PendingError& p = zv::pendingError();
  EXPECT_EQ(p.number, 76);
  EXPECT_EQ(p.description, u"Path not found");
  EXPECT_EQ(p.source, u"Src");
  EXPECT_EQ(p.line, 12);
  EXPECT_EQ(p.helpFile, u"h.hlp");
  EXPECT_EQ(p.helpContext, 9);
  zv::clearPendingError();
  EXPECT_EQ(p.number, 0);
  EXPECT_EQ(p.description, u"");
  EXPECT_EQ(p.source, u"");
  EXPECT_EQ(p.line, 0);
  EXPECT_EQ(p.helpFile, u"");
  EXPECT_EQ(p.helpContext, 0);
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

TEST_F(PendingErrorTest, OnErrorSetsPendingAndRunsHandler) {
  int result = 0;
  int handled = 0;
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
  EXPECT_EQ(zv::pendingError().number, 11);
  EXPECT_EQ(zv::pendingError().description, u"Division by zero");
}

TEST_F(PendingErrorTest, OnErrorRunsNoHandlerWhenBodySucceeds) {
  zv::setPendingError(Error(5));
  int handled = 0;
  zv::onError([] {}, [&] { ++handled; });
  EXPECT_EQ(handled, 0);
  EXPECT_EQ(zv::pendingError().number, 5);
}

TEST_F(PendingErrorTest, OnErrorTurnsOutOfMemoryIntoErrorSeven) {
  int handled = 0;
  zv::onError([] { throw std::bad_alloc(); }, [&] { ++handled; });
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(zv::pendingError().number, 7);
  EXPECT_EQ(zv::pendingError().description, u"Out of memory");
}

TEST_F(PendingErrorTest, ReturnOnlyKeepsResultAndClearsError) {
  String result = u"neutral";
  zv::returnOnly([&] {
    result = u"partial";
    zv::raise(zv::err::kTypeMismatch);
  });
  EXPECT_EQ(result, u"partial");
  EXPECT_EQ(zv::pendingError().number, 0);
}

TEST_F(PendingErrorTest, ResumeNextSkipsOneStatementAndLeavesErrorPending) {
  int steps = 0;
  zv::resumeNext([&] {
    ++steps;
    zv::raise(zv::err::kPathNotFound);
  });
  zv::resumeNext([&] { ++steps; });
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(zv::pendingError().number, 76);
}

TEST_F(PendingErrorTest, ReportAndReturnReportsSilentlyByDefault) {
  zvtest::RecordingUserInterface ui;
  int32_t result = -1;
  zv::reportAndReturn(
      [&] {
        result = 3;
        zv::raise(zv::err::kSubscriptOutOfRange);
      },
      u"Error on something");
  EXPECT_EQ(result, 3);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(ui.pointers, std::vector<int32_t>{0});
  EXPECT_EQ(zv::pendingError().number, 0);
}

TEST_F(PendingErrorTest, ReportAndReturnBuildsMessageAtFailure) {
  zvtest::RecordingUserInterface ui;
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
}

TEST_F(PendingErrorTest, ReportAndReturnDoesNothingWhenBodySucceeds) {
  zvtest::RecordingUserInterface ui;
  int built = 0;
  zv::reportAndReturn([] {},
                      [&] {
                        ++built;
                        return String(u"never");
                      });
  EXPECT_EQ(built, 0);
  EXPECT_TRUE(ui.pointers.empty());
}

}  // namespace
