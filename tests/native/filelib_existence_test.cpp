// FileLib's existence tests and path forms, and the NUL cuts of the shared routines.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
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

// A folder holding one entry of each kind the tests look at.
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
    makeSocket(at("sock"));
    makeSocket(at("specials/sock.txt"));
    fs::create_symlink(at("plain.txt"), at("link"));
    fs::create_symlink(at("nothing"), at("dangling"));
    fs::create_directory_symlink(at("sub"), at("dirlink"));
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override { zv::clearPendingError(); }

  // A bound socket leaves its entry behind once closed.
  static void makeSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
  }

  static String in(const char* name) { return dir_->u(name); }

  static zvtest::TempDir* dir_;
  std::shared_ptr<zv::FileLib> lib_ = zv::FileLib::create();
};

zvtest::TempDir* ExistenceTest::dir_ = nullptr;

struct Entry {
  const char* name;  // inside the test folder
  bool exists;
};

class FileExistTest : public ExistenceTest, public testing::WithParamInterface<Entry> {};

TEST_P(FileExistTest, SeesOrdinaryFilesOnly) {
  EXPECT_EQ(lib_->isFileExist(in(GetParam().name)), GetParam().exists) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    FileLib, FileExistTest,
    testing::Values(Entry{"plain.txt", true}, Entry{"noext", true}, Entry{"readonly.txt", true},
                    Entry{"sub/inner.txt", true}, Entry{"link", true}, Entry{".hidden", false},
                    Entry{"sub", false}, Entry{"sub/", false}, Entry{"empty", false},
                    Entry{"fifo", false}, Entry{"sock", false}, Entry{"dangling", false},
                    Entry{"dirlink", false}, Entry{"missing", false}, Entry{"missing/x", false},
                    Entry{"plain.txt/", false}, Entry{".", false}, Entry{"sub/..", false},
                    Entry{"*.txt", true}, Entry{"p?ain.txt", true}, Entry{"?lain.*", true},
                    Entry{"n?ext", true}, Entry{"*ext", true}, Entry{"p??ain.txt", false},
                    Entry{"*.none", false}, Entry{"*.*", true}, Entry{"*", true},
                    Entry{"sub/*.*", true}, Entry{"empty/*.*", false}, Entry{"empty/*", false},
                    Entry{"hid/*", false}, Entry{"hid/*.*", false}, Entry{"hid/*.txt", false},
                    Entry{"specials/*.*", false}, Entry{"specials/*.txt", false},
                    Entry{"missing/*.*", false}, Entry{"plain.txt/*", false}));

TEST_F(ExistenceTest, FileExistWithoutName) {
  EXPECT_FALSE(lib_->isFileExist(u""));
  EXPECT_FALSE(lib_->isFileExist(u"   "));
  // The name is taken as given: blanks around it are part of it.
  EXPECT_FALSE(lib_->isFileExist(u" " + in("plain.txt")));
  EXPECT_FALSE(lib_->isFileExist(in("plain.txt") + u" "));
  zvtest::writeBytes(dir_->path("blank end "), "x");
  EXPECT_TRUE(lib_->isFileExist(in("blank end ")));
  fs::remove(dir_->path("blank end "));
}

TEST_F(ExistenceTest, FileExistThroughInvoke) {
  zv::ObjectRef lib = zv::createObject(u"ZivoviViruvov.FileLib");
  const zv::Variant yes = zv::call(lib, u"isFileExist", {zv::Arg(zv::Variant(in("*.txt")))});
  ASSERT_EQ(yes.type(), zv::VarType::Boolean);
  EXPECT_TRUE(yes.booleanValue());
  EXPECT_FALSE(zv::call(lib, u"ISFILEEXIST", {zv::Arg(zv::Variant(in("sub")))}).booleanValue());
}

class DirectoryExistTest : public ExistenceTest, public testing::WithParamInterface<Entry> {};

TEST_P(DirectoryExistTest, SeesFoldersWithOrWithoutFinalSeparator) {
  zv::setPendingError(zv::Error(53));
  EXPECT_EQ(lib_->isDirectoryExist(in(GetParam().name)), GetParam().exists) << GetParam().name;
  EXPECT_EQ(zv::pendingError().number, 0);
}

INSTANTIATE_TEST_SUITE_P(FileLib, DirectoryExistTest,
                         testing::Values(Entry{"sub", true}, Entry{"sub/", true},
                                         Entry{"empty", true}, Entry{"empty/", true},
                                         Entry{"hid", true}, Entry{"dirlink", true},
                                         Entry{"dirlink/", true}, Entry{"sub/..", true},
                                         Entry{"plain.txt", false}, Entry{"plain.txt/", false},
                                         Entry{"link", false}, Entry{"fifo", false},
                                         Entry{"sock", false}, Entry{"missing", false},
                                         Entry{"missing/", false}, Entry{"sub/inner.txt", false}));

TEST_F(ExistenceTest, DirectoryExistOfWholeTree) {
  EXPECT_FALSE(lib_->isDirectoryExist(u""));
  EXPECT_TRUE(lib_->isDirectoryExist(u"/"));
  EXPECT_TRUE(lib_->isDirectoryExist(dir_->u()));
  EXPECT_TRUE(lib_->isDirectoryExist(dir_->u() + u"/"));
}

struct PathForm {
  String path, form;
};

class CheckPathTest : public testing::TestWithParam<PathForm> {};

TEST_P(CheckPathTest, EndsWithOneSeparator) {
  EXPECT_EQ(zv::FileLib::create()->CheckPath(GetParam().path), GetParam().form);
}

INSTANTIATE_TEST_SUITE_P(FileLib, CheckPathTest,
                         testing::Values(PathForm{u"/tmp", u"/tmp/"}, PathForm{u"/tmp/", u"/tmp/"},
                                         PathForm{u"   ", u""}, PathForm{u"", u""},
                                         PathForm{u"a", u"a/"}, PathForm{u" a ", u" a /"},
                                         PathForm{u"/", u"/"}, PathForm{u"//", u"//"},
                                         PathForm{u"a\\", u"a\\/"},
                                         PathForm{u"\u00E9t\u00E9", u"\u00E9t\u00E9/"}));

class UnCheckPathTest : public testing::TestWithParam<PathForm> {};

TEST_P(UnCheckPathTest, DropsOneFinalSeparator) {
  EXPECT_EQ(zv::FileLib::create()->UnCheckPath(GetParam().path), GetParam().form);
}

INSTANTIATE_TEST_SUITE_P(FileLib, UnCheckPathTest,
                         testing::Values(PathForm{u"//", u"/"}, PathForm{u"/tmp/", u"/tmp"},
                                         PathForm{u"/tmp", u"/tmp"}, PathForm{u"", u""},
                                         PathForm{u"/", u""}, PathForm{u"   ", u"   "},
                                         PathForm{u"a/ ", u"a/ "}, PathForm{u"a\\", u"a\\"}));

TEST(FileLib, PathFormsRoundTrip) {
  auto lib = zv::FileLib::create();
  for (const String& path : {String(u"/tmp"), String(u"a/b"), String(u"x")}) {
    EXPECT_EQ(lib->UnCheckPath(lib->CheckPath(path)), path);
    EXPECT_EQ(lib->CheckPath(lib->UnCheckPath(lib->CheckPath(path))), lib->CheckPath(path));
  }
}

struct Cut {
  String text, cut, cutOrTrim;
};

class NullCutTest : public testing::TestWithParam<Cut> {};

TEST_P(NullCutTest, CutsAtFirstNul) {
  EXPECT_EQ(zv::CutAtNullChar(GetParam().text), GetParam().cut);
  EXPECT_EQ(zv::CutAtNullCharOrTrim(GetParam().text), GetParam().cutOrTrim);
}

INSTANTIATE_TEST_SUITE_P(Frame, NullCutTest,
                         testing::Values(Cut{u"abc\0def"s, u"abc", u"abc"},
                                         Cut{u"\0abc"s, u"", u""}, Cut{u" abc ", u" abc ", u"abc"},
                                         Cut{u"", u"", u""}, Cut{u"   ", u"   ", u""},
                                         Cut{u"a\0\0b\0"s, u"a", u"a"},
                                         Cut{u" ab \0c"s, u" ab ", u" ab "}, Cut{u"\0"s, u"", u""},
                                         Cut{u"x\0"s, u"x", u"x"},
                                         Cut{u"\t a \t", u"\t a \t", u"\t a \t"}));

}  // namespace
