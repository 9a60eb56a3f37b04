// VB's file statements on POSIX, with the errors Windows gives for the same failures.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/file_system.h"
#include "runtime/errors.h"
#include "runtime/text.h"

namespace zv::platform {

namespace {

bool isFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool parentExists(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return true;
  return isFolder(path.substr(0, slash));
}

// The error of a failed call on `path`, as VB raises it on Windows.
[[noreturn]] void raiseFor(int savedErrno, const std::string& path) {
  switch (savedErrno) {
    case ENOENT:
      raise(parentExists(path) ? err::kFileNotFound : err::kPathNotFound);
    case ENOTDIR:
      raise(err::kPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
      raise(err::kPermissionDenied);
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      raise(err::kDiskFull);
    default:
      raise(err::kPathFileAccess);
  }
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, so that a failed final write is seen.
  int release() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

}  // namespace

bool caseSensitivePaths() {
  return true;
}

char16_t pathListSeparator() {
  return u':';
}

String environmentVariable(StringView name) {
  const char* value = std::getenv(toUtf8(name).c_str());
  return value ? fromUtf8(value) : String();
}

void copyFile(const String& from, const String& to) {
  const std::string source = toUtf8(from), target = toUtf8(to);
  if (isFolder(source)) raise(err::kPathFileAccess);
  Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) raiseFor(errno, source);
  struct stat st;
  if (::fstat(in.get(), &st) != 0) raiseFor(errno, source);
  if (isFolder(target)) raise(err::kPathFileAccess);
  Descriptor out(
      ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 0777));
  if (out.get() < 0) raiseFor(errno, target);
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) raise(err::kDeviceIO);
    if (got == 0) break;
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::write(out.get(), buffer + done, static_cast<size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) raiseFor(errno, target);
      done += put;
    }
  }
  if (out.release() != 0) raiseFor(errno, target);
}

void deleteFile(const String& path) {
  const std::string name = toUtf8(path);
  if (isFolder(name)) raise(err::kPathFileAccess);
  if (::unlink(name.c_str()) != 0) raiseFor(errno, name);
}

void createDirectory(const String& path) {
  const std::string name = toUtf8(path);
  if (::mkdir(name.c_str(), 0777) == 0) return;
  raise(errno == ENOENT || errno == ENOTDIR ? err::kPathNotFound : err::kPathFileAccess);
}

String currentDirectory() {
  std::string buffer(4096, '\0');
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) raise(err::kPathNotFound);
    buffer.resize(buffer.size() * 2);
  }
  return fromUtf8(buffer.c_str());
}

void setCurrentDirectory(const String& path) {
  if (::chdir(toUtf8(path).c_str()) != 0) raise(err::kPathNotFound);
}

String libraryFolder() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&libraryFolder), &info) == 0 || !info.dli_fname)
    return currentDirectory();
  char* resolved = ::realpath(info.dli_fname, nullptr);
  std::string file = resolved ? resolved : info.dli_fname;
  std::free(resolved);
  const size_t slash = file.find_last_of('/');
  if (slash == std::string::npos) return currentDirectory();
  return fromUtf8(slash == 0 ? "/" : file.substr(0, slash));
}

String temporaryFolder() {
  String folder = environmentVariable(u"TMPDIR");
  return folder.empty() ? String(u"/tmp") : folder;
}

}  // namespace zv::platform
