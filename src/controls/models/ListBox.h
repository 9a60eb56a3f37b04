// A list box: a list of texts; Text is the selected item's.
#pragma once

#include "api/ListBox.h"
#include "controls/models/list_control.h"

namespace zv::models {

class ListBox final : public ListControl<zv::ListBox> {
 public:
  String get_Text() override { return selectedText(); }
};

}  // namespace zv::models
