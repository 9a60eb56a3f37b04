#include "archive/UnZipLib.h"

#include <algorithm>
#include <cstring>

#include "archive/lib_unzip.h"
#include "frame/events.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "runtime/errors.h"

namespace zv::impl {

namespace {

// A text field of the version record: blanks ending in a NUL, as the caller prepares it.
template <size_t N>
void prepare(char (&field)[N]) {
  std::memset(field, ' ', N - 1);
  field[N - 1] = '\0';
}

// A text field as read back: cut at its first NUL unless the NUL comes first.
template <size_t N>
String textOf(const char (&field)[N]) {
  const std::string_view all(field, N);
  const size_t nul = all.find('\0');
  return fromAnsi(nul == 0 || nul == std::string_view::npos ? all : all.substr(0, nul));
}

}  // namespace

UnZipLib::~UnZipLib() {
  connectEvents(this, nullptr);
}

const platform::UnzipArchiver& UnZipLib::archiver() const {
  return archiver_ ? *archiver_ : platform::unzipArchiver();
}

void UnZipLib::let_ZipFile(const String& newValue) {
  zipFile_ = newValue;
  directory_.clear();
}

String UnZipLib::get_UnzipFolder() {
  record_.folder = unzipFolder_;
  return unzipFolder_;
}

DirectoryEntry& UnZipLib::entry(int32_t index) {
  if (index < 1 || index > get_FileCount()) raise(err::kSubscriptOutOfRange);
  return directory_[index - 1];
}

int32_t UnZipLib::get_FilePackedSize(int32_t i) {
  const DirectoryEntry& e = entry(i);
  return static_cast<int32_t>(static_cast<int64_t>(e.size) * e.ratio / 100);
}

int32_t UnZipLib::Directory() {
  record_.zipFile = zipFile_;
  record_.folder = String(1, u'\0');
  record_.setFlag(kList, true);
  RunUnzipArchiver(*this, {}, record_);
  return 0;
}

bool UnZipLib::Unzip() {
  if (zipFile_.empty()) return false;
  std::vector<String> names;
  for (const DirectoryEntry& e : directory_) {
    if (!e.selected) continue;
    String name = e.directory.empty() || e.directory == String(1, u'\0')
                      ? e.fileName
                      : e.directory + u"/" + e.fileName;
    std::replace(name.begin(), name.end(), u'\\', u'/');
    names.push_back(std::move(name));
  }
  // Everything selected: the archiver extracts everything when given no names.
  if (names.size() == directory_.size()) names.clear();
  record_.zipFile = zipFile_;
  record_.setFlag(kList, false);
  record_.folder = unzipFolder_;
  return RunUnzipArchiver(*this, names, record_) != 0;
}

void UnZipLib::GetZipVersion(int32_t& lMajor, int32_t& lMinor, int32_t& lRevision, Date& dDate,
                             String& sExtraInfo) {
  UzpVer2 version{};
  version.structlen = 64;
  prepare(version.betalevel);
  prepare(version.date);
  prepare(version.zlibversion);
  archiver().version(&version);
  sExtraInfo = textOf(version.betalevel);
  lMajor = version.windll.major;
  lMinor = version.windll.minor;
  lRevision = version.windll.patchlevel;
  const Variant date(trim(textOf(version.date)));
  if (isDate(date)) dDate = toDate(date);
}

}  // namespace zv::impl
