// HTMlib: text and RTF to HTML, HTML back to RTF escapes (the page writing members are not
// in this version yet).
#pragma once

#include "api/HTMlib.h"

namespace zv::impl {

// The conversions trap nothing: with link or mail detection on, a position beyond 32767
// reaches the caller as error 6.
class HTMlib final : public zv::HTMlib {
 public:
  // The defaults repeat the interface's, for calls made on this class directly.
  String ReplaceTXTcharToHTMLchar(const String& theString, bool detectHTMLchar = false,
                                  bool detectHREF = false, bool detectMAIL = false) override;
  String ReplaceRTFcharToHTMLchar(const String& theString, bool withRTFheader = false,
                                  bool detectHTMLchar = false, bool detectHREF = false,
                                  bool detectMAIL = false) override;
  String ReplaceHTMLcharToRTFchar(const String& theString) override;
};

}  // namespace zv::impl
