// The RTF module routines: RTF character escapes to text, and the text of an RTF document.
#pragma once

#include "runtime/text.h"

namespace zv {

// RTF escapes ("\'e9", "\par ", "\{", ...) turned into the characters they stand for.
String RTFcharToTXT(StringView text);

// The text of an RTF document without its control words and the groups they open.
String RTFtoPlainText(StringView text);

}  // namespace zv
