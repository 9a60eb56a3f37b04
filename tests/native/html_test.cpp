// HTMlib's text conversions and the HTML module routines: the whole entity and escape tables,
// link and mail anchors at 16-bit positions. The single conversions are rows of
// tests/cases/text.tsv.
#include <gtest/gtest.h>

#include <string>

#include "convert/HTMlib.h"
#include "convert/lib_html.h"
#include "frame/classes.h"
#include "runtime/errors.h"
#include "runtime/object.h"
#include "test_support.h"

using zv::String;
using zv::StringView;

namespace {

constexpr int32_t kNoError = 0;

using zvtest::errorOf;

String filler(size_t count) {
  return String(count, u'x');
}

zv::impl::HTMlib lib;

// The 79 characters with an entity, in one text; each entity stands where its character was.
TEST(HtmlFromText, EntityTable) {
  const StringView chars =
      u"©®£°~œ‰™¥¢€µø÷¿ƒ¡¬ÆÁÂÀÅÃÄÇÐÉÊÈËÍÎÌÏÑÓÔÒØÕÖÞÚÛÙÜÝáâæàåãäçéêèðëíîìïñóôòõößþúûùüýÿ";
  ASSERT_EQ(chars.size(), 79u);
  EXPECT_EQ(zv::TXTcharToHTML(chars, false, false, false),
            u"&copy;&reg;&pound;&deg;&#152;&#156;&#137;&#153;&yen;&cent;&#8364;&micro;&oslash;"
            u"&divide;&iquest;&#131;&iexcl;&not;&AElig;&Aacute;&Acirc;&Agrave;&Aring;&Atilde;&Auml;"
            u"&Ccedil;&ETH;&Eacute;&Ecirc;&Egrave;&Euml;&Iacute;&Icirc;&Igrave;&Iuml;&Ntilde;"
            u"&Oacute;&Ocirc;&Ograve;&Oslash;&Otilde;&Ouml;&THORN;&Uacute;&Ucirc;&Ugrave;&Uuml;"
            u"&Yacute;&aacute;&acirc;&aelig;&agrave;&aring;&atilde;&auml;&ccedil;&eacute;&ecirc;"
            u"&egrave;&eth;&euml;&iacute;&icirc;&igrave;&iuml;&ntilde;&oacute;&ocirc;&ograve;"
            u"&otilde;&ouml;&szlig;&thorn;&uacute;&ucirc;&ugrave;&uuml;&yacute;&yuml;");
  // A character beyond Latin-1 without an entity stays (the Latin-1 ones: text.tsv).
  EXPECT_EQ(zv::TXTcharToHTML(u"≈", true, false, false), u"≈");
}

TEST(HtmlLinks, InsertHrefMovesPastTheAnchor) {
  // The position moves past the anchor, a 16-bit Integer too.
  int16_t position = 32736;
  EXPECT_EQ(zv::InsertHREF(filler(32735) + u"ftp://x", position),
            filler(32735) + u" <A HREF=\"ftp://x\">ftp://x</A>");
  EXPECT_EQ(position, 32767);
  position = 32737;
  EXPECT_EQ(errorOf([&] { zv::InsertHREF(filler(32736) + u"ftp://x", position); }),
            zv::err::kOverflow);

  position = 0;
  EXPECT_EQ(errorOf([&] { zv::InsertHREF(u"ftp://x", position); }), zv::err::kInvalidCall);
}

// A link found at p takes the search to p + its anchor + 1, and an "@" is found at a 16-bit
// position, the search going on from the anchor's last character.
TEST(HtmlFromText, SixteenBitPositions) {
  const struct {
    String input;
    bool links, mail;
    String expected;  // when no error
    int32_t error;
  } cases[] = {
      // Found at 32730 (an anchor of 36 characters): the next search would start at 32767.
      {filler(32729) + u"http://a.b", true, false,
       filler(32729) + u" <A HREF=\"http://a.b\">http://a.b</A>", kNoError},
      {filler(32730) + u"http://a.b", true, false, u"", zv::err::kOverflow},
      // Long texts are fine when no link lies beyond the limit.
      {u"see http://a.b " + filler(40000), true, false,
       u"see  <A HREF=\"http://a.b\">http://a.b</A> " + filler(40000), kNoError},
      // An "@" at 32767 is read; without a "." the detection stops there.
      {filler(32766) + u"@", false, true, filler(32766) + u"@", kNoError},
      {filler(32767) + u"@", false, true, u"", zv::err::kOverflow},
      // " u@v.w" after k characters: the anchor (33 characters) ends at k + 34.
      {filler(32733) + u" u@v.w", false, true,
       filler(32733) + u"  <A HREF=\"mailto:u@v.w\">u@v.w</A>", kNoError},
      {filler(32734) + u" u@v.w", false, true, u"", zv::err::kOverflow},
  };
  // Late-bound, the overflow reaches the caller with the class as its source.
  const zv::ObjectRef html = zv::createObject(u"ZivoviViruvov.HTMlib");
  for (const auto& c : cases) {
    String out;
    const auto failure = zvtest::caught([&] {
      out = zv::call(html, u"ReplaceTXTcharToHTMLchar",
                     {zv::Variant(c.input), zv::Variant(false), zv::Variant(c.links),
                      zv::Variant(c.mail)})
                .stringValue();
    });
    EXPECT_EQ(failure ? failure->number() : kNoError, c.error) << c.input.size();
    if (failure) {
      EXPECT_EQ(failure->source(), u"ZivoviViruvov.HTMlib");
    }
    EXPECT_EQ(out, c.expected) << c.input.size();
  }
  EXPECT_EQ(zv::pendingError().number, 0);
}

// Each escape of the table gives the entity the text conversion gives its character, and
// comes back from HTML unchanged.
TEST(HtmlFromRtf, EscapeTable) {
  const StringView codes =
      u"c6c1c2c0c5c3c4c7d0c9cac8cbcdcecccfd1d3d4d2d8d5d6dadedbd9dcdd"
      u"e1e2e6e0e5e3e4e7e9eae8f0ebedeeeceff1f3f4f2f8f5f6dffefafbf9fcfdff";
  ASSERT_EQ(codes.size(), 2 * 62u);
  String allEscapes;
  for (size_t i = 0; i < codes.size(); i += 2) {
    const String escape = u"\\'" + String(codes.substr(i, 2));
    const char16_t c = char16_t(std::stoi(zv::toUtf8(codes.substr(i, 2)), nullptr, 16));
    const String entity = lib.ReplaceRTFcharToHTMLchar(escape);
    EXPECT_EQ(entity, zv::TXTcharToHTML(String(1, c), false, false, false)) << i;
    EXPECT_EQ(lib.ReplaceHTMLcharToRTFchar(entity), escape);
    allEscapes += escape;
  }
  EXPECT_EQ(lib.ReplaceHTMLcharToRTFchar(lib.ReplaceRTFcharToHTMLchar(allEscapes)), allEscapes);
}

}  // namespace
