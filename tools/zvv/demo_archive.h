// `zvv demo`, archive part: zips the demo's own folder, lists the archive and extracts it
// into a sibling folder.
#pragma once

#include "runtime/types.h"

namespace zvv {

void archiveDemoPart(const zv::String& folder);

}  // namespace zvv
