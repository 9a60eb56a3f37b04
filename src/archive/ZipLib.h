// ZipLib: creates and updates zip archives and deletes entries from them through the
// zip archiver, raising Progress, Cancel and PasswordRequest from its callbacks.
#pragma once

#include <vector>

#include "api/ZipLib.h"
#include "archive/option_records.h"
#include "platform/archivers.h"

namespace zv::impl {

class ZipLib final : public zv::ZipLib {
 public:
  // Offsets of the option record's fields.
  enum Field : int {
    kEncrypt = 20,
    kIncludeSystemAndHidden = 24,
    kVolumeLabel = 28,
    kNoDirectories = 36,
    kVerbose = 48,
    kQuiet = 52,
    kCrLfToLf = 56,
    kLfToCrLf = 60,
    kDropFolderNames = 64,
    kAllowAppend = 68,
    kDelete = 80,
    kUpdate = 84,
    kFreshen = 88,
    kRecurse = 116,
  };

  // The archiver is the platform's unless one is given.
  explicit ZipLib(const platform::ZipArchiver* archiver = nullptr);
  // Listeners still connected are let go: no event reaches them from another object.
  ~ZipLib() override;

  String get_ZipFile() override { return zipFile_; }
  void let_ZipFile(const String& newValue) override { zipFile_ = newValue; }
  String get_BasePath() override { return record_.basePath; }
  void let_BasePath(const String& newValue) override { record_.basePath = newValue; }
  bool get_Encrpyt() override { return record_.flag(kEncrypt); }
  void let_Encrypt(bool v) override { record_.setFlag(kEncrypt, v); }
  bool get_IncludeSystemAndHiddenFiles() override { return record_.flag(kIncludeSystemAndHidden); }
  void let_IncludeSystemAndHiddenFiles(bool v) override {
    record_.setFlag(kIncludeSystemAndHidden, v);
  }
  bool get_StoreVolumeLabel() override { return record_.flag(kVolumeLabel); }
  void let_StoreVolumeLabel(bool v) override { record_.setFlag(kVolumeLabel, v); }
  bool get_StoreDirectories() override { return !record_.flag(kNoDirectories); }
  void let_StoreDirectories(bool v) override { record_.setFlag(kNoDirectories, !v); }
  bool get_StoreFolderNames() override { return !record_.flag(kDropFolderNames); }
  void let_StoreFolderNames(bool v) override { record_.setFlag(kDropFolderNames, !v); }
  bool get_RecurseSubDirs() override { return record_.flag(kRecurse); }
  void let_RecurseSubDirs(bool v) override { record_.setField(kRecurse, v ? 2 : 0); }
  bool get_UpdateOnlyIfNewer() override { return record_.flag(kUpdate); }
  void let_UpdateOnlyIfNewer(bool v) override { record_.setFlag(kUpdate, v); }
  bool get_FreshenFiles() override { return record_.flag(kFreshen); }
  void let_FreshenFiles(bool v) override { record_.setFlag(kFreshen, v); }
  bool get_ConvertCRLFToLF() override { return record_.flag(kCrLfToLf); }
  void let_ConvertCRLFToLF(bool v) override { record_.setFlag(kCrLfToLf, v); }
  bool get_ConvertLFToCRLF() override { return record_.flag(kLfToCrLf); }
  void let_ConvertLFToCRLF(bool v) override { record_.setFlag(kLfToCrLf, v); }
  bool get_AllowAppend() override { return record_.flag(kAllowAppend); }
  void let_AllowAppend(bool v) override { record_.setFlag(kAllowAppend, v); }
  int32_t get_MessageLevel() override;
  void let_MessageLevel(int32_t newValue) override;
  int32_t get_FileSpecCount() override { return static_cast<int32_t>(specs_.size()); }
  Variant get_FileSpec(int32_t nIndex) override;

  void ClearFileSpecs() override { specs_.clear(); }
  int32_t AddFileSpec(const String& sSpec) override;
  void Zip() override;
  void Delete() override;

  const ZipOptionRecord& options() const { return record_; }
  const std::vector<String>& fileSpecs() const { return specs_; }

 private:
  const platform::ZipArchiver& archiver() const;

  String zipFile_;
  ZipOptionRecord record_;
  std::vector<String> specs_;
  const platform::ZipArchiver* archiver_;
};

}  // namespace zv::impl
