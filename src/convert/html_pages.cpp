#include <cstdint>
#include <cstdio>

#include "convert/HTMlib.h"
#include "convert/lib_html.h"
#include "frame/file_numbers.h"
#include "frame/varnix.h"
#include "platform/system_colors.h"
#include "runtime/trap.h"

namespace zv::impl {

namespace {

constexpr int32_t kSystemColorFlag = INT32_MIN;  // the top bit of a colour value
constexpr int32_t kWebStep = 51;                 // web-safe levels: 0, 51, ..., 255

// The nearest web-safe level. A byte never lies half way between two levels (51 is odd),
// so no rounding rule is needed for ties.
int32_t webLevel(int32_t byte) {
  return (byte + kWebStep / 2) / kWebStep * kWebStep;
}

String hexByte(uint32_t byte) {
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02X", byte & 0xFFu);
  return String(digits, digits + 2);
}

}  // namespace

// Report and return: the file is closed before the report.
bool HTMlib::WriteHeaderHTML(const String& theFile, const String& thePageTitle,
                             const String& backgroundPageColor, const String& defaultTextColor,
                             bool printOnLoad, const String& backgroundImage) {
  bool result = false;
  if (isBlank(theFile)) return false;
  const String background =
      isBlank(backgroundImage) ? String() : u" background=\"" + backgroundImage + u"\" ";
  FileNumber file(OpenFileForOutput(theFile));
  if (!file.isOpen()) return false;
  onError(
      [&] {
        TextFile& out = file.file();
        out.writeLine(u"<HTML>");
        out.writeLine(u"<HEAD>");
        out.writeLine(u"<TITLE>" + TXTcharToHTML(thePageTitle, false, false, false) + u"</TITLE>");
        out.writeLine(
            u"<meta http-equiv=\"Content-Type\" content=\"text/html; "
            u"charset=iso-8859-1\">");
        out.writeLine(u"</HEAD>");
        out.writeLine(u"<body bgcolor=\"" + backgroundPageColor + u"\" text=\"" + defaultTextColor +
                      u"\" " + background + (printOnLoad ? u"onLoad=\"window.print()\"" : u"") +
                      u">");
        file.close();
        result = true;
      },
      [&] {
        file.discard();
        ReportError(u"Error on header HTML file writing:\r\n" + theFile, false);
      });
  return result;
}

// No trap: nothing here can fail.
int32_t HTMlib::ColorToWebRGB(int32_t& lColor) {
  if (lColor & kSystemColorFlag) lColor = platform::systemColor(lColor & 0xFFFFFF);
  const int32_t red = webLevel(lColor & 0xFF);
  const int32_t green = webLevel((lColor >> 8) & 0xFF);
  const int32_t blue = webLevel((lColor >> 16) & 0xFF);
  return red | (green << 8) | (blue << 16);
}

// Return only. A value above 0xFFFFFF gives the colour of its low three bytes.
String HTMlib::ConvertColor(int32_t theColor) {
  String result;
  returnOnly([&] {
    if (theColor <= 0) {
      result = u"#000000";
      return;
    }
    const auto color = static_cast<uint32_t>(theColor);
    result = u"#" + hexByte(color) + hexByte(color >> 8) + hexByte(color >> 16);
  });
  return result;
}

// Return only.
String HTMlib::RGBtoHTMLColor(uint8_t& R, uint8_t& G, uint8_t& B) {
  String result;
  returnOnly([&] { result = u"#" + hexByte(R) + hexByte(G) + hexByte(B); });
  return result;
}

// No trap. The same text on every platform: a POSIX path keeps its leading "/" after the
// "file:///" prefix.
String HTMlib::ConvertRootFile(const String& theFileLink) {
  String link = trim(theFileLink);
  link = replaceAll(link, u":", u"|");
  link = replaceAll(link, u" ", u"%20");
  link = replaceAll(link, u"\\", u"/");
  return u"file:///" + link;
}

}  // namespace zv::impl
