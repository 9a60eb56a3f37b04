// An image list: the images a tree-view's nodes name by key or number.
#pragma once

#include "api/ImageList.h"
#include "controls/models/image_list_parts.h"

namespace zv::models {

class ImageList final : public zv::ImageList {
 public:
  ObjectRef get_ListImages() override { return images_; }
  ListImages& images() { return *images_; }

 private:
  std::shared_ptr<ListImages> images_ = std::make_shared<ListImages>();
};

}  // namespace zv::models
