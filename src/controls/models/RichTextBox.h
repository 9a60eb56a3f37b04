// A rich text box, as far as the library reads and writes it: its plain Text.
#pragma once

#include "api/RichTextBox.h"
#include "controls/models/text_control.h"

namespace zv::models {

class RichTextBox final : public TextControl<zv::RichTextBox> {};

}  // namespace zv::models
