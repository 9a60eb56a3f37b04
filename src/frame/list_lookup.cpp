#include "frame/traps.h"
#include "frame/varnix.h"
#include "runtime/convert.h"

namespace zv {

int32_t iExistInListBox(const ObjectRef& listBox, const String& theText, bool addIt) {
  int32_t result = -1;
  int32_t i = 0;
  reportAndReturn(
      [&] {
        const int32_t count = toLong(get(listBox, u"ListCount"));
        const StringView wanted = trimView(theText);
        for (i = 0; i < count; ++i) {
          if (trimView(toString(get(listBox, u"List", {Variant(i)}))) == wanted) {
            result = i;
            return;
          }
        }
        if (addIt) {
          call(listBox, u"AddItem", {Variant(theText)});
          result = toLong(get(listBox, u"NewIndex"));
        }
      },
      [&] { return u"Error on Exist in ListBox(" + longToString(i) + u")"; });
  return result;
}

int16_t iExistInComboBox(const ObjectRef& comboBox, const String& theText, bool addIt) {
  int16_t result = -1;
  reportAndReturn(
      [&] {
        const int32_t count = toLong(get(comboBox, u"ListCount"));
        for (int32_t i = 0; i < count; ++i) {
          if (toString(get(comboBox, u"List", {Variant(i)})).find(theText) != String::npos) {
            result = toInteger16(i);
            return;
          }
        }
        if (addIt) {
          call(comboBox, u"AddItem", {Variant(theText)});
          result = toInteger(get(comboBox, u"NewIndex"));
        }
      },
      [&] { return u"Error on iExistInComboBox(" + theText + u")"; });
  return result;
}

}  // namespace zv
