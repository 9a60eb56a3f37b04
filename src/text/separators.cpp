// Cutting strings at separators. The working copy of each function is cut again and again
// at the separator's next occurrence; here the cuts are positions in one left-to-right
// scan, with the same 16-bit limits on positions relative to each cut.
#include <optional>

#include "frame/traps.h"
#include "platform/file_system.h"
#include "text/StrChr.h"
#include "text/separator_scan.h"

namespace zv::impl {

using text::checkPosition;
using text::checkSeparatorLength;
using text::SeparatorScan;

namespace {

constexpr size_t npos = SeparatorScan::npos;

// GetLeft and GetRight: the text before or after the first separator.
String firstCut(const String& s, const String& sep, bool mustExist, bool after) {
  if (!s.empty() && !sep.empty()) {
    checkSeparatorLength(sep);
    const size_t hit = SeparatorScan(s, sep).next(0);
    if (hit != npos) {
      checkPosition(hit, 0);
      return after ? s.substr(hit + sep.size()) : s.substr(0, hit);
    }
  }
  return mustExist ? String() : s;
}

// Where "cut after the separator while it occurs" leaves the working copy of `s`: it
// begins at `last`, and began at `previous` before the last cut.
struct LastCut {
  bool cut = false;
  size_t last = 0;
  size_t previous = 0;
};

LastCut cutWhileFound(StringView s, StringView sep) {
  checkSeparatorLength(sep);
  LastCut at;
  if (sep.size() == 1) {
    // A one-character separator cannot overlap itself, so the last cut is at its last
    // occurrence; within position 32767 every earlier cut is too. (`previous` only serves
    // separators of two or more characters.)
    const size_t hit = s.rfind(sep[0]);
    if (hit == npos) return at;
    if (hit < 32767) {
      at.cut = true;
      at.last = hit + 1;
      return at;
    }
  }
  const SeparatorScan scan(s, sep);
  size_t start = 0;
  for (size_t hit = scan.next(0); hit != npos; hit = scan.next(start)) {
    checkPosition(hit, start);
    at.cut = true;
    at.previous = start;
    start = hit + sep.size();
  }
  at.last = start;
  return at;
}

}  // namespace

String StrChr::GetLeft(const String& theString, const String& theSeperator,
                       bool separatorMustExist) {
  return firstCut(theString, theSeperator, separatorMustExist, false);
}

String StrChr::GetRight(const String& theString, const String& theSeperator,
                        bool separatorMustExist) {
  return firstCut(theString, theSeperator, separatorMustExist, true);
}

String StrChr::GetEnd(const String& theString, const String& theSeperator, bool) {
  if (theString.empty() || theSeperator.empty()) return theString;
  return theString.substr(cutWhileFound(theString, theSeperator).last);
}

String StrChr::GetLastRight(const String& theString, const String& theSeperator, bool) {
  if (theString.empty() || theSeperator.empty()) return theString;
  const LastCut at = cutWhileFound(theString, theSeperator);
  if (at.cut && at.last == theString.size()) {
    // Ending on the separator, the copy before the last cut is kept when its last character
    // differs from the separator: always for a separator of two or more characters.
    const StringView before = StringView(theString).substr(at.previous);
    if (before.substr(before.size() - 1) != StringView(theSeperator)) return String(before);
  }
  return theString.substr(at.last);
}

String StrChr::GetLastLeft(const String& theString, const String& theSeperator, bool) {
  String result;
  reportAndReturn(
      [&] {
        if (theString.empty() || theSeperator.empty()) {
          result = theString;
          return;
        }
        checkSeparatorLength(theSeperator);
        const StringView s(theString);
        const SeparatorScan scan(s, theSeperator);
        // Empty items are dropped together with the separator that follows them.
        String joined;
        StringView item;
        size_t start = 0;
        for (size_t hit = scan.next(0); hit != npos; hit = scan.next(start)) {
          checkPosition(hit, start);
          if (!item.empty()) {
            joined += item;
            joined += theSeperator;
          }
          item = s.substr(start, hit - start);
          start = hit + theSeperator.size();
        }
        joined += item;
        result = joined.empty() ? String(s.substr(start)) : std::move(joined);
      },
      u"Error on data processing - LastLeft$()");
  return result;
}

String StrChr::GetRightCount(const String& theString, const String& theSeparator,
                             int16_t thePosition, bool separatorMustExist) {
  // The item is kept as a view until the end, so a failure still returns the one held.
  StringView held;
  const StringView s(theString);
  returnOnly([&] {
    const int32_t count = CountChar(theString, theSeparator);
    if (separatorMustExist && count < 1) return;
    if (thePosition > count && thePosition != count + 1) return;
    std::optional<SeparatorScan> scan;
    if (!theSeparator.empty()) scan.emplace(s, theSeparator);
    bool exhausted = false;  // no occurrence left after `start`
    size_t start = 0;        // the working copy is s[start..], or empty when start == npos
    for (int32_t position = thePosition;;) {
      if (start == npos || start == s.size() || position < 1) return;
      --position;
      const bool mustExist = position >= 1 ? separatorMustExist : false;
      size_t hit = npos;
      if (scan) {
        checkSeparatorLength(theSeparator);
        if (!exhausted) hit = scan->next(start);
        exhausted = hit == npos;
        if (hit != npos) checkPosition(hit, start);
      }
      if (hit != npos) {
        held = s.substr(start, hit - start);
        start = hit + theSeparator.size();
      } else if (mustExist) {
        held = {};
        start = npos;
      } else {
        held = s.substr(start);
      }
    }
  });
  return String(held);
}

int32_t StrChr::CountItem(const String& theString, const String& theSeperator) {
  if (theString.empty() || theSeperator.empty()) return 0;
  const StringView s(theString);
  // The working copy s[start..] is blank once start passes the last non-blank character.
  const size_t lastNonBlank = s.find_last_not_of(u' ');
  if (lastNonBlank == npos) return 0;
  checkSeparatorLength(theSeperator);
  const SeparatorScan scan(s, theSeperator);
  int32_t count = 0;
  for (size_t start = 0; start <= lastNonBlank;) {
    const size_t hit = scan.next(start);
    ++count;
    if (hit == npos) break;
    checkPosition(hit, start);
    start = hit + theSeperator.size();
  }
  return count;
}

String StrChr::ReplaceToCRLF(const String& theString, const String& theOldChar) {
  // An empty theOldChar is found everywhere without consuming anything: nothing to replace.
  if (theString.empty() || theOldChar.empty()) return theString;
  checkSeparatorLength(theOldChar);
  const StringView s(theString);
  const SeparatorScan scan(s, theOldChar);
  String result;
  result.reserve(s.size());
  size_t start = 0;
  for (size_t hit = scan.next(0); hit != npos; hit = scan.next(start)) {
    checkPosition(hit, start);
    result.append(s.substr(start, hit - start));
    result.append(kCrLf);
    start = hit + theOldChar.size();
  }
  result.append(s.substr(start));
  return result;
}

String StrChr::GetStringFile(const String& thePathAndFile) {
  return GetLastRight(thePathAndFile, String(1, platform::pathSeparator()), false);
}

// An absolute POSIX path keeps its leading "/" (the last cut would drop the empty first
// item): "/usr/share/a.txt" gives "/usr/share", "/a.txt" the root "/".
String StrChr::GetStringPath(const String& thePathAndFile) {
  const String separator(1, platform::pathSeparator());
  if (separator == u"/" && thePathAndFile.starts_with(separator)) {
    const String rest = thePathAndFile.substr(1);
    if (rest.find(separator) == String::npos) return separator;
    return separator + GetLastLeft(rest, separator, false);
  }
  return GetLastLeft(thePathAndFile, separator, false);
}

}  // namespace zv::impl
