// Names made safe, accents taken off, blanks collapsed, digits kept or dropped: each a
// single pass over the text.
#include <array>

#include "text/StrChr.h"

namespace zv::impl {

namespace {

// The characters RemoveAccent turns into "_" besides the letters U+00C0 to U+00FF: blanks,
// punctuation and a few signs, none of which a file name should carry.
constexpr StringView kUnsafeInName =
    u" \t'`()[]{}#~&|-\\/@=+$%!?^:;,.<>*\"\u00B2\u00B0\u00A3\u00A4\u00A7\u00B5";

// Which of the first 256 characters RemoveAccent replaces: a table, so that the loop over a
// long text is a lookup a character.
constexpr std::array<bool, 256> kUnsafeLatin1 = [] {
  std::array<bool, 256> unsafe{};
  for (char16_t c = 0xC0; c <= 0xFF; ++c)
    unsafe[c] = c != 0xD7 && c != 0xF7;  // not the signs times and divide
  for (char16_t c : kUnsafeInName)
    unsafe[c] = true;
  return unsafe;
}();

// The plain forms of U+00C0 to U+00FF, in code order ("" keeps the character).
// clang-format off
constexpr StringView kPlainLatin1[64] = {
    u"A", u"A", u"A", u"A", u"A", u"A", u"AE", u"C",  // C0 to C7
    u"E", u"E", u"E", u"E", u"I", u"I", u"I",  u"I",  // C8 to CF
    u"D", u"N", u"O", u"O", u"O", u"O", u"O",  u"",   // D0 to D7 (D7 is the sign times)
    u"_", u"U", u"U", u"U", u"U", u"Y", u"_",  u"b",  // D8 to DF (sharp s to b)
    u"a", u"a", u"a", u"a", u"a", u"a", u"ae", u"c",  // E0 to E7
    u"e", u"e", u"e", u"e", u"i", u"i", u"i",  u"i",  // E8 to EF
    u"_", u"n", u"o", u"o", u"o", u"o", u"o",  u"",   // F0 to F7 (F7 is the sign divide)
    u"_", u"u", u"u", u"u", u"u", u"y", u"_",  u"y",  // F8 to FF
};
// clang-format on

// What RemoveExtraAccentAndChar puts in place of `c`; empty when `c` stays.
StringView plainForm(char16_t c) {
  if (c >= 0xC0 && c <= 0xFF) return kPlainLatin1[c - 0xC0];
  if (c == u'\t') return u" ";
  if (StringView(u"\u00B2\u00B0\u00B5\u00A7^").find(c) != StringView::npos) return u"_";
  return {};
}

bool isDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

String keepDigits(const String& text, bool digits) {
  String kept;
  kept.reserve(text.size());
  for (char16_t c : text)
    if (isDigit(c) == digits) kept += c;
  return kept;
}

}  // namespace

String StrChr::RemoveAccent(const String& theString) {
  String result = theString;
  for (char16_t& c : result)
    c = c < 256 && kUnsafeLatin1[c] ? u'_' : c;
  return result;
}

String StrChr::RemoveExtraAccentAndChar(const String& theString) {
  String result;
  result.reserve(theString.size());
  for (char16_t c : theString) {
    const StringView plain = plainForm(c);
    if (plain.empty())
      result += c;
    else
      result += plain;
  }
  return result;
}

String StrChr::RemoveExtraSpaces(const String& strString) {
  const StringView s(strString);
  if (s.find(u"  ") == StringView::npos) return strString;
  // Each pair of blanks the cutting loop would meet is checked at its position in the text
  // as cut so far (earlier runs already single, trailing blanks gone after the first cut).
  String result;
  result.reserve(s.size());
  bool firstPair = true;
  for (size_t i = 0; i < s.size();) {
    if (s[i] != u' ') {
      result += s[i++];
      continue;
    }
    size_t end = i;
    while (end < s.size() && s[end] == u' ')
      ++end;
    if (end - i >= 2 && (firstPair || end < s.size())) {
      toInteger16(static_cast<int64_t>(result.size()) + 1);
      firstPair = false;
    }
    result += u' ';
    i = end;
  }
  return trim(result);
}

String StrChr::KeepOnlyNumeric(const String& theString) {
  return keepDigits(theString, true);
}

String StrChr::KeepOnlyString(const String& theString) {
  return keepDigits(theString, false);
}

}  // namespace zv::impl
