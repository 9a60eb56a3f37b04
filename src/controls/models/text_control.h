// The Text property shared by the text box and rich text box models.
#pragma once

#include "runtime/text.h"

namespace zv::models {

template <class Interface>
class TextControl : public Interface {
 public:
  String get_Text() override { return text_; }
  void let_Text(const String& newValue) override { text_ = newValue; }

 private:
  String text_;
};

}  // namespace zv::models
