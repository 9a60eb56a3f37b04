// The colours of the screen elements (window, button face, highlight, ...), as Windows
// numbers them: COLOR_SCROLLBAR (0) to COLOR_MENUBAR (30).
#pragma once

#include <cstdint>

namespace zv::platform {

inline constexpr int32_t kFirstSystemColor = 0;  // COLOR_SCROLLBAR
inline constexpr int32_t kLastSystemColor = 30;  // COLOR_MENUBAR

// The colour reference (red in the low byte, then green, then blue) of system colour
// `index`; 0 for an index outside 0 to 30, as GetSysColor answers.
int32_t systemColor(int32_t index);

}  // namespace zv::platform
