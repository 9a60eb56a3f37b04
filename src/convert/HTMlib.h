// HTMlib: text and RTF to HTML, HTML back to RTF escapes, HTML page headers, colours and
// links, RTF file to HTML file.
#pragma once

#include "api/HTMlib.h"

namespace zv::impl {

// The conversions trap nothing: with link or mail detection on, a position beyond 32767
// reaches the caller as error 6. The page writers report their failures silently and
// return False; every file they open is closed before they return.
class HTMlib final : public zv::HTMlib {
 public:
  // The defaults repeat the interface's, for calls made on this class directly.

  // html_conversion.cpp
  String ReplaceTXTcharToHTMLchar(const String& theString, bool detectHTMLchar = false,
                                  bool detectHREF = false, bool detectMAIL = false) override;
  String ReplaceRTFcharToHTMLchar(const String& theString, bool withRTFheader = false,
                                  bool detectHTMLchar = false, bool detectHREF = false,
                                  bool detectMAIL = false) override;
  String ReplaceHTMLcharToRTFchar(const String& theString) override;

  // html_pages.cpp
  bool WriteHeaderHTML(const String& theFile, const String& thePageTitle = String(u""),
                       const String& backgroundPageColor = String(u"white"),
                       const String& defaultTextColor = String(u"black"), bool printOnLoad = false,
                       const String& backgroundImage = String(u"")) override;
  int32_t ColorToWebRGB(int32_t& lColor) override;
  String ConvertColor(int32_t theColor) override;
  String RGBtoHTMLColor(uint8_t& R, uint8_t& G, uint8_t& B) override;
  String ConvertRootFile(const String& theFileLink) override;

  // rtf_file_to_html.cpp
  bool RTFfileToHTMLfile(const String& RTFfile, const String& HTMLfile,
                         bool HeaderFooter = true) override;
};

}  // namespace zv::impl
