// FileLib: where files are (the documents folder, the search path, the current folder),
// drive types and temporary names.
#include <chrono>
#include <random>

#include "api/SystemLib.h"
#include "api/library.h"
#include "files/FileLib.h"
#include "platform/file_system.h"
#include "runtime/convert.h"
#include "runtime/trap.h"

namespace zv::impl {

namespace {

// The walk along PATH: each item in turn, cut with GetLeft and GetRight at the list
// separator; `visit` returns true to stop. It ends when the remainder stops changing.
template <class Visit>
void walkSearchPath(zv::StrChr& strings, Visit visit) {
  const String separator(1, platform::pathListSeparator());
  String list = platform::environmentVariable(u"PATH");
  while (!list.empty()) {
    if (visit(strings.GetLeft(list, separator, false))) return;
    const String rest = strings.GetRight(list, separator, false);
    if (rest == list) return;
    list = rest;
  }
}

// The numbers of temporary names, 23 to 39, from a generator seeded from the clock.
int32_t tempNumber() {
  thread_local std::mt19937 generator(static_cast<unsigned>(
      std::random_device{}() ^ std::chrono::steady_clock::now().time_since_epoch().count()));
  return std::uniform_int_distribution<int32_t>(23, 39)(generator);
}

}  // namespace

zv::StrChr& FileLib::strings() {
  if (!strChr_) strChr_ = zv::StrChr::create();
  return *strChr_;
}

String FileLib::relocateToMyDocuments(const String& path, bool (FileLib::*exists)(const String&)) {
  String result = path;
  returnOnly([&] {
    if ((this->*exists)(path)) return;
    const String separator(1, platform::pathSeparator());
    // The French folder name first; the English one only when the French one is absent.
    for (const char16_t* folder : {u"Mes documents", u"My documents"}) {
      const String marker = separator + folder + separator;
      if (instr(ucase(path), ucase(marker)) == 0) continue;
      const String candidate = CheckPath(zv::SystemLib::create()->GetMyDocumentsDir()) +
                               strings().GetRight(path, marker, false);
      if ((this->*exists)(candidate)) result = candidate;
      return;
    }
  });
  return result;
}

String FileLib::CheckFileInMyDirectory(const String& theFile) {
  return relocateToMyDocuments(theFile, &FileLib::isFileExist);
}

String FileLib::CheckDirInMyDirectory(const String& theDirectory) {
  return relocateToMyDocuments(theDirectory, &FileLib::isDirectoryExist);
}

// Return only: the system folder, the Windows folder, the library's folder, the other
// system folder, then PATH.
bool FileLib::isFileWithinPATH(const String& theFile) {
  bool result = false;
  if (theFile.empty()) return false;
  returnOnly([&] {
    auto system = zv::SystemLib::create();
    const String separator(1, platform::pathSeparator());
    const String systemDir = CheckPath(system->GetSystemDir());
    const String windowsDir = CheckPath(system->GetWindowsDir());
    const String otherSystemDir = windowsDir + u"system32" + separator == systemDir
                                      ? windowsDir + u"system" + separator
                                      : windowsDir + u"system32" + separator;
    for (const String& folder :
         {systemDir, windowsDir, CheckPath(platform::libraryFolder()), otherSystemDir})
      if ((result = isFileExist(folder + theFile))) return;
    walkSearchPath(strings(), [&](const String& item) {
      return !isBlank(item) && (result = isFileExist(CheckPath(item) + theFile));
    });
  });
  return result;
}

// No trap: a failure of the routines it calls reaches the caller.
String FileLib::GetFullPath(const String& theFile) {
  if (theFile.empty()) return String();
  if (isFileExist(theFile)) return CheckPath(platform::currentDirectory());
  String result;
  walkSearchPath(strings(), [&](const String& item) {
    if (!isFileExist(CheckPath(item) + theFile)) return false;
    result = CheckPath(item);
    return true;
  });
  return result;
}

// SystemLib's drive type, with the same report on failure.
int16_t FileLib::TypeDrive(const String& theDrive) {
  return static_cast<int16_t>(zv::SystemLib::create()->GetTheDriveType(theDrive));
}

String FileLib::tempCandidate(const String& folder, const String& namePart,
                              const String& extension) {
  String number = longToString(tempNumber());
  return folder + u"~" + namePart + String(3 - number.size(), u'0') + number + u"." + extension;
}

// Skip: each failing statement is passed over. A kept name that turns out to exist is
// replaced by one more draw, not deleted.
String FileLib::GetTempFileName(const String& thePrefix, const String& aTmpDir) {
  String namePart, folder, candidate;
  resumeNext([&] {
    namePart =
        left(strings().RemoveAccent(isBlank(thePrefix) ? String(kLibraryName) : thePrefix), 5);
  });
  resumeNext([&] { folder = CheckPath(aTmpDir.empty() ? platform::temporaryFolder() : aTmpDir); });
  resumeNext([&] { candidate = tempCandidate(folder, namePart, thePrefix); });
  resumeNext([&] {
    if (isFileExist(candidate) || candidate == lastTempName_)
      candidate = tempCandidate(folder, namePart, thePrefix);
  });
  resumeNext([&] {
    if (isFileExist(candidate)) candidate = tempCandidate(folder, namePart, thePrefix);
  });
  clearPendingError();
  lastTempName_ = candidate;
  return candidate;
}

}  // namespace zv::impl
