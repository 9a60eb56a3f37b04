// Text as the command line prints it: every character shown, control characters spelled.
#pragma once

#include <string>

#include "runtime/text.h"

namespace zvv {

// UTF-8 of `text` with NUL as "\0" and the other control characters but TAB, CR and LF as
// "\xHH", so nothing is lost or cut (a NUL would end a C string).
std::string visibleUtf8(zv::StringView text);

// The number of characters (code points) of UTF-8 `text`: what a terminal column holds.
size_t displayWidth(const std::string& text);

}  // namespace zvv
