// What a POSIX system says about itself, in the forms the Windows functions give.
#include <dirent.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "platform/posix/mounts_posix.h"
#include "platform/posix/xdg_posix.h"
#include "platform/system_info.h"
#include "runtime/text.h"

namespace zv::platform {

namespace {

constexpr int32_t kPlatformNt = 2;

// The value of KEY=value or KEY="value" lines (os-release, user-dirs.dirs).
std::string shellAssignment(const std::string& file, const std::string& key) {
  std::ifstream in(file);
  std::string value;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key + "=", 0) != 0) continue;
    value = line.substr(key.size() + 1);
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
      value = value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

// The kernel's release gives the numbers ("6.1.0-18-amd64" is 6.1, build 0); the
// distribution's name stands in the service-pack text.
VersionRecord versionRecord() {
  VersionRecord record;
  record.platformId = kPlatformNt;
  utsname names{};
  if (::uname(&names) == 0) {
    int numbers[3] = {0, 0, 0};
    const char* p = names.release;
    for (int& n : numbers) {
      char* end = nullptr;
      n = static_cast<int>(std::strtol(p, &end, 10));
      if (*end != '.') break;
      p = end + 1;
    }
    record.major = numbers[0];
    record.minor = numbers[1];
    record.build = numbers[2];
  }
  record.servicePack = fromUtf8(shellAssignment("/etc/os-release", "PRETTY_NAME").substr(0, 127));
  return record;
}

String windowsFolder() {
  return u"/usr";
}

String systemFolder() {
  return u"/usr/bin";
}

String userName() {
  if (const std::string name = posix::currentAccount().name; !name.empty()) return fromUtf8(name);
  for (const char* name : {"USER", "LOGNAME"})
    if (const char* value = std::getenv(name)) return fromUtf8(value);
  return String();
}

String computerName() {
  char name[256] = {};
  return ::gethostname(name, sizeof name - 1) == 0 ? fromUtf8(name) : String();
}

// What `xdg-user-dir DOCUMENTS` answers: the user-dirs.dirs entry ("$HOME/..." or an
// absolute path), else $HOME/Documents.
std::optional<String> documentsFolder() {
  const std::string home = posix::homeFolder();
  std::string folder =
      shellAssignment(posix::configHome() + "/user-dirs.dirs", "XDG_DOCUMENTS_DIR");
  if (folder.rfind("$HOME", 0) == 0) folder = home + folder.substr(5);
  if (folder.empty() || folder[0] != '/') folder = home + "/Documents";
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return fromUtf8(folder);
}

int32_t driveType(const String& root) {
  return posix::mountType(toUtf8(root));
}

void forEachTopLevelWindow(const std::function<bool(const String& title)>& visit) {
  std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), ::closedir);
  if (!proc) return;
  while (const dirent* entry = ::readdir(proc.get())) {
    const std::string pid = entry->d_name;
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream comm("/proc/" + pid + "/comm");
    std::string name;
    if (std::getline(comm, name) && !visit(fromUtf8(name))) return;
  }
}

void activateApplication(const String&) {}

String expandEnvironmentStrings(const String& text) {
  String out;
  size_t at = 0;
  for (size_t open; (open = text.find(u'%', at)) != String::npos;) {
    const size_t close = text.find(u'%', open + 1);
    if (close == String::npos) break;
    const String name = text.substr(open + 1, close - open - 1);
    const char* value = name.empty() ? nullptr : std::getenv(toUtf8(name).c_str());
    out += text.substr(at, open - at);
    if (value) {
      out += fromUtf8(value);
      at = close + 1;
    } else {
      out += u'%' + name;
      at = close;
    }
  }
  return out + text.substr(at);
}

}  // namespace zv::platform
