#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

#include "archiver/os/os.h"
#include "archiver/text.h"

namespace zv::archiver::os {

namespace {

// Windows-1252, bytes 0x80 to 0x9F (the five undefined ones stay C1 controls).
constexpr uint16_t kCp1252Controls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ansiCode(uint32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i)
    if (kCp1252Controls[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

std::string baseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string fromAnsi(std::string_view ansi) {
  std::string out;
  for (char ch : ansi) {
    const auto b = static_cast<uint8_t>(ch);
    appendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252Controls[b - 0x80] : b);
  }
  return out;
}

std::string toAnsi(std::string_view utf8) {
  std::string out;
  for (size_t pos = 0; pos < utf8.size();)
    out += ansiCode(nextCodePoint(utf8, pos));
  return out;
}

std::optional<FileStatus> status(const std::string& path, bool followLinks) {
  struct stat st {};
  if ((followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0)
    return std::nullopt;
  FileStatus s;
  s.directory = S_ISDIR(st.st_mode);
  s.regular = S_ISREG(st.st_mode);
  s.symlink = S_ISLNK(st.st_mode);
  const std::string name = baseName(path);
  s.hidden = name.size() > 1 && name[0] == '.' && name != "..";
  s.size = static_cast<uint64_t>(st.st_size);
  s.modified = st.st_mtime;
  s.unixMode = st.st_mode;
  s.dosAttributes = s.directory ? 0x10 : 0;
  return s;
}

std::vector<std::string> listDirectory(const std::string& path) {
  std::vector<std::string> names;
  DIR* dir = opendir(path.empty() ? "." : path.c_str());
  if (!dir) return names;
  while (dirent* e = readdir(dir)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  return names;
}

std::FILE* openFile(const std::string& path, bool forWriting) {
  return std::fopen(path.c_str(), forWriting ? "wb" : "rb");
}

bool seekFile(std::FILE* file, uint64_t offset) {
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

uint64_t tellFile(std::FILE* file) {
  return static_cast<uint64_t>(ftello(file));
}

bool truncateFile(std::FILE* file, uint64_t size) {
  return std::fflush(file) == 0 && ftruncate(fileno(file), static_cast<off_t>(size)) == 0;
}

std::FILE* createUniqueFile(const std::string& folder, std::string& path) {
  // mkstemp makes the file private; it gets what a new file gets, as it becomes one. The
  // umask is read where the kernel shows it: setting it to read it back would change it for
  // a moment under every other thread's new files.
  static const mode_t kNewFileMode = [] {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
      if (line.rfind("Umask:", 0) == 0) return 0666 & ~std::stoul(line.substr(6), nullptr, 8);
    const mode_t mask = umask(022);
    umask(mask);
    return 0666ul & ~mask;
  }();
  std::string name = (folder.empty() ? std::string(".") : folder) + "/zvXXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) return nullptr;
  fchmod(fd, kNewFileMode);
  std::FILE* file = fdopen(fd, "w+b");
  if (!file) {
    close(fd);
    unlink(name.c_str());
    return nullptr;
  }
  path = name;
  return file;
}

bool makeDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) return true;
  const auto s = status(path, false);
  return s && s->directory;
}

bool removeFile(const std::string& path) {
  return unlink(path.c_str()) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
  return rename(from.c_str(), to.c_str()) == 0;
}

bool setModified(const std::string& path, int64_t seconds) {
  const timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
  return utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

void setPermissions(const std::string& path, uint32_t unixMode, uint32_t) {
  // Set-user and set-group bits are not restored from an archive.
  if (unixMode & 0777) chmod(path.c_str(), unixMode & 01777);
}

bool makeSymlink(const std::string& target, const std::string& path) {
  return symlink(target.c_str(), path.c_str()) == 0;
}

std::optional<std::string> realPath(const std::string& path) {
  char buffer[PATH_MAX];
  if (!realpath(path.c_str(), buffer)) return std::nullopt;
  return std::string(buffer);
}

std::string absolutePath(const std::string& path) {
  if (isAbsolute(path)) return path;
  char buffer[PATH_MAX];
  if (!getcwd(buffer, sizeof buffer)) return path;
  return std::string(buffer) + "/" + path;
}

uint64_t freeSpace(const std::string& folder) {
  struct statvfs fs {};
  if (statvfs(folder.empty() ? "." : folder.c_str(), &fs) != 0) return UINT64_MAX;
  return static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize;
}

std::string volumeLabel(const std::string&) {
  return {};
}

char separator() {
  return '/';
}

bool caseInsensitiveNames() {
  return false;
}

bool isAbsolute(std::string_view path) {
  return !path.empty() && path[0] == '/';
}

bool localTime(int64_t seconds, std::tm& out) {
  const time_t t = static_cast<time_t>(seconds);
  return localtime_r(&t, &out) != nullptr;
}

}  // namespace zv::archiver::os
