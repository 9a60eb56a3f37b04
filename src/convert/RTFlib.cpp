#include "convert/RTFlib.h"

#include <bitset>

#include "convert/lib_rtf.h"
#include "convert/replace_scan.h"

namespace zv::impl {

String RTFlib::ReplaceRTFcharToTXTchar(const String& theString) {
  return RTFcharToTXT(theString);
}

// One scan. Every pattern is a single character except CR LF, and no pattern starts with CR,
// so none is a prefix of another and occurrences never overlap. The replacements hold
// backslashes, letters, digits, apostrophes, braces and blanks: "\\" and "'" come first, and
// the braces of "\{" and "\}" are their own rules' patterns, so no replacement forms an
// occurrence of a rule listed after its own; none holds a tab, CR or LF.
String RTFlib::ReplaceTXTcharToRTFchar(const String& theString) {
  static const convert::ReplaceScan kRules({
      {u"\\", u"\\\\"}, {u"'", u"\\rquote "}, {u"`", u"\\lquote "}, {u"{", u"\\{"},
      {u"}", u"\\}"},   {u"ë", u"\\'eb"},     {u"£", u"\\'a3"},     {u"é", u"\\'e9"},
      {u"è", u"\\'e8"}, {u"à", u"\\'e0"},     {u"ù", u"\\'f9"},     {u"ê", u"\\'ea"},
      {u"ï", u"\\'ef"}, {u"ç", u"\\'e7"},     {u"û", u"\\'fb"},     {u"ô", u"\\'f4"},
      {u"ö", u"\\'f6"}, {u"ä", u"\\'e4"},     {u"â", u"\\'e2"},     {u"î", u"\\'ee"},
      {u"¤", u"\\'a4"}, {u"²", u"\\'b2"},     {u"µ", u"\\'b5"},     {u"ü", u"\\'fc"},
      {u"§", u"\\'a7"}, {u"°", u"\\'b0"},     {u"É", u"\\'c9"},     {u"Ê", u"\\'ca"},
      {u"È", u"\\'c8"}, {u"À", u"\\'c0"},     {u"Ï", u"\\'cf"},     {u"Ç", u"\\'c7"},
      {u"Û", u"\\'db"}, {u"\t", u"\\tab "},   {u"\r\n", u"\\par "},
  });
  return kRules.apply(theString);
}

String RTFlib::ReplaceRTFcharByUnderscore(const String& theString) {
  // The 81 characters that become "_"; "!" is among them, which leaves nothing for a
  // following "!" to "*" rule to change.
  static constexpr StringView kReplaced =
      u"éèàùêïçûôöë Û'ÉÊÈÀÏÇÙÚÜÝÁÂÃÄËÌÅÆÍÎÐÑÒÓÔÕÖæåðñòóúýÿãá"
      u",:;?()\\/!&@{}[]=-+|`~#%§µ.$\"\t";
  static const std::bitset<65536> kSet = [] {
    std::bitset<65536> set;
    for (char16_t c : kReplaced)
      set.set(c);
    return set;
  }();
  String out(theString);
  for (char16_t& c : out)
    if (kSet.test(c)) c = u'_';
  return out;
}

}  // namespace zv::impl
