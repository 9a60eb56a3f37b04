// The archiver libraries the archive classes work through, as tables of their entry
// points. On Windows they are ZipLib.dll and UnZipLib.dll, loaded at first use from the
// folder of the library's own DLL (else the DLL search path), so that compatible
// archivers can be dropped in; on POSIX they are the archiver linked into the library.
#pragma once

#include "archiver/interface.h"

namespace zv::platform {

struct ZipArchiver {
  decltype(&ZpInit) init;
  decltype(&ZpSetOptions) setOptions;
  decltype(&ZpArchive) archive;
};

struct UnzipArchiver {
  decltype(&Wiz_SingleEntryUnzip) unzip;
  decltype(&UzpVersion2) version;
};

// Error 53 when the library cannot be loaded, 453 when it lacks an entry point.
const ZipArchiver& zipArchiver();
const UnzipArchiver& unzipArchiver();

}  // namespace zv::platform
