// RTF file to HTML file as it stood before the token scan worked on slices of the line: the
// oracle the fuzz target compares the library's output files with.
#include <array>
#include <utility>

#include "convert/lib_html_pages.h"
#include "convert/lib_rtf.h"
#include "frame/file_numbers.h"
#include "frame/varnix.h"
#include "runtime/errors.h"
#include "runtime/trap.h"
#include "text_oracle/rtf_file_to_html.h"

namespace zv::text_oracle {

namespace {

constexpr StringView kPardPlain = u"\\pard\\plain";

// Control words whose tokens are dropped: fonts, widths, numbering, language, colours,
// offsets, indents and tabs.
constexpr std::array<StringView, 8> kDroppedWords = {u"\\f",  u"\\w",  u"\\pn", u"\\lang",
                                                     u"\\cf", u"\\dn", u"\\ri", u"\\tx"};

bool holds(StringView text, StringView what) {
  return text.find(what) != StringView::npos;
}

// The escapes left in a line's output become their characters as the line is written.
String unescape(StringView text) {
  return replaceAll(replaceAll(replaceAll(text, u"\\}", u"}"), u"\\{", u"{"), u"\\\\", u"\\");
}

// The 0-based position the first converted line starts at, or npos for a line of the RTF
// header. A "\viewkind" line without a blank after it has no position to start from: it
// fails with error 5.
size_t cutPoint(StringView line) {
  if (const size_t at = line.find(kPardPlain); at != StringView::npos) return at;
  const size_t plain = line.find(u"\\plain");
  if (holds(line, u"\\pard") && plain != StringView::npos) {
    const size_t blank = line.find(u' ', plain);
    return blank != StringView::npos ? blank : plain;
  }
  if (const size_t view = line.find(u"\\viewkind"); view != StringView::npos) {
    const size_t blank = line.find(u' ', view);
    if (blank == StringView::npos) raise(err::kInvalidCall);
    return blank;
  }
  return StringView::npos;
}

// The body of an RTF file turned into HTML lines. The line being scanned is read from
// `position_` on; skipping a header group or collecting a heading's text may replace it
// with later input lines, so the scan always works on what is left of the current line.
class RtfToHtml {
 public:
  RtfToHtml(zv::HTMlib& lib, TextFile& in, TextFile& out) : lib_(lib), in_(in), out_(out) {}

  void run() {
    bool started = false;
    while (!in_.atEnd()) {
      String line = in_.readLine();
      if (!started) {
        const size_t cut = cutPoint(line);
        if (cut == StringView::npos) continue;
        line.erase(0, cut);
        started = true;
      }
      convertLine(line);
    }
    closeStates();
  }

 private:
  String nextLine() {
    return lib_.ReplaceRTFcharToHTMLchar(in_.readLine(), false, false, false, false);
  }

  void convertLine(StringView raw) {
    line_ = lib_.ReplaceRTFcharToHTMLchar(String(raw), false, false, false, false);
    position_ = 0;
    html_.clear();
    String token;
    while (position_ < line_.size()) {
      const char16_t c = line_[position_];
      if (!token.empty() && token != u"\\" && (c == u'\\' || c == u' ')) {
        // A blank ends its token and goes with it; a backslash starts the next one.
        if (c == u' ') {
          token += c;
          ++position_;
        }
        handle(std::exchange(token, String()));
        continue;
      }
      token += c;
      ++position_;
    }
    if (!token.empty() && trimView(token) != u"}") html_ += token;
    out_.writeLine(unescape(html_));
  }

  // Closing tags for the states set, each state cleared: bold, italic, underline, and with
  // `throughParagraph` centred and paragraph too.
  String closingTags(bool throughParagraph) {
    String tags;
    if (std::exchange(bold_, false)) tags += u"</B>";
    if (std::exchange(italic_, false)) tags += u"</I>";
    if (std::exchange(underline_, false)) tags += u"</U>";
    if (!throughParagraph) return tags;
    if (std::exchange(centred_, false)) tags += u"</CENTER>";
    if (std::exchange(paragraph_, false)) tags += u"</P>";
    return tags;
  }

  // After the last line: one line for each closing tag still due.
  void closeStates() {
    for (const auto& [state, tag] :
         {std::pair{&bold_, u"</B>"}, std::pair{&italic_, u"</I>"}, std::pair{&underline_, u"</U>"},
          std::pair{&centred_, u"</CENTER>"}, std::pair{&paragraph_, u"</P>"}})
      if (std::exchange(*state, false)) out_.writeLine(tag);
  }

  void handle(String token) {
    const StringView word = trimView(token);
    if (word == u"\\pard") {
      html_ += closingTags(true);
      paragraph_ = true;
      html_ += u"<P>";
    } else if (word == u"\\plain") {
      html_ += closingTags(false);
    } else if (word == u"\\b") {
      bold_ = true;
      html_ += u"<B>";
    } else if (word == u"\\b0") {
      bold_ = false;
      html_ += u"</B>";
    } else if (word == u"\\i") {
      italic_ = true;
      html_ += u"<I>";
    } else if (word == u"\\i0") {
      italic_ = false;
      html_ += u"</I>";
    } else if (word == u"\\ul") {
      underline_ = true;
      html_ += u"<U>";
    } else if (word == u"\\ulnone") {
      underline_ = false;
      html_ += u"</U>";
    } else if (word == u"\\qc") {
      centred_ = true;
      html_ += u"<CENTER>";
    } else if (word == u"\\qr" || word == u"\\qj") {
      if (std::exchange(centred_, false)) html_ += u"</CENTER>";
    } else if (word == u"\\}" || word == u"\\{" || word == u"\\\\") {
      html_ += replaceAll(token, word, word.substr(1));
    } else if (word == u"\\header" || word == u"\\footer" || word == u"\\footnote") {
      skipGroup();
    } else {
      // A "{" before a backslash has ended its own token already, so no token starts
      // with "{\"; nor can one hold "\pard\plain".
      handleOther(std::move(token));
    }
  }

  // Text words and the control words the table does not name.
  void handleOther(String token) {
    for (StringView dropped : kDroppedWords)
      if (holds(token, dropped)) return;
    if (holds(token, u"\\li")) {
      html_ += u"<DT>";
    } else if (!holds(token, u"\\s")) {
      html_ += token;
    } else {
      // A style: its level is the token's last character ("\s2" is a level 2 heading).
      const char16_t last = token.back();
      const int32_t level = last >= u'0' && last <= u'9' ? last - u'0' : 0;
      if (level >= 1) heading(std::move(token), level);
    }
  }

  // The header, footer or footnote group is dropped up to the first "}" found from here
  // on, reading further lines while none is; at the end of the input nothing more goes.
  void skipGroup() {
    size_t close = line_.find(u'}', position_);
    while (close == String::npos && !in_.atEnd()) {
      line_ = nextLine();
      position_ = 0;
      close = line_.find(u'}');
    }
    if (close != String::npos) position_ = close + 1;
  }

  // The output so far is written; the heading's text runs up to the next "\pard\plain".
  // Lines without one are passed over; when the current line is the input's last, nothing
  // is collected.
  void heading(String text, int32_t level) {
    out_.writeLine(unescape(html_));
    html_.clear();
    while (!in_.atEnd()) {
      const size_t at = line_.find(kPardPlain, position_);
      if (at != String::npos) {
        text.append(line_, position_, at - position_);
        position_ = at;
        break;
      }
      line_ = nextLine();
      position_ = 0;
    }
    html_ = HeadingHTML(RTFtoPlainText(text), level);
  }

  zv::HTMlib& lib_;
  TextFile& in_;
  TextFile& out_;
  String line_;
  size_t position_ = 0;
  String html_;
  bool bold_ = false, italic_ = false, underline_ = false, centred_ = false, paragraph_ = false;
};

}  // namespace

// Report and return, with a message for each step; the files are closed before the report.
bool RTFfileToHTMLfile(zv::HTMlib& lib, const String& RTFfile, const String& HTMLfile,
                       bool HeaderFooter) {
  bool result = false;
  if (isBlank(RTFfile) || isBlank(HTMLfile)) {
    ReportError(u"Unable to launch process RTF to HTML:\r\n" + RTFfile + u"\r\n" + HTMLfile, false);
    return false;
  }
  FileNumber in(OpenFileForInput(RTFfile, true, false));
  if (!in.isOpen()) {
    ReportError(u"Unable to open the file:\r\n" + RTFfile, false);
    return false;
  }
  FileNumber out(OpenFileForOutput(HTMLfile));
  if (!out.isOpen()) {
    in.close();
    ReportError(u"Unable to create the file:\r\n" + HTMLfile, false);
    return false;
  }
  onError(
      [&] {
        if (HeaderFooter) out.file().writeLine(HeaderHTML(u"", u"white"));
        RtfToHtml(lib, in.file(), out.file()).run();
        if (HeaderFooter) out.file().writeLine(u"</BODY>\r\n</HTML>");
        in.close();
        out.close();
        result = true;
      },
      [&] {
        in.close();
        out.close();
        ReportError(u"Error on file conversion process:\r\n" + RTFfile, false);
      });
  return result;
}

}  // namespace zv::text_oracle
