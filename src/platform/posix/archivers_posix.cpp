#include "platform/archivers.h"

namespace zv::platform {

const ZipArchiver& zipArchiver() {
  static const ZipArchiver table{&ZpInit, &ZpSetOptions, &ZpArchive};
  return table;
}

const UnzipArchiver& unzipArchiver() {
  static const UnzipArchiver table{&Wiz_SingleEntryUnzip, &UzpVersion2};
  return table;
}

}  // namespace zv::platform
