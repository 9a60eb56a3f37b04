#include "archive/lib_zip.h"

#include "archive/archiver_calls.h"
#include "archive/name_list.h"
#include "platform/file_system.h"
#include "runtime/ansi.h"
#include "runtime/text.h"

namespace zv::impl {

namespace {

// The running object and the password-cancelled flag, per thread.
thread_local ArchiverRun gRun;

int ZV_ARCHIVER_CALL onMessage(char* text, uint32_t length) {
  raiseProgress(gRun, text, length);
  return 0;
}

int ZV_ARCHIVER_CALL onPassword(char* buffer, int, const char*, const char*) {
  return askPassword(gRun, buffer);
}

// No archive comment: the buffer goes back as it came.
char* ZV_ARCHIVER_CALL onComment(char* comment) {
  return comment;
}

int ZV_ARCHIVER_CALL onService(const char* text, uint32_t length) {
  return askCancel(gRun, text, length, false);
}

}  // namespace

int32_t RunZipArchiver(ZipLib& object, const platform::ZipArchiver& archiver) {
  RunScope scope(gRun, object);
  const String& base = object.options().basePath;
  if (!isBlank(base)) platform::setCurrentDirectory(base);
  ZIPUSERFUNCTIONS callbacks{&onMessage, &onPassword, &onComment, &onService};
  archiver.init(&callbacks);
  std::string baseAnsi;
  ZPOPT options = object.options().toArchiver(baseAnsi);
  archiver.setOptions(&options);
  AnsiNameList specs(object.fileSpecs());
  std::string zipFile = toAnsi(object.get_ZipFile());
  const int32_t result = archiver.archive(ZCL{specs.count(), zipFile.data(), specs.data()});
  scope.raiseFailure();
  return result;
}

}  // namespace zv::impl
