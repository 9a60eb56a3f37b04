#include <array>
#include <cstddef>

#include "platform/system_colors.h"

namespace zv::platform {

namespace {

constexpr int32_t rgb(int32_t r, int32_t g, int32_t b) {
  return r | (g << 8) | (b << 16);
}

// No desktop to ask: the classic Windows scheme, the colours a fresh Windows 2000 profile
// (and Wine) starts with.
constexpr std::array<int32_t, kLastSystemColor + 1> kClassicColors = {
    rgb(212, 208, 200),  //  0 COLOR_SCROLLBAR
    rgb(58, 110, 165),   //  1 COLOR_BACKGROUND
    rgb(10, 36, 106),    //  2 COLOR_ACTIVECAPTION
    rgb(128, 128, 128),  //  3 COLOR_INACTIVECAPTION
    rgb(212, 208, 200),  //  4 COLOR_MENU
    rgb(255, 255, 255),  //  5 COLOR_WINDOW
    rgb(0, 0, 0),        //  6 COLOR_WINDOWFRAME
    rgb(0, 0, 0),        //  7 COLOR_MENUTEXT
    rgb(0, 0, 0),        //  8 COLOR_WINDOWTEXT
    rgb(255, 255, 255),  //  9 COLOR_CAPTIONTEXT
    rgb(212, 208, 200),  // 10 COLOR_ACTIVEBORDER
    rgb(212, 208, 200),  // 11 COLOR_INACTIVEBORDER
    rgb(128, 128, 128),  // 12 COLOR_APPWORKSPACE
    rgb(10, 36, 106),    // 13 COLOR_HIGHLIGHT
    rgb(255, 255, 255),  // 14 COLOR_HIGHLIGHTTEXT
    rgb(212, 208, 200),  // 15 COLOR_BTNFACE
    rgb(128, 128, 128),  // 16 COLOR_BTNSHADOW
    rgb(128, 128, 128),  // 17 COLOR_GRAYTEXT
    rgb(0, 0, 0),        // 18 COLOR_BTNTEXT
    rgb(212, 208, 200),  // 19 COLOR_INACTIVECAPTIONTEXT
    rgb(255, 255, 255),  // 20 COLOR_BTNHIGHLIGHT
    rgb(64, 64, 64),     // 21 COLOR_3DDKSHADOW
    rgb(212, 208, 200),  // 22 COLOR_3DLIGHT
    rgb(0, 0, 0),        // 23 COLOR_INFOTEXT
    rgb(255, 255, 225),  // 24 COLOR_INFOBK
    rgb(181, 181, 181),  // 25 COLOR_ALTERNATEBTNFACE
    rgb(0, 0, 200),      // 26 COLOR_HOTLIGHT
    rgb(166, 202, 240),  // 27 COLOR_GRADIENTACTIVECAPTION
    rgb(192, 192, 192),  // 28 COLOR_GRADIENTINACTIVECAPTION
    rgb(10, 36, 106),    // 29 COLOR_MENUHILIGHT
    rgb(212, 208, 200),  // 30 COLOR_MENUBAR
};

}  // namespace

int32_t systemColor(int32_t index) {
  if (index < kFirstSystemColor || index > kLastSystemColor) return 0;
  return kClassicColors[static_cast<std::size_t>(index)];
}

}  // namespace zv::platform
