// RTFlib and the RTF module routines: every byte escape to text and every Latin-1 character
// to RTF, a round trip, and the plain text of RTF documents as word processors write them.
// The single conversions are rows of tests/cases/text.tsv.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "convert/RTFlib.h"
#include "convert/lib_rtf.h"
#include "test_support.h"

using zv::String;
using zv::StringView;

namespace {

using Case = std::pair<StringView, StringView>;

String hexEscape(unsigned code) {
  static const char16_t kDigits[] = u"0123456789abcdef";
  return String(u"\\'") + kDigits[code >> 4] + kDigits[code & 15];
}

zv::impl::RTFlib lib;

// The 67 escapes the conversion to text knows, each the character of the same code; every
// other lowercase escape of a byte stays as it is. (The other way: rows of text.tsv.)
TEST(RtfEscapes, EveryByteEscapeAndARoundTrip) {
  const StringView known = u"ë£éèàùêïçûôöäâîíáåãæñìóòøõßþüýÿ¤²µð§°ÉÊÈÀÏÇÛÌÆÁÂÅÄÃÐËÍÎÑØÒÔÓÕÖÚÜÙÝÞ";
  ASSERT_EQ(known.size(), 67u);
  for (unsigned code = 0; code < 256; ++code) {
    const String escape = hexEscape(code), c(1, char16_t(code));
    EXPECT_EQ(zv::RTFcharToTXT(u"<" + escape + u">"),
              u"<" + (known.find(c[0]) != StringView::npos ? c : escape) + u">")
        << code;
  }
  // A text with every character that gets an escape comes back through RTF.
  const String text =
      u"C'est l'été, {ok} `x` \"q\" 50°\tÀ la ligne\r\nFin\\n ÉÊÈÀÏÇÛ ëéèàùêïçûôöäâî £¤²µü§° "
      u"\\\\ {{}} ''";
  EXPECT_EQ(lib.ReplaceRTFcharToTXTchar(lib.ReplaceTXTcharToRTFchar(text)), text);
}

TEST(RtfPlainText, Cases) {
  const Case cases[] = {
      {u"", u""},
      {u"   ", u""},
      {u"{\\rtf1 Hello\\par World}", u"Hello\r\nWorld"},
      {u"{\\rtf1 {\\b Bold} text\\par Next line\\tab end}", u"Bold text\r\nNext line\tend"},
      // A control word after a blank takes the blank with it.
      {u"{\\rtf1 Prix \\b 5\\b0 net}", u"Prix5net"},
      // Without a blank after it, a control word hides the rest.
      {u"{\\rtf1 a\\b0}", u"a"},
      // A brace without a control word is text; its closing brace is not.
      {u"{\\rtf1 {a} b}", u"{a b"},
      // "\}" becomes a closing brace before the scan, which never outputs one.
      {u"\\{ok\\}", u"{ok"},
      // A rich text box's document: the font table ends in the text where a blank revives it.
      {u"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 "
       u"Courier;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs17 Hello world\\par\r\n}\r\n",
       u"Courier;Hello world"},
  };
  for (const auto& [input, expected] : cases)
    EXPECT_EQ(zv::RTFtoPlainText(input), expected) << zv::toUtf8(input);
  // Control words without blanks: each must not search the rest of the text again.
  EXPECT_EQ(zv::RTFtoPlainText(u"x" + zvtest::repeated(u"\\b", 2'000'000)), u"x");
}

}  // namespace
