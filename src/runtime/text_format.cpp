// Text through a user pattern: "@" and "&" placeholders take the characters from the
// left; a text shorter than the "@" placeholders gets blanks in front ("!": behind), a
// longer one ends with what the placeholders left over.
#include "format_writers.h"

namespace zv::formatting {

String writeText(const String& text, const Section& section) {
  const String source = section.upper && !section.lower ? ucase(text)
                        : section.lower                 ? lcase(text)
                                                        : text;
  int32_t blanks = section.characters - static_cast<int32_t>(source.size());
  size_t next = 0;
  String out;
  for (const Token& t : section.tokens) {
    if (t.kind == Token::Literal) {
      out += t.text;
      continue;
    }
    if (t.kind != Token::Characters) continue;
    int32_t n = t.count;
    // Right-aligned by default: the missing characters are the first placeholders' blanks.
    for (; n > 0 && t.flag && blanks > 0 && !section.leftToRight; --n, --blanks)
      out += u' ';
    for (; n > 0 && next < source.size(); --n)
      out += source[next++];
    for (; n > 0 && t.flag; --n)
      out += u' ';
  }
  return out + source.substr(next);
}

}  // namespace zv::formatting
