// LIB_ZIP: the zip archiver's driver and callbacks.
#pragma once

#include "archive/ZipLib.h"

namespace zv::impl {

// Runs the archiver on `object`'s settings, file specs and archive: its result. Error 9
// for more than 1023 file specs (after the archiver got its callbacks and options).
int32_t RunZipArchiver(ZipLib& object, const platform::ZipArchiver& archiver);

}  // namespace zv::impl
