// VB's file statements on POSIX, with the errors Windows gives for the same failures.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
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

// The file a link names, so that replacing it keeps the link.
std::string followLink(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  const std::string target = resolved ? resolved : path;
  std::free(resolved);
  return target;
}

// Removes the scratch file unless the write it holds was put in place.
class Scratch {
 public:
  explicit Scratch(std::string path) : path_(std::move(path)) {}
  ~Scratch() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  void keep() { path_.clear(); }

 private:
  std::string path_;
};

// A new file beside `target`, named in `name`, with the target's permissions (`newMode`
// for a new target, less the umask).
int openScratch(const std::string& target, mode_t newMode, std::string& name) {
  struct stat st;
  const mode_t mode = ::stat(target.c_str(), &st) == 0 ? st.st_mode & 07777 : newMode;
  static std::atomic<unsigned> serial{0};
  const std::string stem = target + ".zv" + std::to_string(::getpid()) + "-";
  for (;;) {
    name = stem + std::to_string(serial++);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
}

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

String createScratchBeside(const String& target) {
  const std::string path = toUtf8(target);
  std::string name;
  Descriptor fd(openScratch(path, 0666, name));
  if (fd.get() < 0) raiseFor(errno, path);
  if (fd.release() != 0) {
    const int saved = errno;
    ::unlink(name.c_str());
    raiseFor(saved, path);
  }
  return fromUtf8(name);
}

void replaceFile(const String& scratch, const String& target) {
  const std::string from = toUtf8(scratch), to = toUtf8(target);
  if (::rename(from.c_str(), to.c_str()) != 0) raiseFor(errno, to);
}

void copyFile(const String& from, const String& to) {
  const std::string source = toUtf8(from), target = followLink(toUtf8(to));
  if (isFolder(source)) raise(err::kPathFileAccess);
  Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) raiseFor(errno, source);
  struct stat st;
  if (::fstat(in.get(), &st) != 0) raiseFor(errno, source);
  if (isFolder(target)) raise(err::kPathFileAccess);
  // The copy replaces a file only once it is whole; a device or pipe is written in place.
  struct stat existing;
  const bool inPlace = ::stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode);
  std::string name;
  Descriptor out(inPlace ? ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC)
                         : openScratch(target, st.st_mode & 0777, name));
  if (out.get() < 0) raiseFor(errno, target);
  Scratch scratch(name);
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
  if (inPlace) return;
  if (::rename(name.c_str(), target.c_str()) != 0) raiseFor(errno, target);
  scratch.keep();
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
