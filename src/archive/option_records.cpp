#include "archive/option_records.h"

#include "runtime/ansi.h"

namespace zv::impl {

namespace {

// The 32-bit fields of ZPOPT from offset 12 to 120, in order.
constexpr ZvBool ZPOPT::*kZipFields[] = {
    &ZPOPT::fTemp,        &ZPOPT::fSuffix,        &ZPOPT::fEncrypt,      &ZPOPT::fSystem,
    &ZPOPT::fVolume,      &ZPOPT::fExtra,         &ZPOPT::fNoDirEntries, &ZPOPT::fExcludeDate,
    &ZPOPT::fIncludeDate, &ZPOPT::fVerbose,       &ZPOPT::fQuiet,        &ZPOPT::fCRLF_LF,
    &ZPOPT::fLF_CRLF,     &ZPOPT::fJunkDir,       &ZPOPT::fGrow,         &ZPOPT::fForce,
    &ZPOPT::fMove,        &ZPOPT::fDeleteEntries, &ZPOPT::fUpdate,       &ZPOPT::fFreshen,
    &ZPOPT::fJunkSFX,     &ZPOPT::fLatestTime,    &ZPOPT::fComment,      &ZPOPT::fOffsets,
    &ZPOPT::fPrivilege,   &ZPOPT::fEncryption,    &ZPOPT::fRecurse,      &ZPOPT::fRepair};

// The 32-bit fields of DCL from offset 0 to 56, in order.
constexpr int32_t DCL::*kUnzipFields[] = {&DCL::ExtractOnlyNewer,
                                          &DCL::SpaceToUnderscore,
                                          &DCL::PromptToOverwrite,
                                          &DCL::fQuiet,
                                          &DCL::ncflag,
                                          &DCL::ntflag,
                                          &DCL::nvflag,
                                          &DCL::nfflag,
                                          &DCL::nzflag,
                                          &DCL::ndflag,
                                          &DCL::noflag,
                                          &DCL::naflag,
                                          &DCL::nZIflag,
                                          &DCL::C_flag,
                                          &DCL::fPrivilege};

char* emptyText() {
  static char empty[1] = "";
  return empty;
}

}  // namespace

ZPOPT ZipOptionRecord::toArchiver(std::string& ansi) const {
  ZPOPT o{};
  ansi = toAnsi(basePath);
  o.Date = emptyText();
  o.szRootDir = ansi.data();
  o.szTempDir = emptyText();
  for (size_t i = 0; i < std::size(kZipFields); ++i)
    o.*kZipFields[i] = fields_[3 + i];
  o.fLevel = static_cast<char>(fields_[31]);
  return o;
}

DCL UnzipOptionRecord::toArchiver(std::string& zipAnsi, std::string& folderAnsi) const {
  DCL o{};
  for (size_t i = 0; i < std::size(kUnzipFields); ++i)
    o.*kUnzipFields[i] = fields_[i];
  zipAnsi = toAnsi(zipFile);
  folderAnsi = toAnsi(folder);
  o.lpszZipFN = zipAnsi.data();
  o.lpszExtractDir = folderAnsi.data();
  return o;
}

}  // namespace zv::impl
