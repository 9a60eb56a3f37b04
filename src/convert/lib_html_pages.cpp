#include "convert/lib_html_pages.h"

#include <algorithm>

#include "api/StrChr.h"
#include "api/library.h"
#include "convert/lib_html.h"
#include "runtime/convert.h"

namespace zv {

namespace {

// "49.0": the version the build gives the library, in the form a page comment shows it.
String libraryVersion() {
  return longToString(kLibraryMajor) + u"." + longToString(kLibraryMinor);
}

}  // namespace

String HeaderHTML(StringView thePageTitle, StringView backgroundPageColor) {
  String header = u"<!-- Page g\u00e9n\u00e9r\u00e9e par ";
  header.append(kLibraryName).append(u" ").append(libraryVersion()).append(u" -->");
  header.append(kCrLf).append(u"<!-- DOCTYPE HTML SYSTEM \"html.dtd\" -->");
  header.append(kCrLf).append(u"<HTML><HEAD><TITLE>");
  if (!isBlank(thePageTitle)) header.append(TXTcharToHTML(thePageTitle, false, false, false));
  header.append(u"</TITLE></HEAD>").append(kCrLf);
  header.append(u"<BODY BGCOLOR=\"").append(backgroundPageColor).append(u"\">");
  return header;
}

String HeadingHTML(StringView theText, int32_t theLevel) {
  const String level = longToString(std::clamp(theLevel, 1, 6));
  const String text(theText);
  String heading = u"<A NAME=\"";
  heading.append(ucase(StrChr::create()->RemoveAccent(text))).append(u"\">");
  heading.append(u"<BR><H").append(level).append(u">");
  heading.append(TXTcharToHTML(text, false, false, false));
  heading.append(u"</H").append(level).append(u">").append(kCrLf);
  return heading;
}

}  // namespace zv
