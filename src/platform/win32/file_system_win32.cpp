#include <windows.h>

#include "platform/file_system.h"
#include "runtime/errors.h"

namespace zv::platform {

void forEachMatch(const String& pattern, const std::function<bool(const DirectoryEntry&)>& visit) {
  const size_t slash = pattern.find_last_of(u"\\/");
  const String last = slash == String::npos ? pattern : pattern.substr(slash + 1);
  if (last.empty()) return;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(reinterpret_cast<LPCWSTR>(pattern.c_str()), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  DirectoryEntry entry;
  do {
    entry.name = reinterpret_cast<const char16_t*>(found.cFileName);
    entry.directory = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    entry.hidden = found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN;
    entry.system = found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM;
    if (!visit(entry)) break;
  } while (FindNextFileW(h, &found));
  FindClose(h);
}

char16_t pathSeparator() {
  return u'\\';
}

}  // namespace zv::platform
