// The operating system as the archiver needs it. The archiver libraries stand alone (one
// DLL each on Windows), so they carry this small layer of their own: posix.cpp and
// win32.cpp implement it. Paths are UTF-8 with either separator.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zv::archiver::os {

// Text crossing the DLL interface is in the system's ANSI code page: Windows' own on
// Windows, Windows-1252 on POSIX (as the rest of the library). Characters without a code
// become '?'.
std::string fromAnsi(std::string_view ansi);
std::string toAnsi(std::string_view utf8);

struct FileStatus {
  bool directory = false;
  bool regular = false;
  bool symlink = false;  // only when links are not followed
  bool hidden = false;   // POSIX: a name starting with "."; Windows: the attributes
  uint64_t size = 0;
  int64_t modified = 0;        // seconds since 1970, UTC
  uint32_t unixMode = 0;       // POSIX: st_mode; Windows: 0
  uint32_t dosAttributes = 0;  // Windows: the attributes; POSIX: 0x10 for folders
};

std::optional<FileStatus> status(const std::string& path, bool followLinks = true);

// The names in a folder, "." and ".." left out; empty when it cannot be read.
std::vector<std::string> listDirectory(const std::string& path);

std::FILE* openFile(const std::string& path, bool forWriting);
bool seekFile(std::FILE* file, uint64_t offset);
uint64_t tellFile(std::FILE* file);
bool truncateFile(std::FILE* file, uint64_t size);

// A new empty file with a unique name in `folder`, open for writing; its path goes to
// `path`. nullptr when none can be made.
std::FILE* createUniqueFile(const std::string& folder, std::string& path);

bool makeDirectory(const std::string& path);
bool removeFile(const std::string& path);
// Renames `from` to `to`, replacing a file already there.
bool replaceFile(const std::string& from, const std::string& to);
bool setModified(const std::string& path, int64_t seconds);
// Unix permission bits (ignored on Windows, which keeps only the DOS attributes).
void setPermissions(const std::string& path, uint32_t unixMode, uint32_t dosAttributes);
// False where the system has no symbolic links for the archiver to make.
bool makeSymlink(const std::string& target, const std::string& path);

std::optional<std::string> realPath(const std::string& path);
std::string absolutePath(const std::string& path);
// Bytes free for the user in the folder's volume; UINT64_MAX when unknown.
uint64_t freeSpace(const std::string& folder);
// The label of the volume holding `path`, "" when it has none.
std::string volumeLabel(const std::string& path);

// The separator to join paths with, and whether names compare without case.
char separator();
bool caseInsensitiveNames();
// A path is absolute: "/x" on POSIX; "C:\x", "\x" or "\\server\share" on Windows.
bool isAbsolute(std::string_view path);

bool localTime(int64_t seconds, std::tm& out);

}  // namespace zv::archiver::os
