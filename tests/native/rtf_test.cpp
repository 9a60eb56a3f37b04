// RTFlib and the RTF module routines: escapes to and from text, the underscore form, and
// the plain text of RTF documents as word processors write them.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "convert/RTFlib.h"
#include "convert/lib_rtf.h"
#include "frame/classes.h"
#include "runtime/errors.h"
#include "runtime/object.h"
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

TEST(RtfToText, Cases) {
  const Case cases[] = {
      {u"", u""},
      {u"caf\\'e9\\par ", u"café\r\n"},
      {u"caf\\'e9\\par", u"café\\par"},
      {u"l\\rquote \\'e9t\\'e9", u"l'été"},
      {u"\\lquote x", u"`x"},
      {u"\\ldblquote Hi\\rdblquote !", u"\"Hi\"!"},
      {u"\\{x\\}", u"{x}"},
      {u"a\\tab b", u"a\tb"},
      {u"\\'E9 \\'fa \\'80", u"\\'E9 \\'fa \\'80"},
      // "\\" first: the backslash it leaves starts later escapes.
      {u"\\\\'e9", u"é"},
      {u"\\\\par x", u"\r\nx"},
      {u"\\\\\\{", u"\\{"},
      // Three backslashes: one is left before "\rquote ", whose apostrophe then forms "\'e9".
      {u"\\\\\\rquote e9", u"é"},
      // The blank of "\~" completes the words whose rules come after it, not the earlier ones.
      {u"\\tab\\~x", u"\tx"},
      {u"\\par\\~", u"\r\n"},
      {u"\\ldblquote\\~x", u"\"x"},
      {u"\\rquote\\~x", u"\\rquote x"},
      {u"\\lquote\\~", u"\\lquote "},
  };
  for (const auto& [input, expected] : cases) {
    EXPECT_EQ(lib.ReplaceRTFcharToTXTchar(String(input)), expected) << zv::toUtf8(input);
    EXPECT_EQ(zv::RTFcharToTXT(input), expected) << zv::toUtf8(input);
  }
}

// The 67 escapes the conversion knows, each the character of the same code; every other
// lowercase escape of a byte stays as it is.
TEST(RtfToText, EveryByteEscape) {
  const StringView known = u"ë£éèàùêïçûôöäâîíáåãæñìóòøõßþüýÿ¤²µð§°ÉÊÈÀÏÇÛÌÆÁÂÅÄÃÐËÍÎÑØÒÔÓÕÖÚÜÙÝÞ";
  ASSERT_EQ(known.size(), 67u);
  for (unsigned code = 0; code < 256; ++code) {
    const String escape = hexEscape(code);
    const bool listed = known.find(char16_t(code)) != StringView::npos;
    EXPECT_EQ(zv::RTFcharToTXT(u"<" + escape + u">"),
              listed ? String(u"<") + char16_t(code) + u">" : u"<" + escape + u">")
        << code;
  }
}

TEST(RtfFromText, Cases) {
  const Case cases[] = {
      {u"", u""},
      {u"a{b}\\c", u"a\\{b\\}\\\\c"},
      {u"l'été", u"l\\rquote \\'e9t\\'e9"},
      {u"`q` \"q\"", u"\\lquote q\\lquote  \"q\""},
      {u"a\tb\r\nc", u"a\\tab b\\par c"},
      {u"a\rb\nc\n\r", u"a\rb\nc\n\r"},
      {u"\r\r\n\n", u"\r\\par \n"},
      {u"\\'e9", u"\\\\\\rquote e9"},
  };
  for (const auto& [input, expected] : cases)
    EXPECT_EQ(lib.ReplaceTXTcharToRTFchar(String(input)), expected) << zv::toUtf8(input);
}

// The 28 characters that get escapes; every other Latin-1 character stays.
TEST(RtfFromText, EveryLatin1Character) {
  const StringView escaped = u"ëéèàùêïçûôöäâî£¤²µü§°ÉÊÈÀÏÇÛ";
  ASSERT_EQ(escaped.size(), 28u);
  for (unsigned code = 0xA0; code < 0x100; ++code) {
    const String c(1, char16_t(code));
    const bool listed = escaped.find(char16_t(code)) != StringView::npos;
    EXPECT_EQ(lib.ReplaceTXTcharToRTFchar(c), listed ? hexEscape(code) : c) << code;
  }
}

TEST(RtfFromText, RoundTripsThroughText) {
  const String text =
      u"C'est l'été, {ok} `x` \"q\" 50°\tÀ la ligne\r\nFin\\n ÉÊÈÀÏÇÛ ëéèàùêïçûôöäâî £¤²µü§° "
      u"\\\\ {{}} ''";
  EXPECT_EQ(lib.ReplaceRTFcharToTXTchar(lib.ReplaceTXTcharToRTFchar(text)), text);
}

TEST(RtfUnderscore, Cases) {
  const Case cases[] = {
      {u"", u""},
      {u"Été 2024: a/b.txt", u"_t__2024__a_b_txt"},
      {u"éèàùêïçûôöë Û'ÉÊÈÀÏÇÙÚÜÝÁÂÃÄËÌÅÆÍÎÐÑÒÓÔÕÖæåðñòóúýÿãá,:;?()\\/!&@{}[]=-+|`~#%§µ.$\"\t",
       u"_________________________________________________________________________________"},
      {u"abcXYZ019_*âîüìíõøßþ<>^\r\n", u"abcXYZ019_*âîüìíõøßþ<>^\r\n"},
  };
  for (const auto& [input, expected] : cases)
    EXPECT_EQ(lib.ReplaceRTFcharByUnderscore(String(input)), expected) << zv::toUtf8(input);
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
  };
  for (const auto& [input, expected] : cases)
    EXPECT_EQ(zv::RTFtoPlainText(input), expected) << zv::toUtf8(input);
}

// A rich text box's document: the font table ends in the text where a blank revives it.
TEST(RtfPlainText, RichTextBoxDocument) {
  EXPECT_EQ(
      zv::RTFtoPlainText(u"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil"
                         u"\\fcharset0 Courier;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs17 Hello "
                         u"world\\par\r\n}\r\n"),
      u"Courier;Hello world");
  // Control words without blanks: each must not search the rest of the text again.
  EXPECT_EQ(zv::RTFtoPlainText(u"x" + zvtest::repeated(u"\\b", 2'000'000)), u"x");
}

TEST(RtfLateBound, CallsByName) {
  const zv::ObjectRef rtf = zv::createObject(u"ZivoviViruvov.RTFlib");
  EXPECT_EQ(zv::call(rtf, u"ReplaceTXTcharToRTFchar", {zv::Variant(u"l'été {x}")}).stringValue(),
            u"l\\rquote \\'e9t\\'e9 \\{x\\}");
  EXPECT_EQ(
      zv::call(rtf, u"replacertfchartotxtchar", {zv::Variant(u"caf\\'e9\\par ")}).stringValue(),
      u"café\r\n");
  EXPECT_EQ(zv::call(rtf, u"ReplaceRTFcharByUnderscore", {zv::Variant(int16_t(-12))}).stringValue(),
            u"_12");
  EXPECT_EQ(zv::call(rtf, u"ReplaceRTFcharToTXTchar", {zv::Variant()}).stringValue(), u"");
}

}  // namespace
