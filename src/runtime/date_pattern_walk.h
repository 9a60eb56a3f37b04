// Walks a date or time pattern of the Windows pattern language (ICU's quote the same way):
// each run of one character, and the text of each quoted part ('' being a quote inside).
#pragma once

#include "text.h"

namespace zv {

template <class Run, class Quoted>
void walkDatePattern(StringView pattern, Run&& run, Quoted&& quoted) {
  for (size_t i = 0; i < pattern.size();) {
    const char16_t c = pattern[i];
    if (c == u'\'') {
      String text;
      size_t j = i + 1;
      for (; j < pattern.size(); ++j) {
        if (pattern[j] != u'\'') {
          text += pattern[j];
        } else if (j + 1 < pattern.size() && pattern[j + 1] == u'\'') {
          text += u'\'';
          ++j;
        } else {
          break;
        }
      }
      quoted(text);
      i = j + 1;
      continue;
    }
    size_t count = 1;
    while (i + count < pattern.size() && pattern[i + count] == c)
      ++count;
    run(c, count);
    i += count;
  }
}

}  // namespace zv
