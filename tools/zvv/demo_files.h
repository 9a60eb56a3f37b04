// zvv demo: files, the recycle bin, the registry and the system report.
#pragma once

#include "runtime/types.h"

namespace zvv {

// Works inside `folder`: its own registry store and trash, so the user's stay untouched.
void filesDemoPart(const zv::String& folder);

}  // namespace zvv
