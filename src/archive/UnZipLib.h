// UnZipLib: lists an archive's entries, lets the caller select some, extracts them and
// reports the unarchiver's version, through the unzip archiver, raising Progress, Cancel,
// PasswordRequest and OverwritePrompt from its callbacks.
#pragma once

#include <vector>

#include "api/UnZipLib.h"
#include "archive/option_records.h"
#include "platform/archivers.h"

namespace zv::impl {

// One entry of the directory, as the archiver listed it.
struct DirectoryEntry {
  String fileName;
  String directory;
  int32_t size = 0;
  int32_t ratio = 0;
  Date date;
  int32_t crc = 0;
  String method;
  bool encrypted = false;
  bool selected = true;
};

class UnZipLib final : public zv::UnZipLib {
 public:
  // Offsets of the option record's fields.
  enum Field : int {
    kOnlyNewer = 0,
    kSpaceToUnderscore = 4,
    kPrompt = 8,
    kMessageLevel = 12,
    kTest = 20,
    kList = 24,
    kFolderNames = 36,
    kOverwrite = 40,
    kLineEnds = 44,
    kCaseInsensitive = 52,
  };

  // The archiver is the platform's unless one is given.
  explicit UnZipLib(const platform::UnzipArchiver* archiver = nullptr) : archiver_(archiver) {}
  // Listeners still connected are let go: no event reaches them from another object.
  ~UnZipLib() override;

  bool get_ExtractOnlyNewer() override { return record_.flag(kOnlyNewer); }
  void let_ExtractOnlyNewer(bool v) override { record_.setFlag(kOnlyNewer, v); }
  bool get_SpaceToUnderScore() override { return record_.flag(kSpaceToUnderscore); }
  void let_SpaceToUnderScore(bool v) override { record_.setFlag(kSpaceToUnderscore, v); }
  bool get_PromptToOverwrite() override { return record_.flag(kPrompt); }
  void let_PromptToOverwrite(bool v) override { record_.setFlag(kPrompt, v); }
  bool get_TestZip() override { return record_.flag(kTest); }
  void let_TestZip(bool v) override { record_.setFlag(kTest, v); }
  bool get_UseFolderNames() override { return record_.flag(kFolderNames); }
  void let_UseFolderNames(bool v) override { record_.setFlag(kFolderNames, v); }
  bool get_OverwriteExisting() override { return record_.flag(kOverwrite); }
  void let_OverwriteExisting(bool v) override { record_.setFlag(kOverwrite, v); }
  bool get_ConvertCRToCRLF() override { return record_.flag(kLineEnds); }
  void let_ConvertCRToCRLF(bool v) override { record_.setFlag(kLineEnds, v); }
  bool get_CaseSensitiveFileNames() override { return record_.flag(kCaseInsensitive); }
  void let_CaseSensitiveFileNames(bool v) override { record_.setFlag(kCaseInsensitive, v); }
  int32_t get_MessageLevel() override { return record_.field(kMessageLevel); }
  void let_MessageLevel(int32_t v) override { record_.setField(kMessageLevel, v); }
  String get_ZipFile() override { return zipFile_; }
  void let_ZipFile(const String& newValue) override;
  String get_UnzipFolder() override;
  void let_UnzipFolder(const String& newValue) override { unzipFolder_ = newValue; }

  int32_t get_FileCount() override { return static_cast<int32_t>(directory_.size()); }
  String get_Filename(int32_t i) override { return entry(i).fileName; }
  String get_FileDirectory(int32_t i) override { return entry(i).directory; }
  int32_t get_FileSize(int32_t i) override { return entry(i).size; }
  int32_t get_FilePackedSize(int32_t i) override;
  int32_t get_FileCompressionRatio(int32_t i) override { return entry(i).ratio; }
  Date get_FileDate(int32_t i) override { return entry(i).date; }
  int32_t get_FileCRC(int32_t i) override { return entry(i).crc; }
  String get_FileCompressionMethod(int32_t i) override { return entry(i).method; }
  bool get_FileEncrypted(int32_t i) override { return entry(i).encrypted; }
  bool get_FileSelected(int32_t i) override { return entry(i).selected; }
  void let_FileSelected(int32_t i, bool v) override { entry(i).selected = v; }

  int32_t Directory() override;
  bool Unzip() override;
  void GetZipVersion(int32_t& lMajor, int32_t& lMinor, int32_t& lRevision, Date& dDate,
                     String& sExtraInfo) override;

  const UnzipOptionRecord& options() const { return record_; }
  const platform::UnzipArchiver& archiver() const;
  // The directory-entry callback's way in.
  void addEntry(DirectoryEntry entry) { directory_.push_back(std::move(entry)); }

 private:
  // Entry `index` (1 to FileCount): error 9 outside.
  DirectoryEntry& entry(int32_t index);

  String zipFile_;
  String unzipFolder_;
  UnzipOptionRecord record_;
  std::vector<DirectoryEntry> directory_;
  const platform::UnzipArchiver* archiver_;
};

}  // namespace zv::impl
