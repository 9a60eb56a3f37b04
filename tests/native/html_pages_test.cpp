// HTMlib's page writing: the page header file, the header and heading blocks, system colours,
// and RTF files converted to HTML files byte for byte, failures included. Colours and file
// links from literals are rows of tests/cases/text.tsv.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "api/library.h"
#include "convert/HTMlib.h"
#include "convert/lib_html_pages.h"
#include "frame/classes.h"
#include "frame/file_numbers.h"
#include "runtime/ansi.h"
#include "runtime/errors.h"
#include "runtime/object.h"
#include "test_support.h"

using zv::Arg;
using zv::String;
using zv::StringView;
using zv::Variant;
using zvtest::readBytes;
using zvtest::writeBytes;

namespace {

// An RTF file as a word processor saves it: ANSI bytes, CR LF after every line.
std::string rtf(const std::vector<std::string_view>& lines) {
  std::string bytes;
  for (std::string_view line : lines)
    bytes.append(line).append("\r\n");
  return bytes;
}

// The header block of a converted file, as written (with its CR LF).
std::string headerBlock(const std::string& title = "", const std::string& color = "white") {
  return "<!-- Page g\xE9n\xE9r\xE9"
         "e par ZivoviViruvov " +
         std::to_string(zv::kLibraryMajor) + "." + std::to_string(zv::kLibraryMinor) +
         " -->\r\n<!-- DOCTYPE HTML SYSTEM \"html.dtd\" -->\r\n<HTML><HEAD><TITLE>" + title +
         "</TITLE></HEAD>\r\n<BODY BGCOLOR=\"" + color + "\">\r\n";
}

const std::string kFooter = "</BODY>\r\n</HTML>\r\n";

class HtmlPagesTest : public testing::Test {
 protected:
  void SetUp() override { zv::clearPendingError(); }
  void TearDown() override {
    // Nothing a call opened may stay open.
    EXPECT_EQ(zv::openFileCount(), 0u);
    EXPECT_EQ(zv::pendingError().number, 0);
    EXPECT_TRUE(ui_.boxes.empty());
  }

  bool convert(const std::string& rtfBytes, bool headerFooter = true) {
    writeBytes(dir_.path("in.rtf"), rtfBytes);
    return lib_.RTFfileToHTMLfile(dir_.u("in.rtf"), dir_.u("out.htm"), headerFooter);
  }
  std::string output() const { return readBytes(dir_.path("out.htm")); }
  // Each ReportError call resets the mouse pointer once.
  size_t reports() const { return ui_.pointers.size(); }

  zvtest::TempDir dir_;
  zvtest::RecordingUserInterface ui_;
  zv::impl::HTMlib lib_;
};

// The file WriteHeaderHTML writes, from its title and body lines.
std::string headerPage(const std::string& titleLine, const std::string& bodyLine) {
  return "<HTML>\r\n<HEAD>\r\n" + titleLine +
         "\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\r\n"
         "</HEAD>\r\n" +
         bodyLine + "\r\n";
}

TEST_F(HtmlPagesTest, WriteHeaderHTML) {
  const struct {
    StringView title, background, text;
    bool print;
    StringView image;
    std::string titleLine, bodyLine;
  } cases[] = {
      // The ampersand stays; accents become entities, CR LF a break.
      {u"\u00C9t\u00E9 & <1>\r\n2", u"#FFFFCC", u"navy", false, u"",
       "<TITLE>&Eacute;t&eacute; & <1><BR>2</TITLE>", "<body bgcolor=\"#FFFFCC\" text=\"navy\" >"},
      {u"T", u"white", u"black", true, u"img/fond.gif", "<TITLE>T</TITLE>",
       "<body bgcolor=\"white\" text=\"black\"  background=\"img/fond.gif\" "
       "onLoad=\"window.print()\">"},
      // A blank image name adds no attribute; a padded one is written as given.
      {u"T", u"", u"", false, u"   ", "<TITLE>T</TITLE>", "<body bgcolor=\"\" text=\"\" >"},
      {u"T", u"white", u"black", false, u" a.gif", "<TITLE>T</TITLE>",
       "<body bgcolor=\"white\" text=\"black\"  background=\" a.gif\" >"},
  };
  for (const auto& c : cases) {
    writeBytes(dir_.path("page.htm"), "old content that must go");
    EXPECT_TRUE(lib_.WriteHeaderHTML(dir_.u("page.htm"), String(c.title), String(c.background),
                                     String(c.text), c.print, String(c.image)));
    EXPECT_EQ(readBytes(dir_.path("page.htm")), headerPage(c.titleLine, c.bodyLine))
        << zv::toUtf8(c.title);
  }
  // (A blank name gives False: rows of tests/cases/text.tsv.) Nothing reported so far.
  EXPECT_EQ(reports(), 0u);
  // A file that cannot be created: the opener's own report only.
  EXPECT_FALSE(lib_.WriteHeaderHTML(dir_.u("nowhere/page.htm")));
  EXPECT_EQ(reports(), 1u);
  EXPECT_FALSE(std::filesystem::exists(dir_.path("nowhere")));
  std::filesystem::create_directory(dir_.path("folder"));
  EXPECT_FALSE(lib_.WriteHeaderHTML(dir_.u("folder")));
  EXPECT_EQ(reports(), 2u);
  EXPECT_TRUE(std::filesystem::is_directory(dir_.path("folder")));
}

TEST_F(HtmlPagesTest, HeaderHTMLAndHeadingHTMLBlocks) {
  EXPECT_EQ(zv::toAnsi(zv::HeaderHTML(u"   ", u"red")) + "\r\n", headerBlock("", "red"));
  // Converted without link detection; the blanks around it stay.
  EXPECT_EQ(zv::toAnsi(zv::HeaderHTML(u" \u00C9t\u00E9 & co http://x.y ", u"#FFFFFF")) + "\r\n",
            headerBlock(" &Eacute;t&eacute; & co http://x.y ", "#FFFFFF"));

  const struct {
    StringView text;
    int32_t level;
    StringView expected;
  } cases[] = {
      {u"\u00C9t\u00E9", 9, u"<A NAME=\"_T_\"><BR><H6>&Eacute;t&eacute;</H6>\r\n"},
      {u"Intro", 0, u"<A NAME=\"INTRO\"><BR><H1>Intro</H1>\r\n"},
      {u"Chapter 2, a-b", 2, u"<A NAME=\"CHAPTER_2__A_B\"><BR><H2>Chapter 2, a-b</H2>\r\n"},
      // No "<" escaping: the heading text takes the entities only.
      {u"x<y \u00A9", 3, u"<A NAME=\"X_Y_\u00A9\"><BR><H3>x<y &copy;</H3>\r\n"},
      {u"", 4, u"<A NAME=\"\"><BR><H4></H4>\r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(zv::HeadingHTML(c.text, c.level), c.expected) << zv::toUtf8(c.text) << c.level;
}

constexpr int32_t rgb(int32_t r, int32_t g, int32_t b) {
  return r | (g << 8) | (b << 16);
}
constexpr int32_t systemColor(int32_t index) {
  return int32_t(0x80000000u | uint32_t(index));
}

TEST_F(HtmlPagesTest, ColorToWebRGB) {
  const struct {
    int32_t color;
    int32_t after;  // the caller's variable after the call
    int32_t web;
  } cases[] = {
      // Each byte rounds to the nearest of 0, 51, ..., 255.
      {rgb(25, 76, 229), rgb(25, 76, 229), rgb(0, 51, 204)},
      {rgb(26, 77, 230), rgb(26, 77, 230), rgb(51, 102, 255)},
      // A top byte without the system flag is dropped from the result only.
      {0x0100FF00, 0x0100FF00, rgb(0, 255, 0)},
      // System colours: the caller's variable takes the colour itself.
      {systemColor(1), rgb(58, 110, 165), rgb(51, 102, 153)},  // COLOR_BACKGROUND
      {-2147483633, rgb(212, 208, 200), rgb(204, 204, 204)},   // COLOR_BTNFACE
      // No such system colour: 0.
      {systemColor(31), 0, 0},
  };
  for (const auto& c : cases) {
    int32_t color = c.color;
    EXPECT_EQ(lib_.ColorToWebRGB(color), c.web) << c.color;
    EXPECT_EQ(color, c.after) << c.color;
  }
}

// Late-bound: the arguments left out take their defaults, a colour writes back by reference,
// Byte variables pass by reference.
TEST_F(HtmlPagesTest, LateBound) {
  zv::ObjectRef html = zv::createObject(u"ZivoviViruvov.HTMlib");
  EXPECT_TRUE(zv::call(html, u"WriteHeaderHTML",
                       {Variant(dir_.u("print.htm")), Arg(Variant(true)).named(u"printOnLoad")})
                  .booleanValue());
  EXPECT_EQ(readBytes(dir_.path("print.htm")),
            headerPage("<TITLE></TITLE>",
                       "<body bgcolor=\"white\" text=\"black\" onLoad=\"window.print()\">"));
  Variant color(int32_t{-2147483633});
  EXPECT_EQ(zv::call(html, u"ColorToWebRGB", {Arg::ref(color)}).longValue(), rgb(204, 204, 204));
  EXPECT_EQ(color.longValue(), rgb(212, 208, 200));
  Variant r(uint8_t{10}), g(uint8_t{0}), b(uint8_t{255});
  EXPECT_EQ(
      zv::call(html, u"RGBtoHTMLColor", {Arg::ref(r), Arg::ref(g), Arg::ref(b)}).stringValue(),
      u"#0A00FF");
  writeBytes(dir_.path("in.rtf"), rtf({R"(\pard\plain \i caf\'e9\i0)"}));
  EXPECT_TRUE(zv::call(html, u"RTFfileToHTMLfile",
                       {Variant(dir_.u("in.rtf")), Variant(dir_.u("out.htm")),
                        Arg(Variant(false)).named(u"HeaderFooter")})
                  .booleanValue());
  EXPECT_EQ(output(), "<P><I>caf&eacute;\\i0\r\n</I>\r\n</P>\r\n");
  EXPECT_EQ(reports(), 0u);
}

TEST_F(HtmlPagesTest, RtfFileToHtmlFileDocuments) {
  const struct {
    const char* what;
    std::vector<std::string_view> lines;
    bool headerFooter;
    std::string body;  // between the header and the footer when they are written
  } documents[] = {
      {"bold word",
       {R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}})", R"(\pard\plain \b Hi\b0  there)", "}"},
       true,
       "<P><B>Hi</B> there\r\n\r\n</P>\r\n"},
      // The body starts after the first blank that follows "\viewkind", so the formatting
      // before it is lost; "\par" without a blank stays as it is.
      {"WordPad",
       {
           R"({\rtf1\ansi\ansicpg1252\deff0\deflang1036{\fonttbl{\f0\fswiss\fcharset0 Arial;}})",
           R"({\colortbl ;\red255\green0\blue0;})",
           R"(\viewkind4\uc1\pard\qc\b\f0\fs28 Caf\'e9 cr\'e8me\b0\par)",
           R"(\pard\cf1\i Rouge\i0\cf0  et \ul soulign\'e9\ulnone  fin\par)",
           "\\bullet  d\xE9j\xE0 vu \x93ok\x94\\par",
           "}",
       },
       true,
       " Caf&eacute; cr&egrave;me</B>\\par\r\n"
       "<P><I>Rouge</I> et <U>soulign&eacute;</U> fin\\par\r\n"
       "<DD><LI>  d&eacute;j&agrave; vu \x93ok\x94\\par\r\n"
       "\r\n"
       "</P>\r\n"},
      // Header group skipped, a heading whose text runs to the next "\pard\plain",
      // paragraphs, centring closed at the end.
      {"Word",
       {
           R"({\rtf1\ansi\ansicpg1252\uc1 \deff0\deflang1036{\fonttbl{\f0\froman\fcharset0 Times New Roman;}{\f1\fswiss\fcharset0 Arial;}})",
           R"({\colortbl;\red0\green0\blue0;\red255\green0\blue0;})",
           R"({\stylesheet{\fs20 \snext0 Normal;}{\s1\sb240\keepn \b\f1\fs28 \sbasedon0 \snext0 heading 1;}})",
           R"(\widowctrl\ftnbj\viewkind1\viewscale100 \sectd )",
           R"({\header \pard\plain \s15\qc\fs20 {Ent\'eate de page\par }})",
           R"(\pard\plain \s1\sb240\keepn \b\f1\fs28 {Premi\'e8re partie\par }\pard\plain \fs20 {Texte \b gras\b0  et \i italique\i0 .\par })",
           R"(\pard \qc {Centr\'e9 \'a9 2024\par })",
           "}",
       },
       true,
       " \r\n"
       "{\r\n"
       "<P>\r\n"
       "<A NAME=\"_PREMI_EGRAVE_RE_PARTIE_BR__\"><BR><H1>{Premi&egrave;re partie<BR> </H1>\r\n"
       "</P><P>{Texte <B>gras</B> et <I>italique</I>.<BR> \r\n"
       "</P><P><CENTER>{Centr&eacute; \\'a9 2024<BR> \r\n"
       "\r\n"
       "</CENTER>\r\n"
       "</P>\r\n"},
      // A rich text box's file: escaped braces and backslashes, a bullet paragraph whose
      // numbering words are dropped, "\li" as a definition term.
      {"rich text box",
       {
           R"({\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fnil\fcharset0 Courier;}})",
           R"(\viewkind4\uc1\pard\f0\fs17 Prix : 5 \'a3 \{net\}\par)",
           R"({\pntext\f0\'b7\tab}{\*\pn\pnlvlblt\pnf0\pnindent0{\pntxtb\'b7}}\fi-200\li200 Un \ul deux\ulnone\par )",
           R"(\pard\qr C:\\dossier\\notes.txt\tab x\par)",
           "}",
       },
       false,
       " Prix : 5 &pound; {net}\\par\r\n"
       "{<DT>Un <U>deux\\ulnone<BR> \r\n"
       "</U><P>C:\\dossier\\notes.txt x\\par\r\n"
       "\r\n"
       "</P>\r\n"},
      // Heading levels come from the style token's last character: 7 to 9 are written as 6,
      // a token ended by a blank or a letter is dropped. The output so far goes out as a line
      // of its own first. A heading on the last line gets no text.
      {"heading levels",
       {
           R"(\pard\plain \s8 {avant}\pard\plain \s9\b {Neuf\par }\pard\plain \sa120 x)",
           R"(\pard\plain \s2\sb60 {Fin})",
       },
       false,
       "<P>{avant}</P><P>\r\n"
       "<A NAME=\"_NEUF_BR__\"><BR><H6>{Neuf<BR> </H6>\r\n</P><P>x\r\n"
       "</P><P>\r\n"
       "<A NAME=\"\"><BR><H2></H2>\r\n{Fin}\r\n"
       "</P>\r\n"},
      // A footer group read over two lines and dropped up to its first "}", a header group
      // left open at the end of the input (what follows it stays), "\plain" closing bold,
      // italic and underline, "\qj" and "\pard" closing the centring, escaped characters.
      {"groups and alignment",
       {
           R"(\pard\plain \qc\ul Titre {\footer \pard\plain {Pied)",
           R"(de page\par }}\qj suite \b\i gras \plain fin \\ \{ \})",
           R"(\qc {\b x}{\footnote \pard\plain y}z\pard a)",
           R"({\header \pard\plain x)",
       },
       false,
       "<P><CENTER><U>Titre {}</CENTER>suite <B><I>gras </B></I></U>fin \\ { }\r\n"
       "<CENTER>{<B>x}{z</B></CENTER></P><P>a\r\n"
       "{</P><P>x\r\n"
       "</P>\r\n"},
      // No body: the header and footer only.
      {"no body", {R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}})"}, true, ""},
      {"empty", {}, true, ""},
  };
  for (const auto& d : documents) {
    ASSERT_TRUE(convert(rtf(d.lines), d.headerFooter)) << d.what;
    EXPECT_EQ(output(), d.headerFooter ? headerBlock() + d.body + kFooter : d.body) << d.what;
  }
  EXPECT_EQ(reports(), 0u);
}

TEST_F(HtmlPagesTest, RtfFileToHtmlFileFailures) {
  // Blank names: one report, nothing opened or created.
  EXPECT_FALSE(lib_.RTFfileToHTMLfile(u"  ", dir_.u("out.htm")));
  EXPECT_FALSE(lib_.RTFfileToHTMLfile(dir_.u("in.rtf"), u""));
  EXPECT_EQ(reports(), 2u);
  EXPECT_FALSE(std::filesystem::exists(dir_.path("out.htm")));

  // A missing input file: the opener's report and the method's own.
  EXPECT_FALSE(lib_.RTFfileToHTMLfile(dir_.u("missing.rtf"), dir_.u("out.htm")));
  EXPECT_EQ(reports(), 4u);
  EXPECT_FALSE(std::filesystem::exists(dir_.path("out.htm")));

  // An output folder that does not exist: the input is closed again.
  writeBytes(dir_.path("in.rtf"), rtf({R"(\pard\plain x)"}));
  EXPECT_FALSE(lib_.RTFfileToHTMLfile(dir_.u("in.rtf"), dir_.u("nowhere/out.htm")));
  EXPECT_EQ(reports(), 6u);
  EXPECT_FALSE(std::filesystem::exists(dir_.path("nowhere")));
  EXPECT_EQ(readBytes(dir_.path("in.rtf")), "\\pard\\plain x\r\n");

  // A failure during the conversion leaves the page that was there, never a part of the new
  // one: here the body would start after a blank following "\viewkind" and there is none.
  const std::string document = rtf({R"({\rtf1\ansi{\fonttbl{\f0 Arial;}})",
                                    R"(\viewkind4\uc1\pard\f0\fs20\par)", "Texte\\par", "}"});
  writeBytes(dir_.path("out.htm"), "old page");
  EXPECT_FALSE(convert(document));
  EXPECT_EQ(output(), "old page");
  EXPECT_EQ(reports(), 7u);
  std::filesystem::remove(dir_.path("out.htm"));
  EXPECT_FALSE(convert(document, false));
  EXPECT_EQ(output(), "");
  EXPECT_EQ(reports(), 8u);
}

}  // namespace
