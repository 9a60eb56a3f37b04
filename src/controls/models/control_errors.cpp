#include "controls/models/control_errors.h"

#include "runtime/errors.h"

namespace zv::models {

namespace {

const char16_t* controlText(int32_t number) {
  switch (number) {
    case kInvalidPropertyValue:
      return u"Invalid property value";
    case kInvalidPropertyIndex:
      return u"Invalid property array index";
    case kIndexOutOfBounds:
      return u"Index out of bounds";
    case kElementNotFound:
      return u"Element not found";
    case kKeyNotUnique:
      return u"Key is not unique in collection";
    case kInvalidKey:
      return u"Invalid key";
    case kImageListNotSet:
      return u"ImageList must be initialized before it can be used";
    default:
      return u"";
  }
}

}  // namespace

void raiseControlError(int32_t number) {
  raise(number, controlText(number));
}

void raiseGridIndexError() {
  raise(kInvalidPropertyIndex, u"Subscript out of range");
}

int32_t checkedColor(int32_t color) {
  const uint32_t bits = static_cast<uint32_t>(color);
  if (bits > 0xFFFFFFu && (bits < 0x80000000u || bits > 0x800000FFu))
    raiseControlError(kInvalidPropertyValue);
  return color;
}

}  // namespace zv::models
