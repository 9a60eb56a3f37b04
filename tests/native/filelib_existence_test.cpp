// FileLib's existence tests on a folder of every kind of entry, and the NUL cuts of the shared
// routines. Single names and the path forms are in the case table (tests/cases/filelib.tsv).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "api/FileLib.h"
#include "frame/classes.h"
#include "frame/varnix.h"
#include "test_support.h"

using namespace std::string_literals;
namespace fs = std::filesystem;
using zv::String;

namespace {

// A folder holding one entry of each kind the tests look at (a fifo stands for every entry
// that is neither file nor folder).
class ExistenceTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new zvtest::TempDir;
    const auto at = [](const char* name) { return dir_->path(name); };
    zvtest::writeBytes(at("plain.txt"), "x");
    zvtest::writeBytes(at("noext"), "");
    zvtest::writeBytes(at("readonly.txt"), "x");
    fs::permissions(at("readonly.txt"), fs::perms::owner_read | fs::perms::group_read);
    zvtest::writeBytes(at(".hidden"), "x");
    fs::create_directory(at("sub"));
    zvtest::writeBytes(at("sub/inner.txt"), "x");
    fs::create_directory(at("empty"));
    fs::create_directory(at("hid"));
    zvtest::writeBytes(at("hid/.a.txt"), "x");
    fs::create_directory(at("hid/folder.txt"));
    fs::create_directory(at("specials"));
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(at("specials/fifo.txt").c_str(), 0600), 0);
    fs::create_symlink(at("plain.txt"), at("link"));
    fs::create_symlink(at("nothing"), at("dangling"));
    fs::create_directory_symlink(at("sub"), at("dirlink"));
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override { zv::clearPendingError(); }

  static String in(const char* name) { return dir_->u(name); }

  static zvtest::TempDir* dir_;
  std::shared_ptr<zv::FileLib> lib_ = zv::FileLib::create();
};

zvtest::TempDir* ExistenceTest::dir_ = nullptr;

// Ordinary files only, by name or by the first match of a pattern; links are followed.
TEST_F(ExistenceTest, FileExistSeesOrdinaryFilesOnly) {
  const std::pair<const char*, bool> cases[] = {
      {"plain.txt", true},     {"noext", true},          {"readonly.txt", true},
      {"sub/inner.txt", true}, {"link", true},           {".hidden", false},
      {"sub", false},          {"empty", false},         {"fifo", false},
      {"fifo*", false},        {"dangling", false},      {"dirlink", false},
      {"missing/x", false},    {"plain.txt/", false},    {"sub/..", false},
      {"p?ain.txt", true},     {"?lain.*", true},        {"*ext", true},
      {"p??ain.txt", false},   {"*.none", false},        {"*", true},
      {"sub/*.*", true},       {"empty/*", false},       {"hid/*", false},
      {"specials/*.*", false}, {"missing/*.*", false},   {"plain.txt/*", false},
      {"plain.txt*", true},    {"hid/folder.txt", false}};
  for (const auto& [name, exists] : cases)
    EXPECT_EQ(lib_->isFileExist(in(name)), exists) << name;
  // The name is taken as given: blanks around it are part of it.
  EXPECT_FALSE(lib_->isFileExist(u" " + in("plain.txt")));
  zvtest::writeBytes(dir_->path("blank end "), "x");
  EXPECT_TRUE(lib_->isFileExist(in("blank end ")));
  fs::remove(dir_->path("blank end "));
}

TEST_F(ExistenceTest, DirectoryExistSeesFoldersWithOrWithoutFinalSeparator) {
  const std::pair<const char*, bool> cases[] = {
      {"sub/", true},   {"empty", true},      {"dirlink", true},     {"dirlink/", true},
      {"sub/..", true}, {"plain.txt", false}, {"plain.txt/", false}, {"link", false},
      {"fifo", false},  {"fifo*", false},     {"missing/", false}};
  for (const auto& [name, exists] : cases) {
    zv::setPendingError(zv::Error(53));
    EXPECT_EQ(lib_->isDirectoryExist(in(name)), exists) << name;
    EXPECT_EQ(zv::pendingError().number, 0);
  }
}

TEST(Frame, NulCutsAtTheFirstNulAndTrimsWithout) {
  const struct {
    String text, cut, cutOrTrim;
  } cases[] = {{u"abc\0def"s, u"abc", u"abc"},      {u"\0abc"s, u"", u""},
               {u" abc ", u" abc ", u"abc"},        {u"", u"", u""},
               {u"a\0\0b\0"s, u"a", u"a"},          {u" ab \0c"s, u" ab ", u" ab "},
               {u"\t a \t", u"\t a \t", u"\t a \t"}};
  for (const auto& c : cases) {
    EXPECT_EQ(zv::CutAtNullChar(c.text), c.cut);
    EXPECT_EQ(zv::CutAtNullCharOrTrim(c.text), c.cutOrTrim);
  }
}

}  // namespace
