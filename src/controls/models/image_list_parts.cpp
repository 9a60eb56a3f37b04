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
  const size_t place = images_.insertionPlace(Index);
  String key = images_.newKey(Key);
  auto image = std::make_shared<ListImage>(this);
  if (!Picture.isMissing()) image->let_Picture(Picture);
  images_.insert(image, std::move(key), place);
  return image;
}

void ListImages::Remove(const Variant& Index) {
  images_.removeAt(images_.placeOf(Index), detachImage);
}

void ListImages::Clear() {
  images_.clear(detachImage);
}

}  // namespace zv::models
