// FileLib's file operations: folders, deletes, copies, the freedesktop trash, the search
// path, the documents folder, temporary names, opening documents and the string table.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "api/FileLib.h"
#include "frame/classes.h"
#include "frame/string_table.h"
#include "runtime/convert.h"
#include "test_support.h"

namespace fs = std::filesystem;
using zv::String;
using zv::Variant;

namespace {

class FileOperationsTest : public testing::Test {
 protected:
  String at(const char* name) const { return dir_.u(name); }
  void write(const char* name, const std::string& bytes) {
    fs::create_directories(fs::path(dir_.path(name)).parent_path());
    zvtest::writeBytes(dir_.path(name), bytes);
  }
  bool exists(const char* name) const { return fs::exists(dir_.path(name)); }

  zvtest::TempDir dir_;
  zvtest::RecordingUserInterface ui_;
  std::shared_ptr<zv::FileLib> files_ = zv::FileLib::create();
};

TEST_F(FileOperationsTest, CreateDirectoryOneLevel) {
  EXPECT_TRUE(files_->CreateDirectory(at("new"), true));
  EXPECT_TRUE(files_->CreateDirectory(at("new"), true));  // already there
  EXPECT_TRUE(fs::is_directory(dir_.path("new")));
  EXPECT_FALSE(files_->CreateDirectory(at("missing/child"), true));
  EXPECT_FALSE(files_->CreateDirectory(at("missing/child"), false));
  write("file", "x");
  EXPECT_FALSE(files_->CreateDirectory(at("file"), true));
  EXPECT_EQ(ui_.pointers.size(), 2u);  // reported only with displayError
  EXPECT_TRUE(ui_.boxes.empty());
}

// The result is False only when displayError is True and the deletion failed.
TEST_F(FileOperationsTest, DeleteFileWithAndWithoutReports) {
  write("a.txt", "a");
  write("b.log", "b");
  write("c.log", "c");
  EXPECT_TRUE(files_->DeleteFile(at("a.txt"), false));
  EXPECT_FALSE(exists("a.txt"));
  EXPECT_TRUE(files_->DeleteFile(at("*.log"), true));  // every match goes
  EXPECT_FALSE(exists("b.log") || exists("c.log"));
  if (::geteuid() != 0) {
    write("locked/f", "x");
    fs::permissions(dir_.path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_TRUE(files_->DeleteFile(at("locked/f"), false));
    EXPECT_FALSE(files_->DeleteFile(at("locked/f"), true));
    fs::permissions(dir_.path("locked"), fs::perms::owner_all);
  }
  EXPECT_EQ(zv::pendingError().number, 0);
}

TEST_F(FileOperationsTest, CopiesReplaceTheDestination) {
  write("src.txt", std::string("bytes\0\xFF", 7));
  write("dest.txt", "older and longer content");
  EXPECT_TRUE(files_->CopyFile(at("src.txt"), at("dest.txt"), true));
  EXPECT_EQ(zvtest::readBytes(dir_.path("dest.txt")), std::string("bytes\0\xFF", 7));
  EXPECT_FALSE(files_->CopyFile(at("src.txt"), at("nowhere/dest.txt"), true));
  EXPECT_FALSE(files_->CopyFile(at("src.txt"), u"", true));
  fs::create_directory(dir_.path("folder"));
  EXPECT_FALSE(files_->CopyFile(at("src.txt"), at("folder"), true));
  // A copy under a new suffix, beside the file or in another folder.
  write("file.txt", "content");
  struct Case {
    const char* suffix;
    const char* folder;
    const char* expected;
  };
  for (const Case& c : {Case{".bak", "", "file.bak"}, Case{"_old.txt", "", "file_old.txt"},
                        Case{".bak", "copies", "copies/file.bak"}}) {
    EXPECT_TRUE(files_->CopyFileWithNewSuffix(at("file.txt"), zv::fromUtf8(c.suffix),
                                              *c.folder ? at(c.folder) : String(), true));
    EXPECT_EQ(zvtest::readBytes(dir_.path(c.expected)), "content") << c.expected;
  }
  EXPECT_FALSE(files_->CopyFileWithNewSuffix(at("file.txt"), u"  ", u"", true));
  EXPECT_FALSE(files_->CopyFileWithNewSuffix(at("file.txt"), u".x", at("no/such"), true));
}

// Files go to $XDG_DATA_HOME/Trash with an info file; a taken name gets a number.
TEST_F(FileOperationsTest, TrashTakesFilesWithTheirOrigin) {
  zvtest::ScopedVariable data("XDG_DATA_HOME", dir_.path("data"));
  for (const char* name : {"a.txt", "one/a.txt", "two/a.txt", "with blank \xC3\xA9.txt"})
    write(name, name);
  std::vector<Variant> names = {Variant(at("a.txt")), Variant(at("one/a.txt")),
                                Variant(at("two/a.txt")), Variant(at("with blank \u00e9.txt"))};
  Variant list(zv::SafeArray::vector(zv::VarType::Variant, 0, names));
  EXPECT_EQ(files_->DeleteFilesToWindowsTrash(list), 0);
  const std::string trash = dir_.path("data/Trash/");
  EXPECT_EQ(zvtest::readBytes(trash + "files/a.2.txt"), "one/a.txt");
  EXPECT_EQ(zvtest::readBytes(trash + "files/a.3.txt"), "two/a.txt");
  EXPECT_FALSE(exists("a.txt"));
  const std::string info = zvtest::readBytes(trash + "info/with blank \xC3\xA9.txt.trashinfo");
  const std::regex form(
      "\\[Trash Info\\]\nPath=(.*)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(info, m, form)) << info;
  EXPECT_EQ(m[1].str(), dir_.path("with%20blank%20%C3%A9.txt"));
  // Anything that is no text stops at the bin (a missing file: test_filelib.py).
  for (Variant bad :
       {Variant(zv::SafeArray::vector(zv::VarType::Variant, 0, {Variant::null()})),
        Variant(at("a.txt")),
        Variant(zv::SafeArray::vector(zv::VarType::Variant, 32766, {Variant(), Variant()}))})
    EXPECT_EQ(files_->DeleteFilesToWindowsTrash(bad), 0);
}

TEST_F(FileOperationsTest, SearchPathAndCurrentFolder) {
  write("bin1/tool.sh", "x");
  write("bin2/other.sh", "x");
  zvtest::ScopedVariable path("PATH", dir_.path("bin1") + "::" + dir_.path("bin2"));
  EXPECT_TRUE(files_->isFileWithinPATH(u"other.sh"));
  EXPECT_TRUE(files_->isFileWithinPATH(u"ls"));  // the system folder, /usr/bin
  EXPECT_EQ(files_->GetFullPath(u"other.sh"), at("bin2/"));
  const fs::path before = fs::current_path();
  fs::current_path(dir_.path("bin1"));
  EXPECT_EQ(files_->GetFullPath(u"tool.sh"), at("bin1/"));
  fs::current_path(before);
}

TEST_F(FileOperationsTest, RelocatesIntoTheDocumentsFolder) {
  zvtest::ScopedVariable home("HOME", dir_.path("home"));
  zvtest::ScopedVariable config("XDG_CONFIG_HOME", dir_.path("config"));
  write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
  write("home/Docs/report.txt", "x");
  fs::create_directories(dir_.path("home/Docs/Letters"));
  EXPECT_EQ(files_->CheckFileInMyDirectory(u"/old/pc/Mes documents/report.txt"),
            at("home/Docs/report.txt"));
  // The cut is case-sensitive: another case leaves the whole path after the folder.
  EXPECT_EQ(files_->CheckFileInMyDirectory(u"/old/My Documents/report.txt"),
            u"/old/My Documents/report.txt");
  EXPECT_EQ(files_->CheckDirInMyDirectory(u"/x/My documents/Letters"), at("home/Docs/Letters"));
  // The French name found first ends the search, found there or not.
  EXPECT_EQ(files_->CheckFileInMyDirectory(u"/Mes documents/none/My documents/report.txt"),
            u"/Mes documents/none/My documents/report.txt");
  EXPECT_EQ(files_->CheckFileInMyDirectory(u"/elsewhere/report.txt"), u"/elsewhere/report.txt");
  fs::remove(dir_.path("config/user-dirs.dirs"));
  write("home/Documents/report.txt", "x");
  EXPECT_EQ(files_->CheckFileInMyDirectory(u"/My documents/report.txt"),
            at("home/Documents/report.txt"));
}

TEST_F(FileOperationsTest, TemporaryNames) {
  const String first = files_->GetTempFileName(u"tmp", at(""));
  EXPECT_TRUE(
      std::regex_match(zv::toUtf8(first), std::regex(dir_.path() + "/~tmp0(2[3-9]|3[0-9])\\.tmp")))
      << zv::toUtf8(first);
  // A name equal to the last one is drawn again once: of 300 names in a row about one
  // repeats its predecessor (both draws colliding), where a single draw repeats 1 in 17.
  int repeats = 0;
  String last = first;
  for (int i = 0; i < 300; ++i) {
    const String next = files_->GetTempFileName(u"tmp", at(""));
    repeats += next == last;
    last = next;
  }
  EXPECT_LT(repeats, 10);
  zvtest::ScopedVariable tmpdir("TMPDIR", dir_.path("t"));
  // The name part: accents and blanks made "_", cut to five characters.
  EXPECT_EQ(files_->GetTempFileName(u"\u00e9t\u00e9 ete", u"").substr(0, dir_.path("t").size() + 7),
            at("t/~_t__e"));
  EXPECT_EQ(files_->GetTempFileName(u"  ", u"/x").substr(0, 9), u"/x/~Zivov");
  EXPECT_TRUE(zv::toUtf8(files_->GetTempFileName(u"tmp", u"")).ends_with(".tmp"));
  EXPECT_FALSE(exists("t"));  // a name only: nothing is created
}

// xdg-open found on PATH is started with the file; without it there is no association.
TEST_F(FileOperationsTest, OpenDocumentWithXdgOpen) {
  write("doc.txt", "x");
  // Written beside, then renamed: the file appears whole.
  write("bin/xdg-open", "#!/bin/sh\necho \"$1\" > " + dir_.path("opening") + " && /bin/mv " +
                            dir_.path("opening") + " " + dir_.path("opened") + "\n");
  fs::permissions(dir_.path("bin/xdg-open"), fs::perms::owner_all);
  {
    zvtest::ScopedVariable path("PATH", dir_.path("bin"));
    EXPECT_TRUE(files_->OpenDocument(at("doc.txt")));
  }
  for (int i = 0; i < 200 && !exists("opened"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(zvtest::readBytes(dir_.path("opened")), dir_.path("doc.txt") + "\n");
  zvtest::ScopedVariable path("PATH", dir_.path("nothing"));
  EXPECT_FALSE(files_->OpenDocument(at("doc.txt")));
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST(StringTableTest, EnglishAndFrenchByLanguage) {
  struct Case {
    int32_t id, lcid;
    String text;
  };
  for (const Case& c :
       {Case{454, 1033, u"Open document: "}, Case{454, 1036, u"Lancement document : "},
        Case{443, 3084, u"Acc\u00e8s refus\u00e9"},
        Case{451, 2057, u"No file association for this extension"},
        Case{10, 1036, u"Le fichier ne contient pas de donn\u00e9es !?"},
        Case{453, 1031, u"Unknown error"}, Case{999, 1033, u""}})
    EXPECT_EQ(zv::loadString(c.id, c.lcid), c.text) << c.id << " " << c.lcid;
}

}  // namespace
