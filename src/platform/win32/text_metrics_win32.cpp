#include <windows.h>

#include "platform/text_metrics.h"

namespace zv::platform {

namespace {

constexpr double kTwipsPerInch = 1440.0;

}  // namespace

int32_t textWidth(int32_t hdc, std::string_view ansiText) {
  // Device contexts are 32-bit handles, sign-extended on 64-bit Windows.
  HDC dc = reinterpret_cast<HDC>(static_cast<intptr_t>(hdc));
  HDC screen = nullptr;
  HGDIOBJ previousFont = nullptr;
  if (!dc) {
    screen = GetDC(nullptr);
    dc = screen;
    previousFont = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
  }
  SIZE size{};
  const BOOL measured =
      dc && GetTextExtentPoint32A(dc, ansiText.data(), static_cast<int>(ansiText.size()), &size);
  if (screen) {
    SelectObject(screen, previousFont);
    ReleaseDC(nullptr, screen);
  }
  return measured ? static_cast<int32_t>(size.cx) : 0;
}

double screenTwipsPerPixelX() {
  HDC screen = GetDC(nullptr);
  const int dotsPerInch = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return kTwipsPerInch / (dotsPerInch > 0 ? dotsPerInch : 96);
}

}  // namespace zv::platform
