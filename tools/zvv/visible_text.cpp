#include "visible_text.h"

#include <cstdio>

namespace zvv {

std::string visibleUtf8(zv::StringView text) {
  zv::String shown;
  shown.reserve(text.size());
  for (char16_t c : text) {
    if (c == 0) {
      shown += u"\\0";
    } else if ((c < 0x20 && c != u'\t' && c != u'\r' && c != u'\n') || c == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(c));
      shown += zv::fromUtf8(hex);
    } else {
      shown += c;
    }
  }
  return zv::toUtf8(shown);
}

size_t displayWidth(const std::string& text) {
  size_t width = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++width;  // continuation bytes add no character
  return width;
}

}  // namespace zvv
