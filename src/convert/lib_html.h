// The HTML module routines: plain text to HTML with entities, web links and mail addresses.
#pragma once

#include <cstdint>

#include "convert/text_passes.h"
#include "runtime/text.h"

namespace zv {

// Entities for the library's HTML vocabulary, optionally "<", ">" and quotes, web links
// and mail addresses wrapped in anchors, CR LF as "<BR>". With link or mail detection on,
// a link or "@" found beyond position 32767 fails with error 6.
String TXTcharToHTML(StringView text, bool detectHTMLchar, bool detectHREF, bool detectMAIL);
// The same as passes over a text that other passes rewrite too.
void TXTcharToHTML(convert::TextPasses& passes, bool detectHTMLchar, bool detectHREF,
                   bool detectMAIL);

// Wraps the web link that starts at `position` (1-based) in an anchor and moves `position`
// past it, to the second character after the anchor; error 6 when that is beyond 32767.
String InsertHREF(StringView text, int16_t& position);

}  // namespace zv
