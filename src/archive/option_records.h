// The archivers' option records as the classes keep them: 32-bit fields at the offsets of
// the Info-ZIP DLL interface (its 32-bit layout), the string fields beside them. Each run
// hands the archiver the record in its own layout with the strings in ANSI.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "archiver/interface.h"
#include "runtime/types.h"

namespace zv::impl {

template <size_t Fields>
class OptionFields {
 public:
  int32_t field(int offset) const { return fields_.at(offset / 4); }
  void setField(int offset, int32_t value) { fields_.at(offset / 4) = value; }
  // A Boolean setting: True when the field is not 0.
  bool flag(int offset) const { return field(offset) != 0; }
  void setFlag(int offset, bool value) { setField(offset, value ? 1 : 0); }

 protected:
  std::array<int32_t, Fields> fields_{};
};

// ZipLib's record (128 bytes); the base folder is the text at offset 4.
class ZipOptionRecord : public OptionFields<32> {
 public:
  String basePath;
  // The record for ZpSetOptions; `ansi` holds the text it points to.
  ZPOPT toArchiver(std::string& ansi) const;
};

// UnZipLib's record (68 bytes); the archive and the folder are the texts at 60 and 64.
class UnzipOptionRecord : public OptionFields<17> {
 public:
  String zipFile;
  String folder;
  // The record for Wiz_SingleEntryUnzip; `zipAnsi` and `folderAnsi` hold its texts.
  DCL toArchiver(std::string& zipAnsi, std::string& folderAnsi) const;
};

}  // namespace zv::impl
