// FileLib's text files: bytes read by line (CR LF or CR ends a line), whole contents, lines
// by number or text, text boxes loaded and saved; nothing stays open after a call. Missing
// files are in the case table (tests/cases/filelib.tsv).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "api/FileLib.h"
#include "frame/classes.h"
#include "frame/file_numbers.h"
#include "runtime/convert.h"
#include "test_support.h"

using zv::String;
using zv::Variant;

namespace {

std::string numberedLines(int count, const char* ending = "\r\n") {
  std::string text;
  for (int i = 1; i <= count; ++i)
    text += std::to_string(i) + ending;
  return text;
}

class TextFileTest : public testing::Test {
 protected:
  String file(const std::string& bytes) {
    zvtest::writeBytes(dir_.path("f.txt"), bytes);
    return dir_.u("f.txt");
  }
  zv::ObjectRef box(const String& text) {
    zv::ObjectRef b = zv::createModel(u"TextBox");
    zv::put(b, u"Text", Variant(text));
    return b;
  }
  static String text(const zv::ObjectRef& b) { return zv::toString(zv::get(b, u"Text")); }
  void TearDown() override {
    EXPECT_EQ(zv::openFileCount(), 0u);
    EXPECT_EQ(zv::pendingError().number, 0);
  }

  zvtest::TempDir dir_;
  zvtest::RecordingUserInterface ui_;
  std::shared_ptr<zv::FileLib> files_ = zv::FileLib::create();
};

TEST_F(TextFileTest, WholeContentsAndFirstOrLastLine) {
  struct Case {
    std::string bytes;
    String content, first, last;
  };
  const std::vector<Case> cases = {
      {"\r\na\r\n\r\nb", u"a\r\n\r\nb", u"", u"b"},
      {"", u"", u"", u""},
      {"one\r\ntwo\r\n", u"one\r\ntwo", u"one", u"two"},
      {"lf\nonly\n", u"lf\nonly\n", u"lf\nonly\n", u"lf\nonly\n"},
      {"cr\rend\r", u"cr\r\nend", u"cr", u"end"},
      {"\xE9\x80\x99", u"\u00e9\u20ac\u2122", u"\u00e9\u20ac\u2122", u"\u00e9\u20ac\u2122"}};
  for (const Case& c : cases) {
    const String name = file(c.bytes);
    EXPECT_EQ(files_->GetFileContent(name), c.content) << c.bytes;
    EXPECT_EQ(files_->GetLineFile(name, true), c.first) << c.bytes;
    EXPECT_EQ(files_->GetLineFile(name, false), c.last) << c.bytes;
  }
}

TEST_F(TextFileTest, LinesByNumber) {
  const String name = file("first\r\nsecond\r\nthird\r\n");
  struct Case {
    int32_t line;
    String expected;
  };
  for (const Case& c : {Case{1, u"first"}, Case{2, u"second"}, Case{3, u"third"}, Case{5, u"third"},
                        Case{0, u""}, Case{-1, u""}})
    EXPECT_EQ(files_->GetThisLineFile(name, c.line), c.expected) << c.line;
  EXPECT_EQ(files_->GetThisLineFile(dir_.u("missing.txt"), 1), u"");
  EXPECT_EQ(ui_.pointers.size(), 2u);  // the opener's report and the method's
}

TEST_F(TextFileTest, FirstLineHoldingAText) {
  const String name = file("alpha\r\nbeta key\r\n\r\ngamma key\r\n");
  struct Case {
    String text;
    int32_t start;
    String expected;
  };
  for (const Case& c :
       {Case{u"key", 1, u"beta key"}, Case{u"key", 3, u"gamma key"}, Case{u"KEY", 1, u""},
        Case{u"", 1, u"alpha"}, Case{u"", 3, u"gamma key"}, Case{u"missing", 1, u""}}) {
    String wanted = c.text;
    EXPECT_EQ(files_->GetLineIfTextExist(name, wanted, c.start), c.expected) << zv::toUtf8(c.text);
  }
  // The 16-bit line counter: line 32767 is found, line 32768 ends in the trap.
  String wanted = u"32767";
  EXPECT_EQ(files_->GetLineIfTextExist(file(numberedLines(32767)), wanted, 1), u"32767");
  wanted = u"32768";
  EXPECT_EQ(files_->GetLineIfTextExist(file(numberedLines(32768)), wanted, 32768), u"");
  EXPECT_EQ(ui_.pointers.size(), 1u);
}

TEST_F(TextFileTest, PutInTextBox) {
  struct Case {
    std::string bytes;
    bool max300;
    String expected;
  };
  // The numbered lines 1 to `count` as the box holds them: no line end after the last.
  const auto lines = [](int count) {
    const std::string text = numberedLines(count);
    return zv::fromUtf8(text.substr(0, text.size() - 2));
  };
  const std::vector<Case> cases = {
      {numberedLines(500), true, lines(301)},
      {numberedLines(500), false, lines(500)},
      {"a\nb\nc", true, u"abc"},  // LF alone stays in the line, then is removed
      {"a\r\n\r\nb\r\n\r\n\r\nc", true, u"a\r\nb\r\n\r\nc"},
      {"", true, u"old\r\ntext"}};  // empty: the box keeps its text, blank lines folded
  for (const Case& c : cases) {
    const zv::ObjectRef b = box(u"old\r\n\r\ntext");
    EXPECT_TRUE(files_->PutInTextBox(file(c.bytes), const_cast<zv::ObjectRef&>(b), c.max300));
    EXPECT_EQ(text(b), c.expected) << c.bytes.substr(0, 20);
  }
  zv::ObjectRef untouched = box(u"kept");
  EXPECT_FALSE(files_->PutInTextBox(dir_.u("missing.txt"), untouched, true));
  EXPECT_FALSE(files_->PutInTextBox(u"   ", untouched, true));
  EXPECT_EQ(text(untouched), u"kept");
}

TEST_F(TextFileTest, SaveTextBoxContentBytesRoundTripAndFailures) {
  struct Case {
    String text;
    std::string bytes;
  };
  for (const Case& c :
       {Case{u"a\r\nb", "a\r\r\nb\r\n"}, Case{u"", "\r\n"}, Case{u"x\ny", "x\r\ny\r\n"},
        Case{u"\u00e9\u20ac\u0100", "\xE9\x80?\r\n"}}) {
    zv::ObjectRef b = box(c.text);
    EXPECT_TRUE(files_->SaveTextBoxContent(dir_.u("out.txt"), b));
    EXPECT_EQ(zvtest::readBytes(dir_.path("out.txt")), c.bytes);
  }
  zv::ObjectRef original = box(u"line 1\r\nline 2\r\n\r\nline 4");
  ASSERT_TRUE(files_->SaveTextBoxContent(dir_.u("round.txt"), original));
  zv::ObjectRef loaded = box(u"");
  ASSERT_TRUE(files_->PutInTextBox(dir_.u("round.txt"), loaded, true));
  EXPECT_EQ(text(loaded), text(original));
  // Failures give False.
  zv::ObjectRef b = box(u"text");
  EXPECT_FALSE(files_->SaveTextBoxContent(u"", b));
  EXPECT_FALSE(files_->SaveTextBoxContent(dir_.u("no/such/folder.txt"), b));
  zv::ObjectRef noText = zv::createModel(u"Collection");
  EXPECT_FALSE(files_->SaveTextBoxContent(dir_.u("empty.txt"), noText));
  EXPECT_EQ(zvtest::readBytes(dir_.path("empty.txt")), "");  // opened before the box failed
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_FALSE(files_->SaveTextBoxContent(u"/dev/full", b));  // the disk is full at close
  }
}

}  // namespace
