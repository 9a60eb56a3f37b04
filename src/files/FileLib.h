// FileLib: file and path operations, text file content and lines, existence tests and
// path forms.
#pragma once

#include "api/FileLib.h"
#include "api/StrChr.h"

namespace zv::impl {

class FileLib final : public zv::FileLib {
 public:
  // operations.cpp
  bool CreateDirectory(const String& theDir, bool displayError) override;
  bool DeleteFile(const String& theFile, bool displayError) override;
  bool CopyFile(const String& theSrc, const String& theDest, bool displayError) override;
  bool CopyFileWithNewSuffix(const String& theFile, const String& theSuffix,
                             const String& theNewDir, bool displayError) override;
  int32_t DeleteFilesToWindowsTrash(Variant& vntFileName) override;
  bool OpenDocument(const String& Filename) override;

  // locations.cpp
  String CheckFileInMyDirectory(const String& theFile) override;
  String CheckDirInMyDirectory(const String& theDirectory) override;
  bool isFileWithinPATH(const String& theFile) override;
  String GetFullPath(const String& theFile) override;
  int16_t TypeDrive(const String& theDrive) override;
  String GetTempFileName(const String& thePrefix, const String& aTmpDir) override;

  // text_files.cpp
  String GetFileContent(const String& theFile) override;
  String GetLineFile(const String& theFile, bool getFirstOrLastLine) override;
  String GetThisLineFile(const String& theFile, int32_t fileLine) override;
  String GetLineIfTextExist(const String& theFile, String& theExistText,
                            int32_t startLine) override;
  bool PutInTextBox(const String& theFile, ObjectRef& theTextBox, bool LinesMax300) override;
  bool SaveTextBoxContent(const String& theFile, ObjectRef& theTextBox) override;

  // existence.cpp
  bool isFileExist(const String& theFile) override;
  bool isDirectoryExist(const String& theDir) override;
  String CheckPath(const String& thePath) override;
  String UnCheckPath(const String& thePath) override;

 private:
  // The StrChr instance the class keeps, created on first use.
  zv::StrChr& strings();
  // CheckFileInMyDirectory and CheckDirInMyDirectory, with their existence test.
  String relocateToMyDocuments(const String& path, bool (FileLib::*exists)(const String&));
  // One GetTempFileName candidate in `folder`.
  String tempCandidate(const String& folder, const String& namePart, const String& extension);

  std::shared_ptr<zv::StrChr> strChr_;
  String lastTempName_;
};

}  // namespace zv::impl
