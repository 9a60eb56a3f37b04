// VB's file statements on Windows, with the run-time errors VB raises for each failure.
#include <windows.h>

#include "platform/file_system.h"
#include "runtime/errors.h"

namespace zv::platform {

namespace {

const wchar_t* wide(const String& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

[[noreturn]] void raiseLastError() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND: raise(err::kFileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE: raise(err::kPathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: raise(err::kPermissionDenied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: raise(err::kFileAlreadyOpen);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: raise(err::kDiskFull);
    case ERROR_INVALID_NAME: raise(err::kBadFileNameOrNumber);
    default: raise(err::kPathFileAccess);
  }
}

bool isFolder(const String& path) {
  const DWORD attributes = GetFileAttributesW(wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool caseSensitivePaths() { return false; }

char16_t pathListSeparator() { return u';'; }

String environmentVariable(StringView name) {
  const String key(name);
  const DWORD size = GetEnvironmentVariableW(wide(key), nullptr, 0);
  if (size == 0) return String();
  String value(size, u'\0');
  const DWORD length = GetEnvironmentVariableW(wide(key), reinterpret_cast<wchar_t*>(value.data()), size);
  value.resize(length < size ? length : 0);
  return value;
}

void copyFile(const String& from, const String& to) {
  if (isFolder(from) || isFolder(to)) raise(err::kPathFileAccess);
  if (!CopyFileW(wide(from), wide(to), FALSE)) raiseLastError();
}

String createScratchBeside(const String& target) {
  const size_t slash = target.find_last_of(u"\\/");
  const String folder = slash == String::npos ? String(u".") : target.substr(0, slash + 1);
  wchar_t name[MAX_PATH + 1];
  if (!GetTempFileNameW(wide(folder), L"zv", 0, name)) raiseLastError();
  return String(reinterpret_cast<const char16_t*>(name));
}

void replaceFile(const String& scratch, const String& target) {
  // std::rename cannot replace an existing file on Windows.
  if (!MoveFileExW(wide(scratch), wide(target),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    raiseLastError();
}

void deleteFile(const String& path) {
  if (isFolder(path)) raise(err::kPathFileAccess);
  if (!DeleteFileW(wide(path))) raiseLastError();
}

void createDirectory(const String& path) {
  if (CreateDirectoryW(wide(path), nullptr)) return;
  raise(GetLastError() == ERROR_PATH_NOT_FOUND ? err::kPathNotFound : err::kPathFileAccess);
}

String currentDirectory() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  String folder(size, u'\0');
  folder.resize(GetCurrentDirectoryW(size, reinterpret_cast<wchar_t*>(folder.data())));
  return folder;
}

void setCurrentDirectory(const String& path) {
  if (!SetCurrentDirectoryW(wide(path))) raise(err::kPathNotFound);
}

String libraryFolder() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&libraryFolder), &module);
  wchar_t file[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(module, file, MAX_PATH * 4);
  String path(reinterpret_cast<const char16_t*>(file), length);
  const size_t slash = path.find_last_of(u"\\/");
  return slash == String::npos ? currentDirectory() : path.substr(0, slash);
}

String temporaryFolder() {
  for (const char16_t* name : {u"TMP", u"TEMP"})
    if (String folder = environmentVariable(name); !folder.empty()) return folder;
  return libraryFolder();
}

}  // namespace zv::platform
