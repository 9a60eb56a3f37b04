// SystemLib: the current folder, the running-program test, recent documents and
// starting programs.
#include "api/FileLib.h"
#include "api/StrChr.h"
#include "frame/varnix.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/system_info.h"
#include "runtime/trap.h"
#include "system/SystemLib.h"

namespace zv::impl {

namespace {

constexpr size_t kTitleBuffer = 260;
constexpr int16_t kMinimizedWithFocus = 2;
constexpr int32_t kFirstProcessId = 32;  // below it, the launch's failure codes

}  // namespace

// Failures end it quietly. Changing the folder also changes the drive where there are any.
void SystemLib::ChangeDir(const String& theDirectory) {
  returnOnly([&] {
    if (zv::FileLib::create()->isDirectoryExist(theDirectory))
      platform::setCurrentDirectory(theDirectory);
  });
}

// Return only: an exact match of a window title, trimmed, stops the walk.
bool SystemLib::isProgramRunning(const String& strProgram, bool activateProgram) {
  bool result = false;
  returnOnly([&] {
    const String wanted = trim(strProgram);
    platform::forEachTopLevelWindow([&](const String& title) {
      result = trim(CutAtNullChar(left(title, kTitleBuffer))) == wanted;
      return !result;
    });
    if (result && activateProgram) platform::activateApplication(strProgram);
  });
  return result;
}

void SystemLib::AddRecentFile(const String& theFilePath) {
  returnOnly([&] { platform::addRecentDocument(theFilePath); });
}

// The program starts in its own folder; the current folder is restored after.
bool SystemLib::ExecApplication(const String& theApp, int16_t winState) {
  if (theApp.empty()) {
    ReportError(u"ExecApplication(): no program given", false);
    return false;
  }
  bool result = true;
  String previous;
  resumeNext([&] { previous = platform::currentDirectory(); });
  resumeNext([&] { ChangeDir(zv::StrChr::create()->GetStringPath(theApp)); });
  resumeNext([&] {
    if (platform::launchProgram(theApp, winState) < kFirstProcessId) result = false;
  });
  resumeNext([&] {
    if (!previous.empty()) platform::setCurrentDirectory(previous);
  });
  clearPendingError();
  return result;
}

// A launch that fails is reported with its code as the error number.
bool SystemLib::ExecApplicationDOS(const String& theAppDOS) {
  const int32_t id = platform::launchProgram(theAppDOS, kMinimizedWithFocus);
  if (id >= kFirstProcessId) return true;
  setPendingError(Error(id));
  ReportError(u"Error on launching: " + theAppDOS, false);
  return false;
}

}  // namespace zv::impl
