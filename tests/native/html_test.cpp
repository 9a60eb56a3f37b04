// HTMlib's text conversions and the HTML module routines: entities, link and mail anchors
// with their 16-bit positions, RTF to HTML and HTML back to RTF.
#include <gtest/gtest.h>

#include <string>
#include <utility>

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

TEST(HtmlFromText, Cases) {
  const struct {
    StringView input;
    bool htmlChars, links, mail;
    StringView expected;
  } cases[] = {
      {u"", true, true, true, u""},
      {u"a < b", true, false, false, u"a &lt; b"},
      {u"AT&T", true, true, true, u"AT&T"},
      {u"\"It's\" <b>", true, false, false, u"&#147;It&#146;s&#147; &lt;b&gt;"},
      {u"\r\r\n\n", false, false, false, u"\r<BR>\n"},
      {u"~ 100 € ≈ 5 ² ¤ § \u00a0 “x”", false, false, false,
       u"&#152; 100 &#8364; ≈ 5 ² ¤ § \u00a0 “x”"},
      // Links.
      {u"see http://v.w/a b", false, true, false,
       u"see  <A HREF=\"http://v.w/a\">http://v.w/a</A> b"},
      {u"https://a.b and https://c.d", false, true, false,
       u" <A HREF=\"https://a.b\">https://a.b</A> and  <A HREF=\"https://c.d\">https://c.d</A>"},
      {u"ftp://c.d http://a.b", false, true, false,
       u" <A HREF=\"ftp://c.d\">ftp://c.d</A>  <A HREF=\"http://a.b\">http://a.b</A>"},
      {u"HTTP://A.B Https://c", false, true, false, u"HTTP://A.B Https://c"},
      {u"http://a.b\r\nnext", false, true, false,
       u" <A HREF=\"http://a.b\">http://a.b</A><BR>next"},
      // The entity written for ">" belongs to the link; a bare ">" too, "<" ends it.
      {u"<http://a.b>", true, true, false, u"&lt; <A HREF=\"http://a.b&gt;\">http://a.b&gt;</A>"},
      {u"<http://a.b>", false, true, false, u"< <A HREF=\"http://a.b>\">http://a.b></A>"},
      // The "https://" pass runs over the anchors of the "http://" pass.
      {u"http://a.b/https://c", false, true, false,
       u" <A HREF=\"http://a.b/ <A "
       u"HREF=\"https://c\">http://a.b/https://c\">https://c\">http://a.b/https://c</A></A>"},
      // Mail addresses.
      {u"write to u@v.w today", false, false, true,
       u"write to  <A HREF=\"mailto:u@v.w\">u@v.w</A> today"},
      {u"a@b.c d@e.f", false, false, true,
       u" <A HREF=\"mailto:a@b.c\">a@b.c</A>  <A HREF=\"mailto:d@e.f\">d@e.f</A>"},
      {u"Line\r\nu@v.w\r\nend", false, false, true,
       u"Line<BR> <A HREF=\"mailto:u@v.w\">u@v.w</A><BR>end"},
      {u"Mél : jean@café.fr", false, false, true,
       u"M&eacute;l :  <A HREF=\"mailto:jean@caf&eacute;.fr\">jean@caf&eacute;.fr</A>"},
      // The address starts after a blank, ">", CR or LF, and ends before a blank, "<", CR or LF.
      {u"<u@v.w>", true, false, true, u" <A HREF=\"mailto:&lt;u@v.w&gt;\">&lt;u@v.w&gt;</A>"},
      {u"a.b<y@z.w", false, false, true, u" <A HREF=\"mailto:a.b\">a.b</A><y@z.w"},
      // The first candidate without a "." after its first character ends the detection.
      {u"a@b then c@d.e", false, false, true, u"a@b then c@d.e"},
      {u".u@v.w x@y.z", false, false, true, u".u@v.w x@y.z"},
      {u"a@b.c x@y z@w.v", false, false, true, u" <A HREF=\"mailto:a@b.c\">a@b.c</A> x@y z@w.v"},
      // Mail detection runs over the link anchors.
      {u"http://u@v.w/x", false, true, true,
       u" <A  <A "
       u"HREF=\"mailto:HREF=\"http://u@v.w/x\">http://u@v.w/x\">HREF=\"http://u@v.w/"
       u"x\">http://u@v.w/x</A></A>"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(lib.ReplaceTXTcharToHTMLchar(String(c.input), c.htmlChars, c.links, c.mail),
              c.expected)
        << zv::toUtf8(c.input) << " " << c.htmlChars << c.links << c.mail;
}

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
  // Every other Latin-1 character stays.
  for (char16_t c = 0xA0; c <= 0xFF; ++c) {
    if (chars.find(c) != StringView::npos) continue;
    EXPECT_EQ(zv::TXTcharToHTML(String(1, c), true, false, false), String(1, c)) << int(c);
  }
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
  for (const auto& c : cases) {
    String out;
    EXPECT_EQ(errorOf([&] { out = lib.ReplaceTXTcharToHTMLchar(c.input, false, c.links, c.mail); }),
              c.error)
        << c.input.size();
    EXPECT_EQ(out, c.expected) << c.input.size();
  }
}

TEST(HtmlFromRtf, Cases) {
  const struct {
    StringView input;
    bool header, htmlChars, links, mail;
    StringView expected;
  } cases[] = {
      {u"", true, true, true, true, u""},
      {u"caf\\'e9", false, false, false, false, u"caf&eacute;"},
      {u"\\'abOui\\'bb", false, false, false, false, u"&#147;Oui&#148;"},
      {u"a\\page b", false, false, false, false, u"a<P><HR></P> b"},
      {u"\\~ ~", false, false, false, false, u"&#152; &#152;"},
      {u"\\'a3\\'b5\\'a7\\'b0\\'b2\\'a4", false, false, false, false,
       u"&pound;&micro;&sect;&deg;²¤"},
      {u"\\ldblquote Hi\\rdblquote l\\rquote s", false, false, false, false,
       u"&#147; Hi&#148; l&#146; s"},
      {u"a\\par b\\par\r\nc", false, false, false, false, u"a<BR> b\\par<BR>c"},
      {u"a\\tab b\\*c", false, false, false, false, u"a bc"},
      {u"{\\'b7}x \\'b7y \\bullet z", false, false, false, false,
       u"<DD><LI>x <DD><LI>y <DD><LI> z"},
      // "\'88" is à and "\'8f" è (the Mac code page's codes); the other "\'8x" escapes stay.
      {u"\\'88 \\'8f \\'80 \\'8a \\'8", false, false, false, false,
       u"&agrave; &egrave; \\'80 \\'8a \\'8"},
      {u"\\'e9 <b> \"x\" it's", false, true, false, false,
       u"&eacute; &lt;b&gt; &#147;x&#147; it&#146;s"},
      // The apostrophe of an escape left unknown becomes an entity, and the bullet is lost.
      {u"{\\'b7}x \\'b7y", false, true, false, false, u"{\\&#146;b7}x \\&#146;b7y"},
      {u"Voir http://a.b\\par suite", false, false, true, false,
       u"Voir  <A HREF=\"http://a.b\\par\">http://a.b\\par</A> suite"},
      {u"\\'c9crire \\'e0 u@v.w\\par ", false, false, false, true,
       u"&Eacute;crire &agrave;  <A HREF=\"mailto:u@v.w\\par\">u@v.w\\par</A> "},
      // A deletion joins the text around it, and later rules see what it formed.
      {u"\\r\\'9cquote", false, false, false, false, u"&#146;"},
      {u"\\\\'9c~", false, false, false, false, u"&#152;"},
      {u"{\\*\\'b7}", false, false, false, false, u"<DD><LI>"},
      {u"\\'b\\*7", false, false, false, false, u"<DD><LI>"},
      {u"\\\\tab*", false, false, false, false, u""},
      {u"\\pa\\tabge", false, false, false, false, u"\\page"},
      // The second " Courier;}} " removes the one the "\fs24" deletion forms.
      {u" Cour\\viewkind4\\uc1\\pard\\f0\\fs24ier;}} x", true, false, false, false, u"x"},
      {u"\\uc{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang10331 }x", true, false, false, false, u"x"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(lib.ReplaceRTFcharToHTMLchar(String(c.input), c.header, c.htmlChars, c.links, c.mail),
              c.expected)
        << zv::toUtf8(c.input);
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

TEST(HtmlToRtf, Cases) {
  const std::pair<StringView, StringView> cases[] = {
      {u"", u""},
      {u"l'&eacute;t&eacute;", u"l\\rquote\\'e9t\\'e9"},
      {u"a<BR>b<br>", u"a\\par b<br>"},
      {u"&#146;&#147;&#148;\"", u"\\rquote\\ldblquote\\rdblquote\\dblquote"},
      {u"{x}", u"\\{x\\}"},
      {u"&micro;µ&sect;&#152;&deg;°²¤&pound;£",
       u"\\'b5\\'b5\\'a7\\~\\'b0\\'b0\\'b2\\'a4\\'a3\\'a3"},
      {u"&lt;b&gt; &copy; &reg;", u"<b> © ®"},
      {u"&lt;BR&gt;", u"<BR>"},
      {u"a\\b", u"a\\b"},
      {u"&eacute &Eacute;", u"&eacute \\'c9"},
      {u"&nbsp;<P>&amp;lt;", u"&nbsp;<P>&amp;lt;"},
  };
  for (const auto& [input, expected] : cases)
    EXPECT_EQ(lib.ReplaceHTMLcharToRTFchar(String(input)), expected) << zv::toUtf8(input);
}

TEST(HtmlLateBound, CallsByName) {
  const zv::ObjectRef html = zv::createObject(u"ZivoviViruvov.HTMlib");
  EXPECT_EQ(zv::call(html, u"ReplaceTXTcharToHTMLchar", {zv::Variant(u"a < é")}).stringValue(),
            u"a < &eacute;");
  EXPECT_EQ(zv::call(html, u"ReplaceTXTcharToHTMLchar",
                     {zv::Variant(u"see http://a.b"),
                      zv::Arg(zv::Variant(int16_t(-1))).named(u"detectHREF")})
                .stringValue(),
            u"see  <A HREF=\"http://a.b\">http://a.b</A>");
  EXPECT_EQ(
      zv::call(html, u"ReplaceRTFcharToHTMLchar", {zv::Variant(u"caf\\'e9\\par ")}).stringValue(),
      u"caf&eacute;<BR> ");
  EXPECT_EQ(zv::call(html, u"ReplaceHTMLcharToRTFchar", {zv::Variant(u"l'&eacute;t&eacute;")})
                .stringValue(),
            u"l\\rquote\\'e9t\\'e9");

  // The overflow reaches the caller, with the class as its source.
  const auto failure = zvtest::caught([&] {
    zv::call(html, u"ReplaceTXTcharToHTMLchar",
             {zv::Variant(filler(40000) + u"@"), zv::Variant(false), zv::Variant(false),
              zv::Variant(true)});
  });
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->number(), zv::err::kOverflow);
  EXPECT_EQ(failure->source(), u"ZivoviViruvov.HTMlib");
  EXPECT_EQ(zv::pendingError().number, 0);
}

}  // namespace
