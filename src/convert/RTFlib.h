// RTFlib: plain text to and from RTF character escapes, and names safe for files and keys.
#pragma once

#include "api/RTFlib.h"

namespace zv::impl {

// Pure string conversions: no state, no failure path, no trap.
class RTFlib final : public zv::RTFlib {
 public:
  String ReplaceRTFcharToTXTchar(const String& theString) override;
  String ReplaceTXTcharToRTFchar(const String& theString) override;
  String ReplaceRTFcharByUnderscore(const String& theString) override;
};

}  // namespace zv::impl
