// LIB_UNZIP: the unzip archiver's driver and callbacks.
#pragma once

#include "archive/UnZipLib.h"

namespace zv::impl {

// Runs the archiver with `names` to extract (none excluded) and `options`: its result.
// Any failure (more than 1023 names, a missing archiver, a failing event handler) reaches
// the caller with its number and description and the source "ZivoviViruvov.LIB_UNZIP".
int32_t RunUnzipArchiver(UnZipLib& object, const std::vector<String>& names,
                         const UnzipOptionRecord& options);

}  // namespace zv::impl
