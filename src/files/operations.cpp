// FileLib: creating folders, deleting, copying, the recycle bin and opening documents.
#include "files/FileLib.h"
#include "frame/string_table.h"
#include "frame/traps.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "runtime/convert.h"

namespace zv::impl {

namespace {

// Reports when `report` is set; a failure not reported only leaves the pending error.
void reportIf(bool report, const String& message) {
  if (report)
    ReportError(message, false);
  else
    clearPendingError();
}

// Kill: every ordinary file the name matches (wildcards in its last part), 53 for none.
void kill(const String& pattern) {
  const size_t slash = pattern.find_last_of(platform::pathSeparator());
  const String name = slash == String::npos ? pattern : pattern.substr(slash + 1);
  if (name.find_first_of(u"*?") == String::npos) return platform::deleteFile(pattern);
  const String folder = slash == String::npos ? String() : pattern.substr(0, slash + 1);
  std::vector<String> matches;
  platform::forEachMatch(pattern, [&](const platform::DirectoryEntry& e) {
    if (!e.directory && !e.hidden && !e.system) matches.push_back(folder + e.name);
    return true;
  });
  if (matches.empty()) raise(err::kFileNotFound);
  for (const String& file : matches)
    platform::deleteFile(file);
}

// The string-table text for a ShellExecute failure code.
int32_t shellMessageId(int32_t code) {
  static const std::pair<int32_t, int32_t> kTexts[] = {{2, 441},  {3, 442},  {5, 443},  {8, 444},
                                                       {32, 445}, {26, 446}, {27, 447}, {28, 448},
                                                       {29, 449}, {30, 450}, {31, 451}, {11, 452}};
  for (const auto& [result, id] : kTexts)
    if (result == code) return id;
  return 453;
}

}  // namespace

// Report and return, the report only with displayError.
bool FileLib::CreateDirectory(const String& theDir, bool displayError) {
  bool result = true;
  if (isBlank(theDir)) return true;
  onError(
      [&] {
        if (!isDirectoryExist(theDir)) platform::createDirectory(theDir);
      },
      [&] {
        result = false;
        reportIf(displayError, u"Unable to create the directory:\r\n" + theDir);
      });
  return result;
}

// Without displayError a failed deletion is skipped and the result stays True.
bool FileLib::DeleteFile(const String& theFile, bool displayError) {
  bool result = true;
  onError(
      [&] {
        if (isFileExist(theFile)) {
          if (displayError)
            kill(theFile);
          else
            resumeNext([&] { kill(theFile); });
        } else if (displayError) {
          ReportError(u"File does not exist:\r\n" + theFile, false);
        }
      },
      [&] {
        result = false;
        ReportError((pendingError().number == err::kFileNotFound
                         ? u"Can not delete the file, it does not exist:\r\n"
                         : u"Unable to delete file:\r\n") +
                        theFile,
                    false);
      });
  clearPendingError();
  return result;
}

// Report and return (with displayError); an existing destination is deleted first.
bool FileLib::CopyFile(const String& theSrc, const String& theDest, bool displayError) {
  bool result = false;
  if (isBlank(theSrc) || isBlank(theDest)) return false;
  onError(
      [&] {
        if (!isFileExist(theSrc)) return;
        if (isFileExist(theDest) && !DeleteFile(theDest, displayError)) return;
        platform::copyFile(theSrc, theDest);
        result = true;
      },
      [&] {
        if (pendingError().number == err::kFileAlreadyOpen)
          reportIf(displayError,
                   u"File is already open, unable to overwrite the file:\r\n" + theDest);
        else
          reportIf(displayError, u"Unable to copy the source file to the destination file:\r\n" +
                                     theSrc + u"\r\n" + theDest);
      });
  return result;
}

// The suffix replaces the last "." and what follows it; the copy may go to another folder.
bool FileLib::CopyFileWithNewSuffix(const String& theFile, const String& theSuffix,
                                    const String& theNewDir, bool displayError) {
  bool result = false;
  String newName;
  onError(
      [&] {
        if (!isFileExist(theFile) || isBlank(theSuffix)) return;
        newName = strings().GetLastLeft(theFile, u".", false) + theSuffix;
        if (!theNewDir.empty()) {
          if (!isDirectoryExist(theNewDir) && !CreateDirectory(theNewDir, displayError)) return;
          newName = CheckPath(theNewDir) + strings().GetStringFile(newName);
        }
        result = CopyFile(theFile, newName, displayError);
      },
      [&] {
        result = false;
        reportIf(displayError,
                 u"Error on copy file with new extension:\r\n" + theFile + u"\r\n" + newName);
      });
  return result;
}

// Return only: an element that is no text, or a bound the 16-bit loop counter cannot
// pass, gives 0 before the recycle bin is asked.
int32_t FileLib::DeleteFilesToWindowsTrash(Variant& vntFileName) {
  int32_t result = 0;
  returnOnly([&] {
    if (!vntFileName.isArray()) raise(err::kTypeMismatch);
    const SafeArray& names = vntFileName.arrayValue();
    const int32_t lower = names.lbound(), upper = names.ubound();
    toInteger16(lower);
    toInteger16(static_cast<int64_t>(upper) + 1);  // where the loop counter ends
    std::vector<String> paths;
    for (int32_t i = lower; i <= upper; ++i)
      paths.push_back(toString(names.at(i)));
    result = platform::moveToTrash(paths);
  });
  return result;
}

// Return only; a failure of the shell is reported with the string table's texts.
bool FileLib::OpenDocument(const String& Filename) {
  bool result = true;
  returnOnly([&] {
    const int32_t code = platform::openDocument(Filename);
    if (code > 32) return;
    result = false;
    ReportError(loadString(454) + u"\r\n" + Filename + u"\r\n" + loadString(shellMessageId(code)),
                false);
  });
  return result;
}

}  // namespace zv::impl
