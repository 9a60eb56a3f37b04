// Items of a list into a collection, lookups in an array, single characters, and the
// four-character form of a Long.
#include <optional>

#include "frame/traps.h"
#include "frame/varnix.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "text/StrChr.h"
#include "text/separator_scan.h"

namespace zv::impl {

using text::checkPosition;
using text::checkSeparatorLength;
using text::SeparatorScan;

bool StrChr::ItemsToCollection(const String& theItemList, ObjectRef& theColl,
                               const String& theSeparator) {
  bool result = false;
  returnOnly([&] {
    if (!theColl) return;
    const StringView s(theItemList);
    const size_t lastNonBlank = s.find_last_not_of(u' ');
    std::optional<SeparatorScan> scan;
    if (!theSeparator.empty()) scan.emplace(s, theSeparator);
    // The rest of the list is s[start..]; it ends the loop once it is blank.
    for (size_t start = 0; lastNonBlank != StringView::npos && start <= lastNonBlank;) {
      size_t hit = SeparatorScan::npos;
      if (scan) {
        checkSeparatorLength(theSeparator);
        hit = scan->next(start);
        if (hit != SeparatorScan::npos) checkPosition(hit, start);
      }
      const StringView item = s.substr(start, hit == SeparatorScan::npos ? hit : hit - start);
      call(theColl, u"Add", {Arg(Variant(String(item)))});
      if (hit == SeparatorScan::npos) break;
      start = hit + theSeparator.size();
    }
    result = true;
  });
  return result;
}

int16_t StrChr::isStringExistInList(Variant& theStringListe, const String& stringCompare,
                                    bool& upperCompare) {
  int16_t result = -1;
  reportAndReturn(
      [&] {
        if (!theStringListe.isArray()) raise(err::kTypeMismatch);
        const SafeArray& list = theStringListe.arrayValue();
        const int32_t upper = list.ubound(1);
        if (upper <= 0) return;
        const String wanted = upperCompare ? ucase(stringCompare) : stringCompare;
        // The index is a 16-bit Integer: walking past 32767 fails.
        for (int64_t i = list.lbound(1); i <= upper; ++i) {
          const int16_t index = toInteger16(i);
          const String element = toString(list.at(index));
          if (isBlank(element)) continue;
          if (upperCompare ? ucase(element) == wanted : element == wanted) {
            result = index;
            return;
          }
        }
      },
      u"Error on  search existant String");
  return result;
}

String StrChr::GetChar(const String& theString, int16_t thePosition) {
  if (thePosition > static_cast<int64_t>(theString.size())) return {};
  return mid(theString, thePosition < 1 ? 1 : thePosition, 1);
}

bool StrChr::GetBoolean(const String& theString, int16_t thePosition) {
  const String c = GetChar(theString, thePosition);
  return c.size() == 1 && c[0] >= u'1' && c[0] <= u'9';
}

String StrChr::Terminator(const String& strString) {
  return CutAtNullChar(strString);
}

int32_t StrChr::String2Long(String& theString) {
  int32_t result = 0;
  resumeNext([&] {
    if (theString.size() < 4) raise(err::kInvalidCall);
    // Each code in hexadecimal without a leading zero, so the digits do not keep their
    // places: the codes 0, 0, 1, 200 read as &h001C8.
    String literal = u"&h";
    for (size_t i = 0; i < 4; ++i) {
      const unsigned code = ansiCode(theString[i]);
      if (code >= 16) literal += u"0123456789ABCDEF"[code / 16];
      literal += u"0123456789ABCDEF"[code % 16];
    }
    result = toLong(Variant(literal));
  });
  clearPendingError();
  return result;
}

String StrChr::Long2String(int32_t theLong) {
  String result;
  resumeNext([&] {
    const double d = theLong;
    // The upper three codes are rounded (halves to even), not truncated.
    const int64_t codes[4] = {static_cast<int64_t>(roundHalfEven(d / 16777216)) % 256,
                              static_cast<int64_t>(roundHalfEven(d / 65536)) % 256,
                              static_cast<int64_t>(roundHalfEven(d / 256)) % 256,
                              int64_t{theLong} % 256};
    String text;
    for (int64_t code : codes) {
      if (code < 0 || code > 255) raise(err::kInvalidCall);
      text += ansiChar(static_cast<uint8_t>(code));
    }
    result = std::move(text);
  });
  clearPendingError();
  return result;
}

}  // namespace zv::impl
