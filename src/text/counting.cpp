// Counting occurrences of a substring, and characters, words and blanks of a text box.
#include <cstdint>

#include "runtime/convert.h"
#include "runtime/trap.h"
#include "text/StrChr.h"
#include "text/separator_scan.h"

namespace zv::impl {

int32_t StrChr::CountChar(const String& theString, const String& theChar) {
  if (theString.empty() || theChar.empty()) return 0;
  const text::SeparatorScan scan(theString, theChar);
  int32_t count = 0;
  for (size_t hit = scan.next(0); hit != text::SeparatorScan::npos;
       hit = scan.next(hit + theChar.size()))
    ++count;
  return count;
}

namespace {

// A Long counter of the caller's: error 6 past its range.
void addOne(int32_t& counter) {
  if (counter == INT32_MAX) raise(err::kOverflow);
  ++counter;
}

}  // namespace

bool StrChr::TextBoxCounter(ObjectRef& theTextBox, int32_t& nbChar, int32_t& nbWord,
                            int32_t& nbBlank) {
  bool result = false;
  returnOnly([&] {
    // Read once: nothing can change the box while the call runs on the caller's thread.
    const String t = toString(get(theTextBox, u"Text"));
    if (t.empty()) return;
    const int64_t length = static_cast<int64_t>(t.size());
    // The position is a 16-bit Integer: stepping past 32767 ends the count through the trap.
    int16_t i = 1;
    auto step = [&] { i = toInteger16(int64_t{i} + 1); };
    auto blankAt = [&] { return i <= length && t[i - 1] == u' '; };
    for (;;) {
      while (blankAt()) {
        addOne(nbBlank);
        step();
      }
      bool atEnd = false;
      while (!blankAt()) {
        if (i >= length) {
          atEnd = true;
          break;
        }
        addOne(nbChar);
        step();
      }
      if (atEnd) break;
      addOne(nbWord);
    }
    if (t.back() != u' ') {
      addOne(nbWord);
      addOne(nbChar);
    }
    result = true;
  });
  return result;
}

}  // namespace zv::impl
