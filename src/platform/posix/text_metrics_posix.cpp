#include <array>

#include "platform/text_metrics.h"

namespace zv::platform {

namespace {

// No screen and no fonts to ask: a fixed table of advance widths in pixels, close to the
// default GUI font of Windows (Tahoma 8 pt at 96 dots per inch), so that columns fit the
// same texts the same way everywhere.
constexpr std::array<uint8_t, 95> kPrintableWidths = {
    3, 3, 4, 7, 5, 9, 6, 2, 4, 4, 5, 7, 3, 4, 3, 4,  // space ! " # $ % & ' ( ) * + , - . /
    5, 5, 5, 5, 5, 5, 5, 5, 5, 5,                    // 0 to 9
    3, 3, 7, 7, 7, 4, 9,                             // : ; < = > ? @
    6, 6, 6, 7, 6, 5, 7, 7, 3, 4, 6, 5, 8,           // A to M
    7, 7, 6, 7, 6, 6, 6, 7, 6, 9, 6, 6, 5,           // N to Z
    4, 4, 4, 7, 5, 5,                                // [ \ ] ^ _ `
    5, 5, 4, 5, 5, 3, 5, 5, 2, 3, 5, 2, 8,           // a to m
    5, 5, 5, 5, 3, 4, 3, 5, 5, 7, 5, 5, 4,           // n to z
    4, 4, 4, 7,                                      // { | } ~
};
// Windows-1252 0xC0 to 0xFF: an accented letter is as wide as its base letter; "*" marks
// the signs and ligatures, which take the average width.
constexpr std::string_view kAccentedBases =
    "AAAAAA*CEEEEIIIIDNOOOOO*OUUUUYP*aaaaaa*ceeeeiiiionooooo*ouuuuypy";
constexpr int32_t kAverageWidth = 5;
constexpr int32_t kPixelsPerInch = 96;

int32_t advance(unsigned char code) {
  if (code >= 0xC0 && kAccentedBases[code - 0xC0] != '*')
    code = static_cast<unsigned char>(kAccentedBases[code - 0xC0]);
  if (code >= 0x20 && code <= 0x7E) return kPrintableWidths[code - 0x20];
  return kAverageWidth;
}

}  // namespace

int32_t textWidth(int32_t, std::string_view ansiText) {
  int32_t width = 0;
  for (const char c : ansiText)
    width += advance(static_cast<unsigned char>(c));
  return width;
}

double screenTwipsPerPixelX() {
  return 1440.0 / kPixelsPerInch;
}

}  // namespace zv::platform
