#include "files/FileLib.h"
#include "platform/file_system.h"
#include "runtime/trap.h"

namespace zv::impl {

bool FileLib::isFileExist(const String& theFile) {
  bool result = false;
  if (isBlank(theFile)) return false;
  returnOnly([&] {
    platform::forEachMatch(theFile, [&](const platform::DirectoryEntry& e) {
      result = !e.directory && !e.hidden && !e.system;
      return !result;
    });
  });
  return result;
}

bool FileLib::isDirectoryExist(const String& theDir) {
  bool result = false;
  if (theDir.empty()) return false;
  returnOnly([&] {
    const String listing = CheckPath(theDir) + u"*.*";
    platform::forEachMatch(listing, [&](const platform::DirectoryEntry&) {
      result = true;
      return false;
    });
  });
  clearPendingError();
  return result;
}

String FileLib::CheckPath(const String& thePath) {
  String result;
  returnOnly([&] {
    if (isBlank(thePath)) return;
    const char16_t separator = platform::pathSeparator();
    result = thePath.back() == separator ? thePath : thePath + separator;
  });
  return result;
}

String FileLib::UnCheckPath(const String& thePath) {
  if (!thePath.empty() && thePath.back() == platform::pathSeparator())
    return thePath.substr(0, thePath.size() - 1);
  return thePath;
}

}  // namespace zv::impl
