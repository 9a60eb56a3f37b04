#include "frame/varnix.h"

namespace zv {

String CutAtNullChar(StringView theString) {
  return String(theString.substr(0, theString.find(u'\0')));
}

String CutAtNullCharOrTrim(StringView theString) {
  const size_t nul = theString.find(u'\0');
  if (nul == StringView::npos) return trim(theString);
  return String(theString.substr(0, nul));
}

}  // namespace zv
