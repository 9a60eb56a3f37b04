#include <iterator>
#include <vector>

#include "convert/HTMlib.h"
#include "convert/lib_html.h"
#include "convert/replace_scan.h"
#include "convert/text_passes.h"

namespace zv::impl {

namespace {

using convert::Replacement;
using convert::ReplaceScan;

// RTF hex escapes and their entities, in the order the conversions apply them.
constexpr Replacement kEscapeEntities[] = {
    {u"\\'c6", u"&AElig;"},  {u"\\'c1", u"&Aacute;"}, {u"\\'c2", u"&Acirc;"},
    {u"\\'c0", u"&Agrave;"}, {u"\\'c5", u"&Aring;"},  {u"\\'c3", u"&Atilde;"},
    {u"\\'c4", u"&Auml;"},   {u"\\'c7", u"&Ccedil;"}, {u"\\'d0", u"&ETH;"},
    {u"\\'c9", u"&Eacute;"}, {u"\\'ca", u"&Ecirc;"},  {u"\\'c8", u"&Egrave;"},
    {u"\\'cb", u"&Euml;"},   {u"\\'cd", u"&Iacute;"}, {u"\\'ce", u"&Icirc;"},
    {u"\\'cc", u"&Igrave;"}, {u"\\'cf", u"&Iuml;"},   {u"\\'d1", u"&Ntilde;"},
    {u"\\'d3", u"&Oacute;"}, {u"\\'d4", u"&Ocirc;"},  {u"\\'d2", u"&Ograve;"},
    {u"\\'d8", u"&Oslash;"}, {u"\\'d5", u"&Otilde;"}, {u"\\'d6", u"&Ouml;"},
    {u"\\'da", u"&Uacute;"}, {u"\\'de", u"&THORN;"},  {u"\\'db", u"&Ucirc;"},
    {u"\\'d9", u"&Ugrave;"}, {u"\\'dc", u"&Uuml;"},   {u"\\'dd", u"&Yacute;"},
    {u"\\'e1", u"&aacute;"}, {u"\\'e2", u"&acirc;"},  {u"\\'e6", u"&aelig;"},
    {u"\\'e0", u"&agrave;"}, {u"\\'e5", u"&aring;"},  {u"\\'e3", u"&atilde;"},
    {u"\\'e4", u"&auml;"},   {u"\\'e7", u"&ccedil;"}, {u"\\'e9", u"&eacute;"},
    {u"\\'ea", u"&ecirc;"},  {u"\\'e8", u"&egrave;"}, {u"\\'f0", u"&eth;"},
    {u"\\'eb", u"&euml;"},   {u"\\'ed", u"&iacute;"}, {u"\\'ee", u"&icirc;"},
    {u"\\'ec", u"&igrave;"}, {u"\\'ef", u"&iuml;"},   {u"\\'f1", u"&ntilde;"},
    {u"\\'f3", u"&oacute;"}, {u"\\'f4", u"&ocirc;"},  {u"\\'f2", u"&ograve;"},
    {u"\\'f8", u"&oslash;"}, {u"\\'f5", u"&otilde;"}, {u"\\'f6", u"&ouml;"},
    {u"\\'df", u"&szlig;"},  {u"\\'fe", u"&thorn;"},  {u"\\'fa", u"&uacute;"},
    {u"\\'fb", u"&ucirc;"},  {u"\\'f9", u"&ugrave;"}, {u"\\'fc", u"&uuml;"},
    {u"\\'fd", u"&yacute;"}, {u"\\'ff", u"&yuml;"},
};

// RTF to HTML, steps before the text conversion. First scan: the escape table, "\'8f" (è in
// the Mac code page, where "\'88" is à), "\'88", then the deletion of "\'9c", listed last.
// Each pattern is a backslash, an apostrophe and two characters, so none overlaps another;
// entities hold no backslash, and what the deletion joins can only form patterns of this
// scan, listed before it, which the chain would not convert either.
const ReplaceScan& escapeScan() {
  static const ReplaceScan kScan = [] {
    std::vector<Replacement> rules(std::begin(kEscapeEntities), std::end(kEscapeEntities));
    rules.push_back({u"\\'8f", u"&egrave;"});
    rules.push_back({u"\\'88", u"&agrave;"});
    rules.push_back({u"\\'9c", u""});
    return ReplaceScan(std::move(rules));
  }();
  return kScan;
}

// Second scan, after the deletion above (which can join "\" and "~", "\r" and "quote", ...):
// a backslash and text without one in each pattern, none a prefix of another, and
// replacements without a backslash.
const ReplaceScan& wordScan() {
  static const ReplaceScan kScan({
      {u"\\~", u"&#152;"},
      {u"\\'a3", u"&pound;"},
      {u"\\'b5", u"&micro;"},
      {u"\\'a7", u"&sect;"},
      {u"\\'b0", u"&deg;"},
      {u"\\'b2", u"²"},
      {u"\\'a4", u"¤"},
      {u"\\rquote", u"&#146;"},
      {u"\\ldblquote", u"&#147;"},
      {u"\\rdblquote", u"&#148;"},
      {u"\\'ab", u"&#147;"},
      {u"\\'bb", u"&#148;"},
  });
  return kScan;
}

// After the text conversion: "\par ", "\page", then the deletion of "\tab", listed last.
// The replacements start with "<" and hold no backslash.
const ReplaceScan& breakScan() {
  static const ReplaceScan kScan({
      {u"\\par ", u"<BR> "},
      {u"\\page", u"<P><HR></P>"},
      {u"\\tab", u""},
  });
  return kScan;
}

// "\*" is deleted alone: deleting "\tab" can form one ("\\tab*"), and deleting it can form
// the bullets below ("{\*\'b7}" gives "{\'b7}").
//
// Bullets: "{\'b7}" overlaps "\'b7" but starts first and is listed first.
const ReplaceScan& bulletScan() {
  static const ReplaceScan kScan({
      {u"{\\'b7}", u"<DD><LI>"},
      {u"\\'b7", u"<DD><LI>"},
      {u"\\bullet", u"<DD><LI>"},
  });
  return kScan;
}

// The header a rich text box writes. Each deletion may join text into a later fragment, so
// each is a pass of its own; the second " Courier;}} " removes those the "\fs24" deletion
// forms.
constexpr StringView kHeaderFragments[] = {
    u"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033",
    u"\\uc1 }",
    u"{\\fonttbl{\\f0\\fnil\\fcharset0",
    u" Courier;}} ",
    u"\\viewkind4\\uc1\\pard\\f0\\fs24",
    u" Courier;}} ",
    u"\\viewkind4\\uc1\\pard\\f0\\fs17",
};

// HTML to RTF in one scan. Patterns: "'", the entities (each a "&", no other "&", and a
// final ";"), "<BR>", and single characters; none is a prefix of another and none overlaps
// another. The replacements are backslash sequences, "<", ">", "©" and "®": no later
// pattern holds a backslash, "<", "©" or "®", and the ">" that "&gt;" leaves could only
// complete "<BR>", listed before it. "&agrave;" meets "\'e0" first.
const ReplaceScan& htmlToRtfScan() {
  static const ReplaceScan kScan = [] {
    std::vector<Replacement> rules = {{u"'", u"\\rquote"}};
    for (const Replacement& r : kEscapeEntities)
      rules.push_back({r.to, r.from});
    const Replacement rest[] = {
        {u"<BR>", u"\\par "},
        {u"&#146;", u"\\rquote"},
        {u"&#147;", u"\\ldblquote"},
        {u"&#148;", u"\\rdblquote"},
        {u"\"", u"\\dblquote"},
        {u"}", u"\\}"},
        {u"{", u"\\{"},
        {u"&micro;", u"\\'b5"},
        {u"µ", u"\\'b5"},
        {u"&sect;", u"\\'a7"},
        {u"&#152;", u"\\~"},
        {u"&deg;", u"\\'b0"},
        {u"°", u"\\'b0"},
        {u"²", u"\\'b2"},
        {u"¤", u"\\'a4"},
        {u"&pound;", u"\\'a3"},
        {u"£", u"\\'a3"},
        {u"&lt;", u"<"},
        {u"&gt;", u">"},
        {u"&copy;", u"©"},
        {u"&reg;", u"®"},
    };
    rules.insert(rules.end(), std::begin(rest), std::end(rest));
    return ReplaceScan(std::move(rules));
  }();
  return kScan;
}

}  // namespace

String HTMlib::ReplaceTXTcharToHTMLchar(const String& theString, bool detectHTMLchar,
                                        bool detectHREF, bool detectMAIL) {
  return TXTcharToHTML(theString, detectHTMLchar, detectHREF, detectMAIL);
}

String HTMlib::ReplaceRTFcharToHTMLchar(const String& theString, bool withRTFheader,
                                        bool detectHTMLchar, bool detectHREF, bool detectMAIL) {
  convert::TextPasses passes(theString);
  passes.run(escapeScan()).run(wordScan());
  TXTcharToHTML(passes, detectHTMLchar, detectHREF, detectMAIL);
  passes.run(breakScan()).erase(u"\\*").run(bulletScan());
  if (withRTFheader)
    for (StringView fragment : kHeaderFragments)
      passes.erase(fragment);
  return passes.take();
}

String HTMlib::ReplaceHTMLcharToRTFchar(const String& theString) {
  if (theString.empty()) return {};
  return htmlToRtfScan().apply(theString);
}

}  // namespace zv::impl
