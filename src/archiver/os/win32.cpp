#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <random>

#include "archiver/os/os.h"

namespace zv::archiver::os {

namespace {

std::wstring toWide(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string fromWide(std::wstring_view text, UINT codePage) {
  if (text.empty()) return {};
  const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, fallback, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      fallback, nullptr);
  return out;
}

std::wstring wide(const std::string& path) {
  return toWide(path, CP_UTF8);
}

int64_t unixSeconds(const FILETIME& ft) {
  const uint64_t ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<int64_t>(ticks / 10000000ull) - 11644473600ll;
}

FILETIME fileTime(int64_t seconds) {
  const uint64_t ticks = static_cast<uint64_t>(seconds + 11644473600ll) * 10000000ull;
  return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// Opens a file or folder for reading its attributes or setting its times.
HANDLE openHandle(const std::string& path, DWORD access) {
  return CreateFileW(wide(path).c_str(), access,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

std::string fromAnsi(std::string_view ansi) {
  return fromWide(toWide(ansi, CP_ACP), CP_UTF8);
}

std::string toAnsi(std::string_view utf8) {
  return fromWide(toWide(utf8, CP_UTF8), CP_ACP);
}

std::optional<FileStatus> status(const std::string& path, bool followLinks) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FileStatus s;
  const DWORD a = data.dwFileAttributes;
  s.symlink = !followLinks && (a & FILE_ATTRIBUTE_REPARSE_POINT);
  s.directory = !s.symlink && (a & FILE_ATTRIBUTE_DIRECTORY);
  s.regular = !s.symlink && !s.directory;
  s.hidden = (a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
  s.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  s.modified = unixSeconds(data.ftLastWriteTime);
  s.dosAttributes = a & 0xFF;
  return s;
}

std::vector<std::string> listDirectory(const std::string& path) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  const std::string pattern = (path.empty() ? std::string(".") : path) + "\\*";
  HANDLE h = FindFirstFileW(wide(pattern).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(fromWide(name, CP_UTF8));
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return names;
}

std::FILE* openFile(const std::string& path, bool forWriting) {
  return _wfopen(wide(path).c_str(), forWriting ? L"wb" : L"rb");
}

bool seekFile(std::FILE* file, uint64_t offset) {
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
}

uint64_t tellFile(std::FILE* file) {
  return static_cast<uint64_t>(_ftelli64(file));
}

bool truncateFile(std::FILE* file, uint64_t size) {
  return std::fflush(file) == 0 && _chsize_s(_fileno(file), static_cast<__int64>(size)) == 0;
}

std::FILE* createUniqueFile(const std::string& folder, std::string& path) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "zv%08X", static_cast<unsigned>(random()));
    const std::string candidate = (folder.empty() ? std::string(".") : folder) + "\\" + name;
    HANDLE h = CreateFileW(wide(candidate).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDWR | _O_BINARY);
    std::FILE* file = fd < 0 ? nullptr : _fdopen(fd, "w+b");
    if (!file) {
      if (fd < 0)
        CloseHandle(h);
      else
        _close(fd);
      DeleteFileW(wide(candidate).c_str());
      return nullptr;
    }
    path = candidate;
    return file;
  }
  return nullptr;
}

bool makeDirectory(const std::string& path) {
  if (CreateDirectoryW(wide(path).c_str(), nullptr)) return true;
  const auto s = status(path, false);
  return s && s->directory;
}

bool removeFile(const std::string& path) {
  return DeleteFileW(wide(path).c_str()) != 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
  return MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool setModified(const std::string& path, int64_t seconds) {
  HANDLE h = openHandle(path, FILE_WRITE_ATTRIBUTES);
  if (h == INVALID_HANDLE_VALUE) return false;
  const FILETIME t = fileTime(seconds);
  const bool ok = SetFileTime(h, nullptr, &t, &t) != 0;
  CloseHandle(h);
  return ok;
}

void setPermissions(const std::string& path, uint32_t, uint32_t dosAttributes) {
  const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (dosAttributes & kept) SetFileAttributesW(wide(path).c_str(), dosAttributes & kept);
}

bool makeSymlink(const std::string&, const std::string&) {
  return false;
}

std::optional<std::string> realPath(const std::string& path) {
  HANDLE h = openHandle(path, 0);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  wchar_t buffer[32768];
  const DWORD n = GetFinalPathNameByHandleW(h, buffer, 32768, FILE_NAME_NORMALIZED);
  CloseHandle(h);
  if (n == 0 || n >= 32768) return std::nullopt;
  std::wstring text(buffer, n);
  if (text.rfind(L"\\\\?\\UNC\\", 0) == 0)
    text = L"\\\\" + text.substr(8);
  else if (text.rfind(L"\\\\?\\", 0) == 0)
    text = text.substr(4);
  return fromWide(text, CP_UTF8);
}

std::string absolutePath(const std::string& path) {
  wchar_t buffer[32768];
  const DWORD n = GetFullPathNameW(wide(path).c_str(), 32768, buffer, nullptr);
  if (n == 0 || n >= 32768) return path;
  return fromWide(std::wstring_view(buffer, n), CP_UTF8);
}

uint64_t freeSpace(const std::string& folder) {
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExW(wide(folder.empty() ? std::string(".") : folder).c_str(), &available,
                           nullptr, nullptr))
    return UINT64_MAX;
  return available.QuadPart;
}

std::string volumeLabel(const std::string& path) {
  wchar_t root[MAX_PATH];
  wchar_t label[MAX_PATH + 1] = L"";
  if (!GetVolumePathNameW(wide(absolutePath(path)).c_str(), root, MAX_PATH)) return {};
  if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
    return {};
  return fromWide(label, CP_UTF8);
}

char separator() {
  return '\\';
}

bool caseInsensitiveNames() {
  return true;
}

bool isAbsolute(std::string_view path) {
  return (!path.empty() && (path[0] == '\\' || path[0] == '/')) ||
         (path.size() >= 2 && path[1] == ':');
}

bool localTime(int64_t seconds, std::tm& out) {
  const __time64_t t = seconds;
  return _localtime64_s(&out, &t) == 0;
}

}  // namespace zv::archiver::os
