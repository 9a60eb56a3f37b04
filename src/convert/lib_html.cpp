#include "convert/lib_html.h"

#include <algorithm>
#include <array>
#include <vector>

#include "convert/replace_scan.h"
#include "convert/text_passes.h"
#include "convert/unit_search.h"
#include "runtime/errors.h"

namespace zv {

namespace {

using convert::Replacement;
using convert::ReplaceScan;

// The library's HTML vocabulary. No entity holds a character of the table.
constexpr Replacement kEntities[] = {
    {u"©", u"&copy;"},   {u"®", u"&reg;"},    {u"£", u"&pound;"},  {u"°", u"&deg;"},
    {u"~", u"&#152;"},   {u"œ", u"&#156;"},   {u"‰", u"&#137;"},   {u"™", u"&#153;"},
    {u"¥", u"&yen;"},    {u"¢", u"&cent;"},   {u"€", u"&#8364;"},  {u"µ", u"&micro;"},
    {u"ø", u"&oslash;"}, {u"÷", u"&divide;"}, {u"¿", u"&iquest;"}, {u"ƒ", u"&#131;"},
    {u"¡", u"&iexcl;"},  {u"¬", u"&not;"},    {u"Æ", u"&AElig;"},  {u"Á", u"&Aacute;"},
    {u"Â", u"&Acirc;"},  {u"À", u"&Agrave;"}, {u"Å", u"&Aring;"},  {u"Ã", u"&Atilde;"},
    {u"Ä", u"&Auml;"},   {u"Ç", u"&Ccedil;"}, {u"Ð", u"&ETH;"},    {u"É", u"&Eacute;"},
    {u"Ê", u"&Ecirc;"},  {u"È", u"&Egrave;"}, {u"Ë", u"&Euml;"},   {u"Í", u"&Iacute;"},
    {u"Î", u"&Icirc;"},  {u"Ì", u"&Igrave;"}, {u"Ï", u"&Iuml;"},   {u"Ñ", u"&Ntilde;"},
    {u"Ó", u"&Oacute;"}, {u"Ô", u"&Ocirc;"},  {u"Ò", u"&Ograve;"}, {u"Ø", u"&Oslash;"},
    {u"Õ", u"&Otilde;"}, {u"Ö", u"&Ouml;"},   {u"Þ", u"&THORN;"},  {u"Ú", u"&Uacute;"},
    {u"Û", u"&Ucirc;"},  {u"Ù", u"&Ugrave;"}, {u"Ü", u"&Uuml;"},   {u"Ý", u"&Yacute;"},
    {u"á", u"&aacute;"}, {u"â", u"&acirc;"},  {u"æ", u"&aelig;"},  {u"à", u"&agrave;"},
    {u"å", u"&aring;"},  {u"ã", u"&atilde;"}, {u"ä", u"&auml;"},   {u"ç", u"&ccedil;"},
    {u"é", u"&eacute;"}, {u"ê", u"&ecirc;"},  {u"è", u"&egrave;"}, {u"ð", u"&eth;"},
    {u"ë", u"&euml;"},   {u"í", u"&iacute;"}, {u"î", u"&icirc;"},  {u"ì", u"&igrave;"},
    {u"ï", u"&iuml;"},   {u"ñ", u"&ntilde;"}, {u"ó", u"&oacute;"}, {u"ô", u"&ocirc;"},
    {u"ò", u"&ograve;"}, {u"õ", u"&otilde;"}, {u"ö", u"&ouml;"},   {u"ß", u"&szlig;"},
    {u"þ", u"&thorn;"},  {u"ú", u"&uacute;"}, {u"û", u"&ucirc;"},  {u"ù", u"&ugrave;"},
    {u"ü", u"&uuml;"},   {u"ý", u"&yacute;"}, {u"ÿ", u"&yuml;"},
};

constexpr Replacement kHtmlChars[] = {
    {u"<", u"&lt;"},
    {u">", u"&gt;"},
    {u"\"", u"&#147;"},
    {u"'", u"&#146;"},
};

constexpr Replacement kLineBreak = {u"\r\n", u"<BR>"};

constexpr StringView kLinkPrefixes[] = {u"http://", u"https://", u"ftp://"};

// "<", ">", quotes, the entity table and, when no link or address is looked for, CR LF, in
// one scan: every pattern is one character except CR LF, the entities are made of "&", "#",
// ";", ASCII letters and digits, which no rule looks for, and nothing but CR LF holds a CR
// or LF. With detection on, CR LF waits until the anchors are in, since the 16-bit
// positions count the CR LF pairs as two characters.
ReplaceScan makeCharacterScan(bool htmlChars, bool lineBreaks) {
  std::vector<Replacement> rules;
  if (htmlChars) rules.insert(rules.end(), std::begin(kHtmlChars), std::end(kHtmlChars));
  rules.insert(rules.end(), std::begin(kEntities), std::end(kEntities));
  if (lineBreaks) rules.push_back(kLineBreak);
  return ReplaceScan(std::move(rules));
}

const ReplaceScan& characterScan(bool htmlChars, bool lineBreaks) {
  static const std::array<ReplaceScan, 4> kScans = {
      makeCharacterScan(false, false), makeCharacterScan(false, true),
      makeCharacterScan(true, false), makeCharacterScan(true, true)};
  return kScans[(htmlChars ? 2 : 0) + (lineBreaks ? 1 : 0)];
}

// A link ends before the first blank, "<", CR or LF.
bool endsLink(char16_t c) {
  return c == u' ' || c == u'<' || c == kCr || c == kLf;
}
// Walking back from "@", an address starts after a blank, ">", CR or LF.
bool beforeAddress(char16_t c) {
  return c == u' ' || c == u'>' || c == kCr || c == kLf;
}

// The end (exclusive, 0-based) of the link whose first character is at `start`.
size_t linkEnd(StringView text, size_t start) {
  size_t end = start + 1;
  while (end < text.size() && !endsLink(text[end]))
    ++end;
  return std::min(end, text.size());
}

void appendLinkAnchor(String& out, StringView link) {
  out.append(u" <A HREF=\"").append(link).append(u"\">").append(link).append(u"</A>");
}

constexpr size_t kLinkAnchorExtra = 16;  // " <A HREF=\"" + "\">" + "</A>"

// Every occurrence of `prefix` wrapped as InsertHREF does, into `out`; false when
// there is none. The text before the current search position is never read again, so each
// link costs its own length. `position` is the routine's 1-based, 16-bit search position in
// the text as it stands.
bool wrapLinks(StringView text, StringView prefix, String& out) {
  size_t found = convert::findText(text, prefix);
  if (found == StringView::npos) return false;
  out.clear();
  out.reserve(text.size() + text.size() / 4);
  size_t copied = 0;  // text[0, copied) is in `out`
  for (; found != StringView::npos; found = convert::findText(text, prefix, copied + 1)) {
    const int16_t position = toInteger16(int64_t(out.size() + (found - copied)) + 1);
    const size_t end = linkEnd(text, found);
    const StringView link = trimView(text.substr(found, end - found));
    out.append(text.substr(copied, found - copied));
    appendLinkAnchor(out, link);
    toInteger16(int64_t(position) + int64_t(2 * link.size() + kLinkAnchorExtra) + 1);
    // The moved position is the second character after the anchor: text[end + 1].
    copied = end;
  }
  out.append(text.substr(copied));
  return true;
}

// Mail addresses wrapped until the first candidate without a proper ".", into `out`; false when
// there is none.
bool wrapMail(StringView text, String& out) {
  out.clear();
  size_t copied = 0;
  for (;;) {
    // The search position is the last character of the anchor before (">"), or 1.
    const size_t at = convert::findUnit(text, u'@', copied);
    if (at == text.size()) break;
    toInteger16(int64_t(out.size() + (at - copied)) + 1);
    // The walk back stops at the end of the anchor before, a ">", at the latest.
    size_t start = at;
    while (start > copied && !beforeAddress(text[start - 1]))
      --start;
    size_t end = start;
    while (end < text.size() && !endsLink(text[end]))
      ++end;
    const StringView address = text.substr(start, end - start);
    const size_t dot = address.find(u'.');
    if (dot == StringView::npos || dot == 0) break;
    if (copied == 0) out.reserve(text.size() + text.size() / 4);
    out.append(text.substr(copied, start - copied));
    out.append(u" <A HREF=\"mailto:")
        .append(address)
        .append(u"\">")
        .append(address)
        .append(u"</A>");
    toInteger16(int64_t(out.size()));
    copied = end;
  }
  if (copied == 0) return false;
  out.append(text.substr(copied));
  return true;
}

}  // namespace

void TXTcharToHTML(convert::TextPasses& passes, bool detectHTMLchar, bool detectHREF,
                   bool detectMAIL) {
  const bool detecting = detectHREF || detectMAIL;
  passes.run(characterScan(detectHTMLchar, !detecting));
  if (detectHREF)
    for (StringView prefix : kLinkPrefixes)
      passes.run([prefix](StringView text, String& out) { return wrapLinks(text, prefix, out); });
  if (detectMAIL) passes.run(wrapMail);
  if (detecting) passes.replace(kLineBreak.from, kLineBreak.to);
}

String TXTcharToHTML(StringView text, bool detectHTMLchar, bool detectHREF, bool detectMAIL) {
  convert::TextPasses passes(text);
  TXTcharToHTML(passes, detectHTMLchar, detectHREF, detectMAIL);
  return passes.take();
}

String InsertHREF(StringView text, int16_t& position) {
  if (position < 1) raise(err::kInvalidCall);
  const size_t start = std::min<size_t>(size_t(position) - 1, text.size());
  const size_t end = linkEnd(text, start);
  const StringView link = trimView(text.substr(start, end - start));
  String out;
  out.reserve(text.size() + 2 * link.size() + kLinkAnchorExtra);
  out.append(text.substr(0, start));
  appendLinkAnchor(out, link);
  out.append(text.substr(end));
  position = toInteger16(int64_t(position) + int64_t(2 * link.size() + kLinkAnchorExtra) + 1);
  return out;
}

}  // namespace zv
