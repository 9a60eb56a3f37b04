// ZipLib and UnZipLib against a recording archiver: the option records at their offsets,
// what each driver hands the archiver, and what the callbacks turn into.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "archive/UnZipLib.h"
#include "archive/ZipLib.h"
#include "archive/archive_events.h"
#include "platform/file_system.h"
#include "runtime/vbdate.h"
#include "test_support.h"

namespace {

using zv::String;
using zvtest::errorOf;

// What the archiver got, and the callbacks it may call.
struct Recorded {
  ZIPUSERFUNCTIONS zipCallbacks{};
  USERFUNCTIONS unzipCallbacks{};
  std::vector<std::string> calls;
  std::string rootDir;
  ZPOPT zipOptions{};
  DCL unzipOptions{};
  std::string zipFolder;
  std::vector<std::string> names;
  bool terminated = false;
  std::function<void()> during;  // what the archiver does while it runs
} gRecorded;

void recordNames(int count, char** list) {
  gRecorded.names.assign(list, list + count);
  gRecorded.terminated = list[count][0] == '\0';
}

const zv::platform::ZipArchiver kZipArchiver{
    [](ZIPUSERFUNCTIONS* f) {
      gRecorded.calls.push_back("ZpInit");
      gRecorded.zipCallbacks = *f;
      return 1;
    },
    [](ZPOPT* o) {
      gRecorded.calls.push_back("ZpSetOptions");
      gRecorded.zipOptions = *o;
      gRecorded.rootDir = o->szRootDir;
      return ZvBool{1};
    },
    [](ZCL c) {
      gRecorded.calls.push_back(std::string("ZpArchive ") + c.lpszZipFN);
      recordNames(c.argc, c.FNV);
      if (gRecorded.during) gRecorded.during();
      return 7;
    }};

const zv::platform::UnzipArchiver kUnzipArchiver{
    [](int count, char** names, int excluded, char** exclude, DCL* o, USERFUNCTIONS* f) {
      gRecorded.calls.push_back("Wiz_SingleEntryUnzip " + std::to_string(excluded) +
                                (exclude[0][0] ? " excluded" : ""));
      gRecorded.unzipOptions = *o;
      gRecorded.zipFolder = std::string(o->lpszZipFN) + "|" + o->lpszExtractDir;
      gRecorded.unzipCallbacks = *f;
      recordNames(count, names);
      if (gRecorded.during) gRecorded.during();
      return 0;
    },
    [](UzpVer2* v) {
      std::memcpy(v->betalevel, "beta\0xxxxx", 10);
      std::memcpy(v->date, "2024-03-05", 10);
      v->windll = {6, 1, 2, 0};
    }};

class ArchiveClassesTest : public ::testing::Test {
 protected:
  void SetUp() override { gRecorded = Recorded{}; }
  std::shared_ptr<zv::impl::ZipLib> zip = std::make_shared<zv::impl::ZipLib>(&kZipArchiver);
  std::shared_ptr<zv::impl::UnZipLib> unzip = std::make_shared<zv::impl::UnZipLib>(&kUnzipArchiver);
};

// Records every event and answers with what the test sets.
struct Listener : zv::UnZipLibEvents {
  std::vector<String> seen;
  String password;
  bool cancel = false;
  void Progress(int32_t count, const String& msg) override {
    seen.push_back(zv::longToString(count) + u":" + msg);
  }
  void Cancel(const String& msg, bool& bCancel) override {
    seen.push_back(u"Cancel:" + msg);
    bCancel = cancel;
  }
  void PasswordRequest(String& sPassword, bool&) override {
    seen.push_back(u"PasswordRequest");
    sPassword = password;
  }
};

struct FlagCase {
  const char* name;
  std::function<void(zv::impl::ZipLib&, bool)> let;
  std::function<bool(zv::impl::ZipLib&)> get;
  int offset;
  int32_t whenTrue, whenFalse;
};

TEST_F(ArchiveClassesTest, ZipSettingsLiveAtTheirOffsets) {
  using Z = zv::impl::ZipLib;
  const FlagCase cases[] = {
      {"Encrypt", &Z::let_Encrypt, &Z::get_Encrpyt, 20, 1, 0},
      {"IncludeSystemAndHiddenFiles", &Z::let_IncludeSystemAndHiddenFiles,
       &Z::get_IncludeSystemAndHiddenFiles, 24, 1, 0},
      {"StoreVolumeLabel", &Z::let_StoreVolumeLabel, &Z::get_StoreVolumeLabel, 28, 1, 0},
      {"StoreDirectories", &Z::let_StoreDirectories, &Z::get_StoreDirectories, 36, 0, 1},
      {"ConvertCRLFToLF", &Z::let_ConvertCRLFToLF, &Z::get_ConvertCRLFToLF, 56, 1, 0},
      {"ConvertLFToCRLF", &Z::let_ConvertLFToCRLF, &Z::get_ConvertLFToCRLF, 60, 1, 0},
      {"StoreFolderNames", &Z::let_StoreFolderNames, &Z::get_StoreFolderNames, 64, 0, 1},
      {"AllowAppend", &Z::let_AllowAppend, &Z::get_AllowAppend, 68, 1, 0},
      {"UpdateOnlyIfNewer", &Z::let_UpdateOnlyIfNewer, &Z::get_UpdateOnlyIfNewer, 84, 1, 0},
      {"FreshenFiles", &Z::let_FreshenFiles, &Z::get_FreshenFiles, 88, 1, 0},
      {"RecurseSubDirs", &Z::let_RecurseSubDirs, &Z::get_RecurseSubDirs, 116, 2, 0},
  };
  for (const FlagCase& c : cases) {
    Z z(&kZipArchiver);
    EXPECT_EQ(z.options().field(c.offset), c.whenFalse) << c.name << " of a new object";
    c.let(z, true);
    EXPECT_EQ(z.options().field(c.offset), c.whenTrue) << c.name;
    EXPECT_TRUE(c.get(z)) << c.name;
    EXPECT_EQ(z.options().field(84), c.offset == 84 ? 1 : 0) << c.name << " leaves 84 alone";
    c.let(z, false);
    EXPECT_EQ(z.options().field(c.offset), c.whenFalse) << c.name;
    EXPECT_FALSE(c.get(z)) << c.name;
  }
}

// ZipLib's message level takes two fields, UnZipLib's one.
TEST_F(ArchiveClassesTest, MessageLevelsAndUnzipSettingsLiveAtTheirOffsets) {
  const int32_t fields[][2] = {{1, 0}, {0, 1}, {0, 0}};
  for (int32_t level : {0, 1, 2}) {
    zip->let_MessageLevel(level);
    EXPECT_EQ(zip->options().field(48), fields[level][0]) << level;
    EXPECT_EQ(zip->options().field(52), fields[level][1]) << level;
    EXPECT_EQ(zip->get_MessageLevel(), level);
    unzip->let_MessageLevel(level);
    EXPECT_EQ(unzip->options().field(12), level);
  }
  using U = zv::impl::UnZipLib;
  const std::pair<void (U::*)(bool), int> cases[] = {
      {&U::let_ExtractOnlyNewer, 0},  {&U::let_SpaceToUnderScore, 4},
      {&U::let_PromptToOverwrite, 8}, {&U::let_TestZip, 20},
      {&U::let_UseFolderNames, 36},   {&U::let_OverwriteExisting, 40},
      {&U::let_ConvertCRToCRLF, 44},  {&U::let_CaseSensitiveFileNames, 52}};
  for (const auto& [let, offset] : cases) {
    (unzip.get()->*let)(true);
    EXPECT_EQ(unzip->options().field(offset), 1) << offset;
  }
}

TEST_F(ArchiveClassesTest, ZipHandsOverCallbacksOptionsAndSpecsInOrder) {
  zvtest::TempDir base;
  const auto cwd = std::filesystem::current_path();
  zip->let_BasePath(base.u());
  zip->let_ZipFile(u"caf\u00e9.zip");
  zip->let_Encrypt(true);
  EXPECT_EQ(zip->AddFileSpec(u"*.txt"), 0);
  zip->AddFileSpec(u"docs\\\u00e9t\u00e9");
  zip->Zip();
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(base.path()));
  std::filesystem::current_path(cwd);
  EXPECT_EQ(gRecorded.calls,
            (std::vector<std::string>{"ZpInit", "ZpSetOptions", "ZpArchive caf\xe9.zip"}));
  EXPECT_EQ(gRecorded.rootDir, base.path());
  EXPECT_EQ(gRecorded.zipOptions.fEncrypt, 1);
  EXPECT_EQ(gRecorded.zipOptions.fNoDirEntries, 1);
  EXPECT_EQ(gRecorded.zipOptions.fDeleteEntries, 0);
  EXPECT_EQ(gRecorded.names, (std::vector<std::string>{"*.txt", "docs\\\xe9t\xe9"}));
  EXPECT_TRUE(gRecorded.terminated);
}

TEST_F(ArchiveClassesTest, MoreThan1023SpecsFailAfterInitAndOptions) {
  for (int i = 0; i < 1024; ++i)
    zip->AddFileSpec(u"f");
  EXPECT_EQ(errorOf([&] { zip->Delete(); }), 9);
  EXPECT_EQ(gRecorded.calls, (std::vector<std::string>{"ZpInit", "ZpSetOptions"}));
  EXPECT_EQ(gRecorded.zipOptions.fDeleteEntries, 1);
  EXPECT_EQ(zip->options().field(80), 0) << "the delete flag is for one run";
}

TEST_F(ArchiveClassesTest, ZipCallbacksBecomeEvents) {
  Listener listener;
  zv::connectEvents(zip.get(), &listener);
  std::vector<int> answers;
  gRecorded.during = [&] {
    const ZIPUSERFUNCTIONS& f = gRecorded.zipCallbacks;
    char message[] = "  adding: dir/a.txt\0junk";
    f.print(message, sizeof message - 1);
    f.print(message, 1);  // too short for an event
    answers.push_back(f.service("dir/a.txt", 9));
    listener.cancel = true;
    answers.push_back(f.service("b.txt", 5));
    char buffer[300] = {};
    answers.push_back(f.password(buffer, 256, "", ""));  // empty answer: no password
    listener.password = u"pw";
    answers.push_back(f.password(buffer, 256, "", ""));  // not asked again this run
    EXPECT_STREQ(f.comment(buffer), buffer);
  };
  zip->Zip();
  listener.password = u" " + String(300, u'x') + u" ";
  gRecorded.during = [&] {
    char buffer[300] = {};
    answers.push_back(gRecorded.zipCallbacks.password(buffer, 256, "", ""));
    answers.push_back(static_cast<int>(std::strlen(buffer)));
  };
  zip->Zip();
  zv::connectEvents(zip.get(), nullptr);
  EXPECT_EQ(listener.seen,
            (std::vector<String>{u"1:  adding: dir/a.txt", u"Cancel:dir/a.txt", u"Cancel:b.txt",
                                 u"PasswordRequest", u"PasswordRequest"}));
  EXPECT_EQ(answers, (std::vector<int>{0, 1, 1, 1, 0, 254}));
}

// The entries a recorded listing brings: name, size, ratio and date parts, method, flag.
void listFive() {
  const UnzipEntryCallback* entry = gRecorded.unzipCallbacks.SendApplicationMessage;
  entry(0, 1000, 40, 2, 29, 2024, 13, 45, ' ', "docs/a.txt", "Defl:N", 0xFFFFFFFF, 'E');
  entry(0, 5, 0x1FFFF, 13, 1, 2023, 0, 0, ' ', "b.txt", "Stored", 1, ' ');
  entry(0, 0, 0, 1, 1, 2024, 0, 0, ' ', "docs/", "Stored", 0, ' ');
  entry(0, 7, 100, 1, 0, 2024, 0, 0, ' ', "c.txt", "", 2, ' ');
  entry(0, 9, 50, 1, 1, 2024, 0, 0, ' ', "x/y/d.txt", "Defl:X\0Z", 3, '@');
  entry(0, 1, 100, 1, 1, 2024, 0, 0, ' ', "e.txt", "Stored", 4, ' ');
}

// The listing, then the names Unzip hands over: none when everything is selected.
TEST_F(ArchiveClassesTest, DirectoryListsFileEntriesUnzipPassesTheSelected) {
  EXPECT_FALSE(unzip->Unzip());
  EXPECT_TRUE(gRecorded.calls.empty()) << "no archive: the archiver is not called";
  unzip->let_ZipFile(u"a.zip");
  gRecorded.during = listFive;
  EXPECT_EQ(unzip->Directory(), 0);
  EXPECT_EQ(gRecorded.zipFolder, std::string("a.zip|"));
  EXPECT_EQ(gRecorded.unzipOptions.nvflag, 1);
  ASSERT_EQ(unzip->get_FileCount(), 5);  // the folder entry is left out
  const String sep(1, zv::platform::pathSeparator());
  EXPECT_EQ(unzip->get_FileDirectory(1), u"docs");
  EXPECT_EQ(unzip->get_Filename(4), u"d.txt");
  EXPECT_EQ(unzip->get_FileDirectory(4), u"x" + sep + u"y");
  EXPECT_EQ(unzip->get_FilePackedSize(1), 400);
  EXPECT_EQ(unzip->get_FileCompressionRatio(2), -1);
  EXPECT_EQ(unzip->get_FileCRC(1), -1);
  EXPECT_EQ(unzip->get_FileDate(1), *zv::makeDate(2024, 2, 29, 13, 45));
  EXPECT_EQ(unzip->get_FileDate(2), *zv::makeDate(2024, 1, 1)) << "month 13 rolls over";
  EXPECT_EQ(unzip->get_FileDate(3), *zv::makeDate(2023, 12, 31)) << "day 0 rolls back";
  EXPECT_EQ(unzip->get_FileCompressionMethod(4), u"Defl:X");
  EXPECT_TRUE(unzip->get_FileEncrypted(1));
  EXPECT_TRUE(unzip->get_FileEncrypted(4));
  EXPECT_FALSE(unzip->get_FileEncrypted(2));
  EXPECT_EQ(errorOf([&] { unzip->get_Filename(6); }), 9);

  gRecorded.during = nullptr;
  unzip->let_UnzipFolder(u"out");
  EXPECT_FALSE(unzip->Unzip());
  EXPECT_TRUE(gRecorded.names.empty()) << "everything selected: no names";
  EXPECT_EQ(gRecorded.zipFolder, "a.zip|out");
  EXPECT_EQ(gRecorded.unzipOptions.nvflag, 0);
  EXPECT_EQ(gRecorded.calls.back(), "Wiz_SingleEntryUnzip 0");
  for (int32_t i : {2, 4, 5})
    unzip->let_FileSelected(i, false);
  unzip->Unzip();
  EXPECT_EQ(gRecorded.names, (std::vector<std::string>{"docs/a.txt", "c.txt"}));
  EXPECT_TRUE(gRecorded.terminated);
  gRecorded.during = listFive;
  unzip->Directory();
  EXPECT_EQ(unzip->get_FileCount(), 10);
  unzip->let_ZipFile(u"a.zip");
  EXPECT_EQ(unzip->get_FileCount(), 0);
}

TEST_F(ArchiveClassesTest, UnzipCallbacksAnswerFromEvents) {
  unzip->let_ZipFile(u"a.zip");
  Listener listener;
  zv::connectEvents(unzip.get(), &listener);
  std::vector<int> answers;
  gRecorded.during = [&] {
    const USERFUNCTIONS& f = gRecorded.unzipCallbacks;
    char name[] = "dir/f.txt";
    answers.push_back(f.replace(name));
    listener.cancel = true;
    answers.push_back(f.ServCallBk("a\\b.txt", 7));
  };
  unzip->Unzip();
  zv::connectEvents(unzip.get(), nullptr);
  EXPECT_EQ(answers, (std::vector<int>{100, 1}));
  EXPECT_EQ(listener.seen, (std::vector<String>{u"Cancel:a/b.txt"}));
}

TEST_F(ArchiveClassesTest, VersionComesFromTheLastVersionField) {
  int32_t major = 0, minor = 0, revision = 0;
  zv::Date date{};
  String extra;
  unzip->GetZipVersion(major, minor, revision, date, extra);
  EXPECT_EQ(major * 100 + minor * 10 + revision, 612);
  EXPECT_EQ(extra, u"beta");
  EXPECT_EQ(date, *zv::makeDate(2024, 3, 5));
}

}  // namespace
