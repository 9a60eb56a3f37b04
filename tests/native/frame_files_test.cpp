// The thread's file numbers, the three openers, and the bytes text files hold: ANSI text,
// CR LF line ends, lines read up to CR or CR LF.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "frame/file_numbers.h"
#include "frame/varnix.h"
#include "runtime/errors.h"
#include "test_support.h"

using zv::FileMode;
using zv::String;
using zvtest::errorOf;
using zvtest::readBytes;
using zvtest::writeBytes;

namespace {

constexpr int16_t kLastNumber = 511;

class FilesTest : public testing::Test {
 protected:
  void SetUp() override {
    zv::clearPendingError();
    ASSERT_EQ(zv::openFileCount(), 0u);
  }
  void TearDown() override {
    for (int16_t n = 1; n <= kLastNumber; ++n)
      zv::closeFile(n);
    zv::clearPendingError();
  }

  zvtest::TempDir dir_;
  zvtest::RecordingUserInterface ui_;
};

// Each open takes the lowest free number of the calling thread's own table.
TEST_F(FilesTest, OpenTakesTheLowestFreeNumberOfTheThread) {
  auto open = [&](const char* name) { return zv::openFile(dir_.u(name), FileMode::Output); };
  EXPECT_EQ((std::vector<int16_t>{open("a"), open("b"), open("c")}),
            (std::vector<int16_t>{1, 2, 3}));
  zv::closeFile(2);
  EXPECT_EQ(zv::openFileCount(), 2u);
  EXPECT_EQ((std::vector<int16_t>{open("d"), open("e")}), (std::vector<int16_t>{2, 4}));
  zv::closeFile(1);
  EXPECT_EQ(zv::OpenFileForInput(dir_.u("a"), true, false), 1);
  EXPECT_EQ(zv::OpenFileForAppend(dir_.u("a")), 5);
  int16_t there = 0;
  size_t countThere = 0;
  std::thread([&] {
    there = zv::OpenFileForOutput(dir_.u("other.txt"));
    countThere = zv::openFileCount();
    zv::closeFile(there);
  }).join();
  EXPECT_EQ(there, 1);
  EXPECT_EQ(countThere, 1u);
  EXPECT_EQ(zv::openFileCount(), 5u);
}

TEST_F(FilesTest, FiveHundredElevenNumbersThenTooManyFiles) {
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  if (limit.rlim_cur < 600) GTEST_SKIP() << "too few descriptors";
  const String path = dir_.u("shared");
  writeBytes(dir_.path("shared"), "x");
  for (int16_t n = 1; n <= kLastNumber; ++n)
    ASSERT_EQ(zv::openFile(path, FileMode::Input), n);
  EXPECT_EQ(errorOf([&] { zv::openFile(path, FileMode::Input); }), zv::err::kTooManyFiles);
  EXPECT_EQ(zv::OpenFileForInput(path, true, false), -1);
  EXPECT_EQ(zv::pendingError().number, 0);
  zv::closeFile(300);
  EXPECT_EQ(zv::openFile(path, FileMode::Input), 300);
}

TEST_F(FilesTest, FailedOpensRaiseTheirErrorNumbers) {
  std::filesystem::create_directory(dir_.path("folder"));
  const struct {
    const char* path;  // inside the scratch folder ("" for an empty name)
    FileMode mode;
    int32_t error;
  } cases[] = {{"", FileMode::Output, 52},          {"missing", FileMode::Input, 53},
               {"missing/f", FileMode::Input, 76},  {"missing/f", FileMode::Output, 76},
               {"missing/f", FileMode::Append, 76}, {"folder", FileMode::Input, 75},
               {"folder", FileMode::Output, 75},    {"folder", FileMode::Append, 75}};
  for (const auto& c : cases) {
    const String path = *c.path ? dir_.u(c.path) : String();
    EXPECT_EQ(errorOf([&] { zv::openFile(path, c.mode); }), c.error) << c.path;
  }
  EXPECT_EQ(zv::openFileCount(), 0u);
  EXPECT_FALSE(std::filesystem::exists(dir_.path("missing")));
  if (::geteuid() == 0) return;  // root may write anywhere
  writeBytes(dir_.path("ro"), "x");
  std::filesystem::permissions(dir_.path("ro"), std::filesystem::perms::owner_read);
  EXPECT_EQ(errorOf([&] { zv::openFile(dir_.u("ro"), FileMode::Output); }),
            zv::err::kPermissionDenied);
  EXPECT_EQ(zv::OpenFileForOutput(dir_.u("ro")), -1);
}

// Every opener's failure gives -1 and is reported silently with its exact text (one pointer
// change, no box, the pending error cleared), touching nothing on disk; a missing file to
// read, asked not to report, stays quiet.
TEST_F(FilesTest, FailedOpenersGiveMinusOneAndReportSilently) {
  std::filesystem::create_directory(dir_.path("folder"));
  const auto before = std::filesystem::current_path();
  const struct {
    const char16_t* opener;
    std::function<int16_t(const String&)> open;
  } openers[] = {
      {u"Error on append the file:", [](const String& f) { return zv::OpenFileForAppend(f); }},
      {u"Error on file opening:", [](const String& f) { return zv::OpenFileForOutput(f); }},
      {u"Can't open file:", [](const String& f) { return zv::OpenFileForInput(f, true, false); }},
      // Asked to create a missing file: the output opener's failure.
      {u"Error on file opening:",
       [](const String& f) { return zv::OpenFileForInput(f, true, true); }}};
  zvtest::Reports reports;
  std::vector<String> expected;
  for (const String& name : {String(), String(u"   "), dir_.u("nowhere/f"), dir_.u("folder")})
    for (const auto& o : openers) {
      zv::setPendingError(zv::Error(13));
      EXPECT_EQ(o.open(name), -1) << zv::toUtf8(name) << zv::toUtf8(o.opener);
      EXPECT_EQ(zv::pendingError().number, 0);
      expected.push_back(o.opener + String(u"\r\n") + name);
    }
  EXPECT_EQ(zv::OpenFileForInput(dir_.u("missing"), true, false), -1);
  expected.push_back(u"Can't open file:\r\n" + dir_.u("missing"));
  EXPECT_EQ(zv::OpenFileForInput(dir_.u("missing"), false, false), -1);  // not reported
  EXPECT_EQ(reports.texts, expected);
  EXPECT_EQ(ui_.pointers.size(), expected.size());
  EXPECT_TRUE(ui_.boxes.empty());
  for (const char* gone : {"missing", "nowhere"})
    EXPECT_FALSE(std::filesystem::exists(dir_.path(gone)));
  EXPECT_FALSE(std::filesystem::exists("   "));
  EXPECT_EQ(std::filesystem::current_path(), before);
  EXPECT_EQ(zv::openFileCount(), 0u);
}

// A missing file asked for is made and open for writing; an existing one is read.
TEST_F(FilesTest, InputMakesAMissingFileOnRequest) {
  const int16_t made = zv::OpenFileForInput(dir_.u("new.txt"), true, true);
  EXPECT_EQ(zv::fileByNumber(made).mode(), FileMode::Output);
  zv::fileByNumber(made).writeLine(u"keep");
  zv::closeFile(made);
  const int16_t n = zv::OpenFileForInput(dir_.u("new.txt"), true, true);
  EXPECT_EQ(zv::fileByNumber(n).mode(), FileMode::Input);
  EXPECT_EQ(zv::fileByNumber(n).readLine(), u"keep");
  zv::closeFile(n);
  EXPECT_EQ(readBytes(dir_.path("new.txt")), "keep\r\n");
  EXPECT_TRUE(ui_.pointers.empty());
}

// Output empties, append extends; the text goes out in ANSI with CR LF line ends.
TEST_F(FilesTest, OutputEmptiesAndAppendExtendsWithAnsiBytes) {
  writeBytes(dir_.path("out.txt"), "old content");
  writeBytes(dir_.path("app.txt"), "ab");
  const int16_t out = zv::OpenFileForOutput(dir_.u("out.txt"));
  const int16_t app = zv::OpenFileForAppend(dir_.u("app.txt"));
  const int16_t created = zv::OpenFileForAppend(dir_.u("created.txt"));
  EXPECT_EQ(std::vector<int16_t>({out, app, created}), std::vector<int16_t>({1, 2, 3}));
  zv::TextFile& file = zv::fileByNumber(out);
  file.writeLine(u"\u00E9\u20AC\u00FC");
  file.write(u"x");
  file.writeLine(u"");
  file.writeLine(u"\u0100\U0001F600|\u2122");
  file.write(u"a\nb");
  zv::fileByNumber(app).writeLine(u"c");
  zv::fileByNumber(created).write(u"only");
  for (int16_t n : {out, app, created})
    zv::closeFile(n);
  EXPECT_EQ(readBytes(dir_.path("out.txt")), "\xE9\x80\xFC\r\nx\r\n??|\x99\r\na\nb");
  EXPECT_EQ(readBytes(dir_.path("app.txt")), "abc\r\n");
  EXPECT_EQ(readBytes(dir_.path("created.txt")), "only");
  EXPECT_TRUE(ui_.pointers.empty());
}

TEST_F(FilesTest, ReadLineSplitsOnCrAndCrLfOnly) {
  const struct {
    std::string bytes;
    std::vector<String> lines;
  } cases[] = {{"a\r\nb\rc\nd\r\n\r\ne", {u"a", u"b", u"c\nd", u"", u"e"}},
               {"", {}},
               {"x", {u"x"}},
               {"\r\n", {u""}},
               {"\r\r\n", {u"", u""}},
               {"a\r\rb", {u"a", u"", u"b"}},
               {"\n", {u"\n"}},
               {"a\r\n\nb", {u"a", u"\nb"}},
               {"a\n\rb", {u"a\n", u"b"}},
               {"\x80\xE9\x99\r\n\xFF", {u"\u20AC\u00E9\u2122", u"\u00FF"}},
               {std::string("a\0b\r\n", 5), {String(u"a\0b", 3)}}};
  for (const auto& c : cases) {
    writeBytes(dir_.path("in.txt"), c.bytes);
    zv::FileNumber number(zv::OpenFileForInput(dir_.u("in.txt"), true, false));
    zv::TextFile& file = number.file();
    std::vector<String> lines;
    while (!file.atEnd() && lines.size() < 100)
      lines.push_back(file.readLine());
    EXPECT_EQ(lines, c.lines) << c.bytes;
    const auto past = zvtest::caught([&] { file.readLine(); });
    ASSERT_TRUE(past);
    EXPECT_EQ(past->number(), 62);
    EXPECT_EQ(past->description(), u"Input past end of file");
  }
}

// Unknown or closed numbers are bad file numbers (closing them again does nothing); a file
// used against its mode is a bad file mode and keeps its content.
TEST_F(FilesTest, BadNumbersAndModes) {
  writeBytes(dir_.path("in.txt"), "x\r\n");
  const int16_t in = zv::OpenFileForInput(dir_.u("in.txt"), true, false);
  const int16_t out = zv::OpenFileForOutput(dir_.u("out.txt"));
  const int16_t app = zv::OpenFileForAppend(dir_.u("app.txt"));
  const int16_t closed = zv::openFile(dir_.u("f"), FileMode::Output);
  for (int16_t n : {closed, closed, int16_t{0}, int16_t{-1}, int16_t{7}, int16_t{512}})
    zv::closeFile(n);
  for (int16_t n : {closed, int16_t{0}, int16_t{-1}, int16_t{7}, int16_t{512}, int16_t{32767}})
    EXPECT_EQ(errorOf([&] { zv::fileByNumber(n); }), zv::err::kBadFileNameOrNumber) << n;
  for (const auto& misuse : std::vector<std::function<void()>>{
           [&] { zv::fileByNumber(in).write(u"y"); }, [&] { zv::fileByNumber(in).writeLine(u"y"); },
           [&] { zv::fileByNumber(out).readLine(); }, [&] { zv::fileByNumber(app).atEnd(); }})
    EXPECT_EQ(errorOf(misuse), zv::err::kBadFileMode);
  EXPECT_EQ(zv::fileByNumber(in).readLine(), u"x");
  zv::closeFile(in);
  EXPECT_EQ(readBytes(dir_.path("in.txt")), "x\r\n");
}

// A FileNumber closes its file when its scope ends and discards it when a failure ends the
// scope; a new number closes the old one once the new file is open; a failed open holds -1.
TEST_F(FilesTest, FileNumberOwnsItsNumber) {
  {
    zv::FileNumber file(zv::OpenFileForOutput(dir_.u("raii.txt")));
    ASSERT_TRUE(file.isOpen());
    file.file().writeLine(u"kept");
  }
  EXPECT_EQ(zv::openFileCount(), 0u);
  EXPECT_TRUE(zvtest::caught([&] {
    zv::FileNumber file(zv::OpenFileForOutput(dir_.u("raii.txt")));
    file.file().writeLine(u"lost");
    zv::raise(zv::err::kDiskFull);
  }));
  EXPECT_EQ(readBytes(dir_.path("raii.txt")), "kept\r\n");
  EXPECT_EQ(zv::openFileCount(), 0u);
  zv::FileNumber file;
  EXPECT_FALSE(file.isOpen());
  EXPECT_EQ(errorOf([&] { file.file(); }), zv::err::kBadFileNameOrNumber);
  file = zv::OpenFileForOutput(dir_.u("one.txt"));
  EXPECT_EQ(file.number(), 1);
  file = zv::OpenFileForOutput(dir_.u("two.txt"));
  EXPECT_EQ(file.number(), 2);
  EXPECT_EQ(zv::openFileCount(), 1u);
  file.close();
  file.close();
  EXPECT_EQ(zv::openFileCount(), 0u);
  const int16_t other = zv::openFile(dir_.u("three.txt"), FileMode::Output);
  {
    zv::FileNumber failed(zv::OpenFileForOutput(dir_.u("nowhere/x")));
    EXPECT_FALSE(failed.isOpen());
  }
  EXPECT_NO_THROW(zv::fileByNumber(other));
}

// /dev/full takes the buffered text and refuses it at the final flush, as a full disk does.
TEST_F(FilesTest, FailedFinalFlushIsDiskFull) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  zv::FileNumber file(zv::OpenFileForOutput(u"/dev/full"));
  ASSERT_TRUE(file.isOpen());
  file.file().writeLine(u"lost");
  const auto e = zvtest::caught([&] { file.close(); });
  ASSERT_TRUE(e);
  EXPECT_EQ(e->number(), 61);
  EXPECT_EQ(e->description(), u"Disk full");
  EXPECT_EQ(zv::openFileCount(), 0u);
  EXPECT_NO_THROW(file.close());
  const int16_t n = zv::OpenFileForAppend(u"/dev/full");
  zv::fileByNumber(n).write(u"x");
  EXPECT_EQ(errorOf([&] { zv::closeFile(n); }), 61);
  EXPECT_EQ(zv::openFileCount(), 0u);
}

}  // namespace
