// libFuzzer target over the string, RTF and HTML conversions and the RTF file to HTML file
// conversion. A library error (zv::Error) is an answer; any other exception, a crash, a
// hang or a sanitizer report is a bug.
//
// Input: byte 0 holds the flags, bytes 1-2 a 16-bit position or count (little-endian), the
// rest up to three strings separated by byte 0xFE. In a string, 0xFF followed by two bytes
// (little-endian) is that UTF-16 unit as is (lone surrogates, NUL, ...), a valid UTF-8
// sequence is its character, any other byte the Latin-1 character of that value. The RTF
// file gets the bytes after the header unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "api/Collection.h"
#include "api/HTMlib.h"
#include "api/RTFlib.h"
#include "api/StrChr.h"
#include "api/TextBox.h"
#include "convert/lib_html.h"
#include "convert/lib_rtf.h"
#include "convert/replace_scan.h"
#include "convert/text_passes.h"
#include "convert/unit_search.h"
#include "fuzz_support.h"
#include "runtime/errors.h"
#include "runtime/variant.h"
#include "text_oracle/replace_scan.h"
#include "text_oracle/rtf_file_to_html.h"
#include "text_oracle/unit_search.h"

namespace {

using zv::String;
using zv::fuzz::attempt;
using zv::fuzz::check;

// Appends the UTF-16 form of the valid UTF-8 sequence at data[i] and returns its length, or
// returns 0 when none starts there.
size_t appendUtf8(const uint8_t* data, size_t size, size_t i, String& out) {
  const uint8_t b = data[i];
  size_t length;
  uint32_t c;
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2, c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3, c = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4, c = b & 0x07;
  } else {
    return 0;
  }
  if (i + length > size) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((data[i + k] & 0xC0) != 0x80) return 0;
    c = (c << 6) | (data[i + k] & 0x3F);
  }
  if ((length == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
      (length == 4 && (c < 0x10000 || c > 0x10FFFF)))
    return 0;
  if (c >= 0x10000) {
    out.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
    out.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
  } else {
    out.push_back(char16_t(c));
  }
  return length;
}

std::vector<String> decodeStrings(const uint8_t* data, size_t size) {
  std::vector<String> strings(1);
  for (size_t i = 0; i < size;) {
    const uint8_t b = data[i];
    if (b == 0xFE) {
      if (strings.size() == 3) break;
      strings.emplace_back();
      ++i;
    } else if (b == 0xFF) {
      if (i + 2 >= size) break;
      strings.back().push_back(char16_t(data[i + 1] | (data[i + 2] << 8)));
      i += 3;
    } else if (size_t n = appendUtf8(data, size, i, strings.back())) {
      i += n;
    } else {
      strings.back().push_back(char16_t(b));
      ++i;
    }
  }
  strings.resize(3);
  return strings;
}

struct Objects {
  std::shared_ptr<zv::StrChr> strchr = zv::StrChr::create();
  std::shared_ptr<zv::RTFlib> rtf = zv::RTFlib::create();
  std::shared_ptr<zv::HTMlib> html = zv::HTMlib::create();
  zv::fuzz::ScratchFolder scratch{"text"};
  std::string rtfPath = scratch.file("in.rtf"), htmlPath = scratch.file("out.html");
  String rtfFile = zv::fromUtf8(rtfPath), htmlFile = zv::fromUtf8(htmlPath);
  bool fileConversionBuilt = true;
};

Objects& objects() {
  static Objects o;
  return o;
}

void fuzzStrChr(zv::StrChr& s, const String& a, const String& b, const String& c, uint8_t flags,
                int16_t number) {
  const bool mustExist = flags & 1;
  attempt([&] { s.GetLeft(a, b, mustExist); });
  attempt([&] { s.GetRight(a, b, mustExist); });
  attempt([&] { s.GetLastLeft(a, b, mustExist); });
  attempt([&] { s.GetLastRight(a, b, mustExist); });
  attempt([&] { s.GetEnd(a, b, mustExist); });
  attempt([&] { s.GetRightCount(a, b, number, mustExist); });
  attempt([&] { s.CountItem(a, b); });
  attempt([&] { s.ReplaceToCRLF(a, b); });
  attempt([&] { s.GetStringFile(a); });
  attempt([&] { s.GetStringPath(a); });
  attempt([&] {
    zv::ObjectRef coll = zv::Collection::create();
    s.ItemsToCollection(a, coll, b);
  });
  attempt([&] {
    zv::Variant list(zv::SafeArray::vector(zv::VarType::String, flags & 2 ? 1 : 0,
                                           {zv::Variant(a), zv::Variant(c)}));
    bool upper = flags & 4;
    s.isStringExistInList(list, b, upper);
  });
  attempt([&] { s.GetChar(a, number); });
  attempt([&] { s.GetBoolean(a, number); });
  attempt([&] { s.Terminator(a); });
  attempt([&] {
    String text = a;
    s.String2Long(text);
  });
  attempt([&] { s.Long2String(int32_t(uint32_t(uint16_t(number)) << (flags & 16))); });
  attempt([&] { s.RemoveAccent(a); });
  attempt([&] { s.RemoveExtraAccentAndChar(a); });
  attempt([&] { s.RemoveExtraSpaces(a); });
  attempt([&] { s.KeepOnlyNumeric(a); });
  attempt([&] { s.KeepOnlyString(a); });
  attempt([&] { s.CountChar(a, b); });
  attempt([&] {
    auto box = zv::TextBox::create();
    box->let_Text(a);
    zv::ObjectRef ref = box;
    int32_t chars = 0, words = 0, blanks = 0;
    s.TextBoxCounter(ref, chars, words, blanks);
  });
}

void fuzzConversions(Objects& o, const String& a, uint8_t flags, int16_t number) {
  const bool f0 = flags & 1, f1 = flags & 2, f2 = flags & 4, f3 = flags & 8;
  attempt([&] { o.rtf->ReplaceRTFcharToTXTchar(a); });
  attempt([&] { o.rtf->ReplaceTXTcharToRTFchar(a); });
  attempt([&] { o.rtf->ReplaceRTFcharByUnderscore(a); });
  attempt([&] { zv::RTFcharToTXT(a); });
  attempt([&] { zv::RTFtoPlainText(a); });
  attempt([&] { o.html->ReplaceTXTcharToHTMLchar(a, f1, f2, f3); });
  attempt([&] { o.html->ReplaceRTFcharToHTMLchar(a, f0, f1, f2, f3); });
  attempt([&] { o.html->ReplaceHTMLcharToRTFchar(a); });
  attempt([&] { o.html->ConvertRootFile(a); });
  attempt([&] {
    int16_t position = number;
    zv::InsertHREF(a, position);
  });
}

// The fast searches and the replacement scan against plain loops over every position and
// against the engine they replaced (text_oracle).
void compareWithPlainSearch(const String& text, const String& patterns, const String& targets,
                            int16_t number) {
  const size_t from = size_t(uint16_t(number)) % (text.size() + 1);
  if (!patterns.empty()) {
    check(zv::convert::findText(text, patterns, from) == text.find(patterns, from));
    String fast, old;
    check(zv::convert::replaceAllTo(text, patterns, targets, fast) ==
              zv::text_oracle::replaceAllTo(text, patterns, targets, old) &&
          fast == old);
    // Deletion in place, within a buffer the passes own.
    zv::convert::TextPasses passes(text);
    passes.run([](zv::StringView t, String& out) { return out.assign(t), true; }).erase(patterns);
    old.clear();
    if (!zv::text_oracle::replaceAllTo(text, patterns, u"", old)) old = text;
    check(passes.take() == old);
    check(zv::convert::findUnit(text, patterns[0], from) ==
          std::min(text.size(), text.find(patterns[0], from)));
  }
  // Rules from the "|"-separated parts of `patterns` and `targets`, kept prefix-free.
  std::vector<String> from_, to_;
  for (size_t at = 0, k = 0; at <= patterns.size() && from_.size() < 64; ++k) {
    const size_t end = std::min(patterns.find(u'|', at), patterns.size());
    const String part = patterns.substr(at, end - at);
    at = end + 1;
    // Patterns as long as the conversions' (a few dozen units): a long one costs every
    // engine its length at each position.
    bool clash = part.empty() || part.size() > 64;
    for (const String& kept : from_)
      clash = clash || kept.starts_with(part) || part.starts_with(kept);
    if (clash || from_.size() == 64) continue;
    from_.push_back(part);
    to_.push_back(targets.substr(std::min(targets.size(), k), k * 7 % 20));
  }
  std::vector<zv::convert::Replacement> rules;
  std::vector<zv::text_oracle::Replacement> oracleRules;
  for (size_t k = 0; k < from_.size(); ++k) {
    rules.push_back({from_[k], to_[k]});
    oracleRules.push_back({from_[k], to_[k]});
  }
  const String scanned = zv::convert::ReplaceScan(rules).apply(text);
  check(scanned == zv::text_oracle::ReplaceScan(oracleRules).apply(text));
  // The plain loop costs text length times pattern length: long pairs rest on the oracle.
  if (text.size() * patterns.size() > (size_t(1) << 22)) return;
  String plain;
  for (size_t i = 0; i < text.size();) {
    size_t k = 0;
    while (k < from_.size() && !zv::StringView(text).substr(i).starts_with(from_[k]))
      ++k;
    plain += k < from_.size() ? to_[k] : String(1, text[i]);
    i += k < from_.size() ? from_[k].size() : 1;
  }
  check(scanned == plain);
}

// The library's file conversion against the oracle's: the same result and the same bytes.
void fuzzFile(Objects& o, const uint8_t* data, size_t size, bool headerFooter) {
  if (!o.fileConversionBuilt) return;
  zv::fuzz::writeFile(o.rtfPath, data, size);
  const std::string before = zv::fuzz::readFile(o.htmlPath);
  bool result = false;
  try {
    result = o.html->RTFfileToHTMLfile(o.rtfFile, o.htmlFile, headerFooter);
  } catch (const zv::Error& e) {
    if (e.number() == zv::err::kNotSupported) o.fileConversionBuilt = false;  // not built yet
    return;
  }
  const std::string produced = zv::fuzz::readFile(o.htmlPath);
  // A failed conversion leaves the previous page where the oracle left a partial one.
  check(result || produced == before);
  check(zv::text_oracle::RTFfileToHTMLfile(*o.html, o.rtfFile, o.htmlFile, headerFooter) ==
            result &&
        (!result || zv::fuzz::readFile(o.htmlPath) == produced));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const uint8_t flags = data[0];
  const int16_t number = int16_t(data[1] | (data[2] << 8));
  const std::vector<String> strings = decodeStrings(data + 3, size - 3);
  Objects& o = objects();
  fuzzStrChr(*o.strchr, strings[0], strings[1], strings[2], flags, number);
  fuzzConversions(o, strings[0], flags, number);
  compareWithPlainSearch(strings[0], strings[1], strings[2], number);
  fuzzFile(o, data + 3, size - 3, flags & 32);
  return 0;
}
