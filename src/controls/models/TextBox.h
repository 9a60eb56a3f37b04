// A text box, as far as the library reads and writes it: its Text.
#pragma once

#include "api/TextBox.h"
#include "controls/models/text_control.h"

namespace zv::models {

class TextBox final : public TextControl<zv::TextBox> {};

}  // namespace zv::models
