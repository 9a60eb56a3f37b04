// The images of the image-list model: keys and positions (the model holds no pictures,
// only what was given as Picture).
#pragma once

#include "api/ListImage.h"
#include "api/ListImages.h"
#include "controls/models/keyed_list.h"

namespace zv::models {

class ListImages;

class ListImage final : public zv::ListImage, public CollectionMember {
 public:
  explicit ListImage(ListImages* owner) : owner_(owner) {}
  String get_Key() override { return key(); }
  void let_Key(const String& newValue) override;
  int32_t get_Index() override { return position(); }
  void detach() { owner_ = nullptr; }

 private:
  ListImages* owner_;
};

class ListImages final : public zv::ListImages {
 public:
  ~ListImages() override;
  int32_t get_Count() override { return images_.count(); }
  ObjectRef Item(const Variant& Index) override { return images_.at(Index); }
  ObjectRef Add(const Variant& Index, const Variant& Key, const Variant& Picture) override;
  void Remove(const Variant& Index) override;
  void Clear() override;
  std::vector<Variant> enumerate() override { return list().variants(); }

  KeyedList<ListImage>& list() { return images_; }

 private:
  KeyedList<ListImage> images_;
};

}  // namespace zv::models
