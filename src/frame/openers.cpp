#include "api/FileLib.h"
#include "frame/file_numbers.h"
#include "frame/traps.h"
#include "frame/varnix.h"

namespace zv {

namespace {

// Opens for writing or appending; every failure is reported silently and gives -1.
int16_t openForWriting(const String& theFile, FileMode mode, const String& message) {
  int16_t result = -1;
  const String report = message + u"\r\n" + theFile;
  if (isBlank(theFile)) {
    ReportError(report, false);
    return -1;
  }
  reportAndReturn([&] { result = openFile(theFile, mode); }, report);
  return result;
}

}  // namespace

int16_t OpenFileForAppend(const String& theFile) {
  return openForWriting(theFile, FileMode::Append, u"Error on append the file:");
}

int16_t OpenFileForOutput(const String& theFile) {
  return openForWriting(theFile, FileMode::Output, u"Error on file opening:");
}

int16_t OpenFileForInput(const String& theFile, bool reportFailure, bool createIfMissing) {
  clearPendingError();
  const bool exists = FileLib::create()->isFileExist(theFile);
  if (!exists && createIfMissing) return OpenFileForOutput(theFile);
  if (exists) {
    int16_t number = -1;
    // A failed open stays pending, so the report below carries its details.
    resumeNext([&] { number = openFile(theFile, FileMode::Input); });
    if (number > 0) return number;
  }
  if (reportFailure)
    ReportError(u"Can't open file:\r\n" + theFile, false);
  else
    clearPendingError();
  return -1;
}

}  // namespace zv
