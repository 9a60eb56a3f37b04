#include "controls/models/image_list_parts.h"

namespace zv::models {

namespace {

void detachImage(ListImage& image) {
  image.detach();
}

}  // namespace

void ListImage::let_Key(const String& newValue) {
  if (!owner_) raiseControlError(kElementNotFound);
  owner_->list().rekey(*this, newValue);
}

ListImages::~ListImages() {
  images_.clear(detachImage);
}

ObjectRef ListImages::Add(const Variant& Index, const Variant& Key, const Variant& Picture) {
  auto image = std::make_shared<ListImage>(this);
  if (!Picture.isMissing()) image->let_Picture(Picture);
  return images_.add(image, Index, Key);
}

void ListImages::Remove(const Variant& Index) {
  images_.removeAt(images_.placeOf(Index), detachImage);
}

void ListImages::Clear() {
  images_.clear(detachImage);
}

}  // namespace zv::models
