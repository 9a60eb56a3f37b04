#include "archive/lib_unzip.h"

#include <cstring>

#include "archive/archiver_calls.h"
#include "archive/name_list.h"
#include "frame/events.h"
#include "frame/varnix.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/vbdate.h"

namespace zv::impl {

namespace {

constexpr char16_t kDriverSource[] = u"ZivoviViruvov.LIB_UNZIP";
constexpr uint8_t kEncryptedBit = 0x40;

// The running object and the password-cancelled flag, per thread.
thread_local ArchiverRun gRun;
// The running object as the directory-entry callback fills it.
thread_local UnZipLib* gListing = nullptr;

// VB's DateSerial + TimeSerial: months and days out of range roll over.
Date entryDate(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute) {
  year += (month - 1) / 12 - (month < 1 ? 1 : 0);
  month = ((month - 1) % 12 + 12) % 12 + 1;
  const std::optional<Date> first = makeDate(year, month, 1);
  if (!first) return Date{};
  return Date{first->days + (day - 1) + (hour * 60.0 + minute) / 1440.0};
}

int ZV_ARCHIVER_CALL onMessage(char* text, uint32_t length) {
  raiseProgress(gRun, text, length);
  return 0;
}

int ZV_ARCHIVER_CALL onOverwrite(char* name) {
  Variant response{int32_t{100}};
  guarded(gRun, [&] {
    Args args{Arg(Variant(withPlatformSeparators(fromAnsi(name)))), Arg::ref(response)};
    raiseEvent(*gRun.running, u"OverwritePrompt", args);
  });
  int32_t answer = 100;
  guarded(gRun, [&] { answer = toLong(response); });
  return answer;
}

int ZV_ARCHIVER_CALL onPassword(char* buffer, int, const char*, const char*) {
  return askPassword(gRun, buffer);
}

void ZV_ARCHIVER_CALL onEntry(uint32_t, uint32_t size, uint32_t ratio, uint32_t month, uint32_t day,
                              uint32_t year, uint32_t hour, uint32_t minute, char, const char* path,
                              const char* method, uint32_t crc, char flags) {
  guarded(gRun, [&] {
    const String full = withPlatformSeparators(fromAnsi(path));
    const size_t cut = full.find_last_of(u"/\\");
    DirectoryEntry e;
    e.fileName = cut == String::npos ? full : full.substr(cut + 1);
    if (e.fileName.empty()) return;  // a folder
    e.directory = cut == String::npos ? String() : full.substr(0, cut);
    e.size = static_cast<int32_t>(size);
    e.ratio = static_cast<int16_t>(ratio & 0xFFFF);
    e.date = entryDate(static_cast<int32_t>(year), static_cast<int32_t>(month),
                       static_cast<int32_t>(day), static_cast<int32_t>(hour),
                       static_cast<int32_t>(minute));
    const String methodText = fromAnsi(method);
    e.method = methodText.empty() ? methodText : CutAtNullChar(methodText);
    e.crc = static_cast<int32_t>(crc);
    e.encrypted = (static_cast<uint8_t>(flags) & kEncryptedBit) != 0;
    gListing->addEntry(std::move(e));
  });
}

int ZV_ARCHIVER_CALL onService(const char* text, uint32_t length) {
  return askCancel(gRun, text, length, true);
}

}  // namespace

int32_t RunUnzipArchiver(UnZipLib& object, const std::vector<String>& names,
                         const UnzipOptionRecord& options) {
  try {
    RunScope scope(gRun, object);
    UnZipLib* const previous = gListing;
    gListing = &object;
    struct Restore {
      UnZipLib* previous;
      ~Restore() { gListing = previous; }
    } restore{previous};
    USERFUNCTIONS callbacks{};
    callbacks.print = &onMessage;
    callbacks.replace = &onOverwrite;
    callbacks.password = &onPassword;
    callbacks.SendApplicationMessage = &onEntry;
    callbacks.ServCallBk = &onService;
    AnsiNameList extract(names);
    AnsiNameList exclude({});
    std::string zipFile, folder;
    DCL dcl = options.toArchiver(zipFile, folder);
    const platform::UnzipArchiver& archiver = object.archiver();
    const int32_t result = archiver.unzip(extract.count(), extract.data(), exclude.count(),
                                          exclude.data(), &dcl, &callbacks);
    scope.raiseFailure();
    return result;
  } catch (Error& e) {
    e.withSource(kDriverSource);
    throw;
  }
}

}  // namespace zv::impl
