#include "archive/ZipLib.h"

#include "archive/lib_zip.h"
#include "frame/events.h"
#include "runtime/errors.h"

namespace zv::impl {

namespace {

enum MessageLevel : int32_t { kAllMessages = 0, kPartialMessages = 1, kNoMessages = 2 };

}  // namespace

ZipLib::ZipLib(const platform::ZipArchiver* archiver) : archiver_(archiver) {
  record_.setFlag(kNoDirectories, true);
  record_.setFlag(kDropFolderNames, true);
}

ZipLib::~ZipLib() {
  connectEvents(this, nullptr);
}

const platform::ZipArchiver& ZipLib::archiver() const {
  return archiver_ ? *archiver_ : platform::zipArchiver();
}

int32_t ZipLib::get_MessageLevel() {
  if (record_.flag(kVerbose)) return kAllMessages;
  return record_.flag(kQuiet) ? kPartialMessages : kNoMessages;
}

void ZipLib::let_MessageLevel(int32_t newValue) {
  record_.setFlag(kVerbose, newValue == kAllMessages);
  record_.setFlag(kQuiet, newValue == kPartialMessages);
}

Variant ZipLib::get_FileSpec(int32_t nIndex) {
  if (nIndex < 1 || nIndex > get_FileSpecCount()) raise(err::kSubscriptOutOfRange);
  return Variant(specs_[nIndex - 1]);
}

int32_t ZipLib::AddFileSpec(const String& sSpec) {
  specs_.push_back(sSpec);
  return 0;
}

void ZipLib::Zip() {
  RunZipArchiver(*this, archiver());
}

void ZipLib::Delete() {
  // The delete flag is for this run only, whatever its outcome.
  struct DeleteScope {
    ZipOptionRecord& record;
    explicit DeleteScope(ZipOptionRecord& r) : record(r) { record.setFlag(kDelete, true); }
    ~DeleteScope() { record.setFlag(kDelete, false); }
  } deleting(record_);
  RunZipArchiver(*this, archiver());
}

}  // namespace zv::impl
