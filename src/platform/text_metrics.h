// How wide a text is drawn on the screen, for fitting grid columns to their cells.
#pragma once

#include <cstdint>
#include <string_view>

namespace zv::platform {

// The width in pixels of `ansiText` (bytes of the ANSI code page) drawn on the device
// context `hdc`, as GetTextExtentPoint32A measures it; an hdc of 0 measures with the
// screen's default GUI font. A device context that cannot measure gives 0.
int32_t textWidth(int32_t hdc, std::string_view ansiText);

// Twips per pixel of the screen, horizontally (15 at 96 dots per inch).
double screenTwipsPerPixelX();

}  // namespace zv::platform
