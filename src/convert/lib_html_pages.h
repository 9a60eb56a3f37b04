// The HTML module's page blocks: the header block and the heading block that RTF file to
// HTML file conversion writes.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace zv {

// A comment naming the library and its version, the DOCTYPE comment, the head with the
// title (converted to HTML, "" for a blank title) and the opening BODY tag, CR LF between
// them and none after.
String HeaderHTML(StringView thePageTitle, StringView backgroundPageColor);

// An unclosed anchor named by the text in capitals with unsafe characters as "_", then
// "<BR>" and the text as a heading of level 1 to 6 (the level is clamped), then CR LF.
String HeadingHTML(StringView theText, int32_t theLevel);

}  // namespace zv
