#include "convert/lib_rtf.h"

#include "convert/replace_scan.h"
#include "convert/text_passes.h"

namespace zv {

namespace {

using convert::ReplaceScan;

// The conversion runs as three scans. "\\" goes first and alone: the backslash it leaves
// starts every later rule, so "\\'e9" and "\\par " are converted too.
//
// Second scan: "\rquote ", "\lquote ", "\~". Each pattern is a backslash followed by text
// without one, so two occurrences never overlap; "'", "`" and " " form none of them after
// their own rule (the blank of "\~" can only complete "\rquote " or "\lquote ", whose rules
// come first).
//
// Third scan: the double quotes, the braces, the hex escapes, "\tab " and "\par ". The
// blank "\~" left above can complete "\ldblquote ", "\rdblquote ", "\tab " and "\par ", and
// the apostrophe of "\rquote " can complete a hex escape after a remaining backslash: that
// is why this scan comes after the second. Within it every pattern is again a backslash
// followed by text without one, and the replacements ('"', braces, accented letters, tab,
// CR LF) hold none of the characters the patterns need.
const ReplaceScan& quotesAndBlankScan() {
  static const ReplaceScan kScan({
      {u"\\rquote ", u"'"},
      {u"\\lquote ", u"`"},
      {u"\\~", u" "},
  });
  return kScan;
}

const ReplaceScan& escapeScan() {
  static const ReplaceScan kScan({
      {u"\\ldblquote ", u"\""}, {u"\\rdblquote ", u"\""}, {u"\\{", u"{"},   {u"\\}", u"}"},
      {u"\\'eb", u"ë"},         {u"\\'a3", u"£"},         {u"\\'e9", u"é"}, {u"\\'e8", u"è"},
      {u"\\'e0", u"à"},         {u"\\'f9", u"ù"},         {u"\\'ea", u"ê"}, {u"\\'ef", u"ï"},
      {u"\\'e7", u"ç"},         {u"\\'fb", u"û"},         {u"\\'f4", u"ô"}, {u"\\'f6", u"ö"},
      {u"\\'e4", u"ä"},         {u"\\'e2", u"â"},         {u"\\'ee", u"î"}, {u"\\'ed", u"í"},
      {u"\\'e1", u"á"},         {u"\\'e5", u"å"},         {u"\\'e3", u"ã"}, {u"\\'e6", u"æ"},
      {u"\\'f1", u"ñ"},         {u"\\'ec", u"ì"},         {u"\\'f3", u"ó"}, {u"\\'f2", u"ò"},
      {u"\\'f8", u"ø"},         {u"\\'f5", u"õ"},         {u"\\'df", u"ß"}, {u"\\'fe", u"þ"},
      {u"\\'fc", u"ü"},         {u"\\'fd", u"ý"},         {u"\\'ff", u"ÿ"}, {u"\\'a4", u"¤"},
      {u"\\'b2", u"²"},         {u"\\'b5", u"µ"},         {u"\\'f0", u"ð"}, {u"\\'a7", u"§"},
      {u"\\'b0", u"°"},         {u"\\'c9", u"É"},         {u"\\'ca", u"Ê"}, {u"\\'c8", u"È"},
      {u"\\'c0", u"À"},         {u"\\'cf", u"Ï"},         {u"\\'c7", u"Ç"}, {u"\\'db", u"Û"},
      {u"\\'cc", u"Ì"},         {u"\\'c6", u"Æ"},         {u"\\'c1", u"Á"}, {u"\\'c2", u"Â"},
      {u"\\'c5", u"Å"},         {u"\\'c4", u"Ä"},         {u"\\'c3", u"Ã"}, {u"\\'d0", u"Ð"},
      {u"\\'cb", u"Ë"},         {u"\\'cd", u"Í"},         {u"\\'ce", u"Î"}, {u"\\'d1", u"Ñ"},
      {u"\\'d8", u"Ø"},         {u"\\'d2", u"Ò"},         {u"\\'d4", u"Ô"}, {u"\\'d3", u"Ó"},
      {u"\\'d5", u"Õ"},         {u"\\'d6", u"Ö"},         {u"\\'da", u"Ú"}, {u"\\'dc", u"Ü"},
      {u"\\'d9", u"Ù"},         {u"\\'dd", u"Ý"},         {u"\\'de", u"Þ"}, {u"\\tab ", u"\t"},
      {u"\\par ", u"\r\n"},
  });
  return kScan;
}

}  // namespace

String RTFcharToTXT(StringView text) {
  convert::TextPasses passes(text);
  passes.replace(u"\\\\", u"\\").run(quotesAndBlankScan()).run(escapeScan());
  return passes.take();
}

String RTFtoPlainText(StringView text) {
  const String work = RTFcharToTXT(trimView(text));
  const size_t n = work.size();
  // Whether a blank is left after a position: once none is, the search can stop for good.
  const size_t lastBlank = work.rfind(u' ');
  String out;
  out.reserve(n);
  int64_t depth = 0;
  bool keep = true;
  char16_t previous = 0;  // none yet
  size_t i = 0;
  while (i < n) {
    const char16_t c = work[i++];
    if (c == u'\\') {
      keep = false;
      if (previous == u' ' && !out.empty()) out.pop_back();
      // The control word and the blank that ends it are skipped; without a blank the text
      // that follows stays hidden until something sets the keep flag.
      if (lastBlank != String::npos && lastBlank >= i) {
        i = work.find(u' ', i) + 1;
        keep = true;
      }
    } else if (c == u'{') {
      if (i < n && work[i] == u'\\') {
        ++depth;
        keep = false;
      } else {
        keep = true;
        out.push_back(c);
      }
    } else if (c == u'}') {
      --depth;
      keep = depth == 0;
    } else {
      if (c == u' ') keep = true;
      if (keep) out.push_back(c);
    }
    previous = c;
  }
  return out;
}

}  // namespace zv
