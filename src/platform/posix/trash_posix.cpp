// The recycle bin on POSIX: the freedesktop.org trash in $XDG_DATA_HOME/Trash. Each file
// goes to files/NAME with info/NAME.trashinfo naming where it was and when it left; a name
// already taken is numbered as desktop file managers number it (a.txt, a.2.txt, a.3.txt).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/posix/xdg_posix.h"
#include "platform/shell.h"
#include "runtime/text.h"

namespace zv::platform {

namespace {

using posix::absolutePath;

constexpr int32_t kDiskFull = 112;      // ERROR_DISK_FULL
constexpr int32_t kDeviceError = 1117;  // ERROR_IO_DEVICE

int32_t windowsError(int savedErrno) {
  switch (savedErrno) {
    case ENOENT:
      return shell::kFileNotFound;
    case ENOTDIR:
      return shell::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
      return shell::kAccessDenied;
    case ENOSPC:
      return kDiskFull;
    default:
      return kDeviceError;
  }
}

// The n-th name tried for `base`: the name itself, then the number before the first dot.
std::string numbered(const std::string& base, int n) {
  if (n == 1) return base;
  const size_t dot = base.find('.');
  if (dot == std::string::npos) return base + "." + std::to_string(n);
  return base.substr(0, dot) + "." + std::to_string(n) + base.substr(dot);
}

bool writeAll(int fd, const std::string& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

// Claims a free name by creating its info file (O_EXCL: two processes never share one).
int32_t claimName(const std::string& trash, const std::string& base, const std::string& info,
                  std::string& name) {
  for (int n = 1;; ++n) {
    name = numbered(base, n);
    struct stat st;
    if (::lstat((trash + "/files/" + name).c_str(), &st) == 0) continue;
    const std::string infoPath = trash + "/info/" + name + ".trashinfo";
    const int fd = ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return windowsError(errno);
    const bool written = writeAll(fd, info);
    const int savedErrno = errno;
    if (::close(fd) != 0 || !written) {
      ::unlink(infoPath.c_str());
      return windowsError(written ? errno : savedErrno);
    }
    return 0;
  }
}

// A file on another file system than the trash is copied there, then removed.
int32_t moveAcross(const std::string& from, const std::string& to) {
  std::error_code ec;
  std::filesystem::copy(
      from, to,
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks, ec);
  if (!ec) std::filesystem::remove_all(from, ec);
  if (!ec) return 0;
  std::error_code ignored;
  std::filesystem::remove_all(to, ignored);
  return windowsError(ec.value());
}

int32_t trashOne(const std::string& trash, const std::string& path) {
  const std::string original = absolutePath(path);
  struct stat st;
  if (::lstat(original.c_str(), &st) != 0) return windowsError(errno);
  const size_t slash = original.find_last_of('/');
  const std::string base = original.substr(slash + 1);
  if (base.empty()) return shell::kAccessDenied;
  const std::string info = "[Trash Info]\nPath=" + posix::percentEncode(original) +
                           "\nDeletionDate=" + posix::timestamp(false) + "\n";
  std::string name;
  if (const int32_t claimed = claimName(trash, base, info, name)) return claimed;
  const std::string target = trash + "/files/" + name;
  int32_t result = 0;
  if (::rename(original.c_str(), target.c_str()) != 0)
    result = errno == EXDEV ? moveAcross(original, target) : windowsError(errno);
  if (result != 0) ::unlink((trash + "/info/" + name + ".trashinfo").c_str());
  return result;
}

}  // namespace

int32_t moveToTrash(const std::vector<String>& paths) {
  const std::string trash = posix::dataHome() + "/Trash";
  if (!posix::makeFolders(trash + "/files", 0700) || !posix::makeFolders(trash + "/info", 0700))
    return shell::kAccessDenied;
  for (const String& path : paths) {
    if (path.empty()) return shell::kFileNotFound;
    if (const int32_t result = trashOne(trash, toUtf8(path))) return result;
  }
  return 0;
}

}  // namespace zv::platform
