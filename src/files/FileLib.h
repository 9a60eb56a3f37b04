// FileLib: existence tests and path forms (the rest of the class comes with the file
// operations).
#pragma once

#include "api/FileLib.h"

namespace zv::impl {

class FileLib final : public zv::FileLib {
 public:
  bool isFileExist(const String& theFile) override;
  bool isDirectoryExist(const String& theDir) override;
  String CheckPath(const String& thePath) override;
  String UnCheckPath(const String& thePath) override;
};

}  // namespace zv::impl
