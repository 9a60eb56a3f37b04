// UnZipLib.dll's entry points (the Info-ZIP UnZip DLL interface).
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "archiver/interface.h"
#include "archiver/os/os.h"
#include "archiver/unzip_job.h"

namespace {

// This archiver's version and date, which UzpVersion2 reports for each part. The beta
// level of a release is usually left empty; callers that read it as text get "release".
constexpr UzpVersionNumber kVersion = {49, 0, 0, 0};
constexpr char kBetaLevel[] = "release";
constexpr char kDate[] = "2026-12-01";

std::vector<std::string> names(int count, char** list) {
  std::vector<std::string> out;
  for (int i = 0; i < count && list && list[i]; ++i)
    if (list[i][0] != '\0') out.push_back(zv::archiver::os::fromAnsi(list[i]));
  return out;
}

}  // namespace

extern "C" {

int ZV_ARCHIVER_CALL Wiz_SingleEntryUnzip(int ifnc, char** ifnv, int xfnc, char** xfnv,
                                          DCL* options, USERFUNCTIONS* functions) {
  if (!options || !functions) return 10;  // bad parameters
  try {
    return zv::archiver::runUnzip(zv::archiver::unzipSettingsOf(*options), *functions,
                                  names(ifnc, ifnv), names(xfnc, xfnv));
  } catch (const std::bad_alloc&) {
    return 4;  // out of memory
  } catch (...) {
    return 3;  // severe error
  }
}

void ZV_ARCHIVER_CALL UzpVersion2(UzpVer2* version) {
  if (!version) return;
  UzpVer2 ours{};
  ours.structlen = version->structlen;
  ours.flag = 2;  // uses zlib
  std::strncpy(ours.betalevel, kBetaLevel, sizeof ours.betalevel - 1);
  std::strncpy(ours.date, kDate, sizeof ours.date - 1);
  std::strncpy(ours.zlibversion, ZLIB_VERSION, sizeof ours.zlibversion - 1);
  ours.unzip = ours.zipinfo = ours.windll = ours.dllapimin = kVersion;
  // The caller says how much room its record has; older callers have less.
  std::memcpy(version, &ours, std::min<size_t>(version->structlen, sizeof ours));
}

}  // extern "C"
