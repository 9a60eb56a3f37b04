// The demo's lines: a label padded to a column of characters, then the value.
#pragma once

#include "runtime/text.h"

namespace zvv {

void say(const zv::String& label, const zv::String& value);

}  // namespace zvv
