// SystemLib and COpSysInfo on POSIX: the version record, folders and names, drive types,
// the current folder, programs started and found, recent documents and the system report.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "api/COpSysInfo.h"
#include "api/SystemLib.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "test_support.h"

namespace fs = std::filesystem;
using zv::String;

namespace {

class SystemLibTest : public testing::Test {
 protected:
  // Waits up to two seconds for a file a started program renames into place.
  std::string awaited(const std::string& path) {
    for (int i = 0; i < 200 && !fs::exists(path); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return zvtest::readBytes(path);
  }

  zvtest::TempDir dir_;
  zvtest::RecordingUserInterface ui_;
  std::shared_ptr<zv::SystemLib> lib_ = zv::SystemLib::create();
};

TEST_F(SystemLibTest, VersionFromTheKernelRelease) {
  utsname names{};
  ASSERT_EQ(::uname(&names), 0);
  int major = 0, minor = 0, build = 0;
  std::sscanf(names.release, "%d.%d.%d", &major, &minor, &build);
  auto info = zv::COpSysInfo::create();
  EXPECT_EQ(info->get_MajorVersion(), major);
  EXPECT_TRUE(info->get_IsWinNT() && !info->get_IsWin95() && !info->get_IsWin98());
  EXPECT_EQ(info->get_Version(), u"Windows NT v" + zv::longToString(major) + u"." +
                                     zv::longToString(minor) + u", Build " +
                                     zv::longToString(build));
  lib_->GetWindowsVersion();
  EXPECT_EQ(lib_->get_WindowsSystem(), u"Windows NT");
  EXPECT_EQ(lib_->get_WindowsVersion(), zv::longToString(major) + u"." + zv::longToString(minor) +
                                            u"(Build " + zv::longToString(build) + u")");
  lib_->let_WindowsVersion(u"mine");
  EXPECT_EQ(lib_->get_WindowsVersion(), u"mine");
}

TEST_F(SystemLibTest, FoldersAndNames) {
  EXPECT_EQ(lib_->GetUserName(), zv::fromUtf8(::getpwuid(::geteuid())->pw_name));
  char host[256] = {};
  ::gethostname(host, sizeof host - 1);
  EXPECT_EQ(lib_->GetComputerName(), std::string(host).size() < 50 ? zv::fromUtf8(host) : u"");
  zvtest::ScopedVariable home("HOME", dir_.path("home"));
  zvtest::ScopedVariable config("XDG_CONFIG_HOME", dir_.path("config"));
  EXPECT_EQ(lib_->GetMyDocumentsDir(), dir_.u("home/Documents"));
  fs::create_directories(dir_.path("config"));
  for (const auto& [line, expected] : std::vector<std::pair<std::string, String>>{
           {"XDG_DOCUMENTS_DIR=\"$HOME/Papiers\"", dir_.u("home/Papiers")},
           {"XDG_DOCUMENTS_DIR=\"/srv/docs/\"", u"/srv/docs"},
           {"XDG_DOCUMENTS_DIR=\"relative\"", dir_.u("home/Documents")}}) {
    zvtest::writeBytes(dir_.path("config/user-dirs.dirs"), "# xdg-user-dirs\n" + line + "\n");
    EXPECT_EQ(lib_->GetMyDocumentsDir(), expected) << line;
  }
}

// Other folders, and names with drive letters, are in the case table (tests/cases/system.tsv).
TEST_F(SystemLibTest, DriveTypesFromTheMountTable) {
  std::ifstream mounts("/proc/self/mounts");
  for (std::string device, point, type; mounts >> device >> point >> type;) {
    mounts.ignore(1 << 12, '\n');
    if (type == "tmpfs" && point.find('\\') == std::string::npos) {
      EXPECT_EQ(lib_->GetTheDriveType(zv::fromUtf8(point)), 6) << point;
      break;
    }
  }
}

TEST_F(SystemLibTest, ChangeDirAndProgramsStartedInTheirFolder) {
  const fs::path before = fs::current_path();
  lib_->ChangeDir(dir_.u("no such folder"));
  EXPECT_EQ(fs::current_path(), before);
  fs::create_directories(dir_.path("bin"));
  const std::string script = dir_.path("bin/where.sh");
  zvtest::writeBytes(script, "#!/bin/sh\npwd > ran.tmp && mv ran.tmp ran.txt\n");
  fs::permissions(script, fs::perms::owner_all);
  EXPECT_TRUE(lib_->ExecApplication(zv::fromUtf8(script), 1));
  EXPECT_EQ(awaited(dir_.path("bin/ran.txt")), fs::canonical(dir_.path("bin")).string() + "\n");
  EXPECT_EQ(fs::current_path(), before);  // restored after the start
  EXPECT_FALSE(lib_->ExecApplication(u"", 0));
  EXPECT_FALSE(lib_->ExecApplicationDOS(dir_.u("bin/missing")));
  lib_->ChangeDir(dir_.u("bin"));
  EXPECT_EQ(fs::current_path(), fs::path(dir_.path("bin")));
  fs::current_path(before);
  EXPECT_EQ(ui_.pointers.size(), 2u);  // the empty name and the failed DOS launch
}

TEST_F(SystemLibTest, RunningProgramsByExactName) {
  std::ifstream comm("/proc/self/comm");
  std::string self;
  std::getline(comm, self);
  EXPECT_TRUE(lib_->isProgramRunning(zv::fromUtf8(" " + self + " "), true));
  EXPECT_FALSE(lib_->isProgramRunning(zv::fromUtf8(self.substr(1)), false));
}

TEST_F(SystemLibTest, RecentDocumentsInTheBookmarkFile) {
  zvtest::ScopedVariable data("XDG_DATA_HOME", dir_.path("data"));
  const std::string file = dir_.path("data/recently-used.xbel");
  lib_->AddRecentFile(dir_.u("my notes.txt"));
  lib_->AddRecentFile(dir_.u("other.bin"));
  const std::string first = zvtest::readBytes(file);
  lib_->AddRecentFile(dir_.u("my notes.txt"));
  const std::string xml = zvtest::readBytes(file);
  const std::string href = "<bookmark href=\"file://" + dir_.path("my%20notes.txt") + "\"";
  EXPECT_EQ(xml.find(href), xml.rfind(href));  // listed once
  EXPECT_NE(xml.find(href), std::string::npos) << xml;
  EXPECT_NE(xml.find("<mime:mime-type type=\"text/plain\"/>"), std::string::npos);
  EXPECT_NE(xml.find("<mime:mime-type type=\"application/octet-stream\"/>"), std::string::npos);
  EXPECT_TRUE(xml.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\""));
  EXPECT_TRUE(xml.ends_with("</xbel>\n"));
  EXPECT_EQ(first.size(), xml.size());  // the same entries, new times
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path("data")), fs::directory_iterator()), 1);
}

// Every section has its header; each item is the label, " : ", its tabs and the value.
TEST_F(SystemLibTest, HostConfigReport) {
  const std::string file = dir_.path("host.txt");
  lib_->HostConfig(zv::fromUtf8(file));
  const std::string report = zvtest::readBytes(file);
  const std::string rule(30, '#');
  const char* titles[] = {"Systeme d'exploitation",
                          "Systeme ordinateur",
                          nullptr,
                          "Syteme BIOS",
                          "Processus",
                          "Disponibilit\xE9 RAM",
                          "CD ROM",
                          "Connexion reseau",
                          "NIC",
                          "Utilisateur"};
  size_t at = 0;
  for (const char* title : titles) {
    const std::string header = rule + "\r\n" + (title ? std::string(title) + " : \r\n" : "");
    at = report.find(header, at);
    ASSERT_NE(at, std::string::npos) << (title ? title : "processor");
    at += header.size();
  }
  EXPECT_NE(report.find(rule + "\r\nProcesseur : \t\t"), std::string::npos);  // no title
  std::ifstream comm("/proc/self/comm");
  std::string self;
  std::getline(comm, self);
  EXPECT_NE(report.find("Nom : \t\t" + self + "\r\nNumero id : \t" + std::to_string(::getpid()) +
                        "\r\nNumero id : \t"),
            std::string::npos);
  EXPECT_NE(report.find("Fr\xE9quence actuelle : \t"), std::string::npos);
  EXPECT_NE(report.find("Nom de l'ordinateur  : \t\t"), std::string::npos);
  EXPECT_NE(report.find("\r\nSID : \t\tS-1-22-1-0\r\n\r\n"), std::string::npos);
  EXPECT_TRUE(report.ends_with("\r\n\r\n"));
  lib_->HostConfig(u"");
  lib_->HostConfig(dir_.u("no/such/folder/report.txt"));
  EXPECT_FALSE(fs::exists(dir_.path("no")));
}

}  // namespace
