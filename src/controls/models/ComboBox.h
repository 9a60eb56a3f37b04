// A combo box: a list of texts and an edit field; choosing an item fills the field.
#pragma once

#include "api/ComboBox.h"
#include "controls/models/list_control.h"

namespace zv::models {

class ComboBox final : public ListControl<zv::ComboBox> {
 public:
  void let_ListIndex(int32_t newValue) override {
    ListControl::let_ListIndex(newValue);
    text_ = selectedText();
  }
  String get_Text() override { return text_; }
  void let_Text(const String& newValue) override { text_ = newValue; }

 private:
  String text_;
};

}  // namespace zv::models
