// Creating the library's classes by ProgID or CLSID, as CreateObject does.
#pragma once

#include "api/library.h"

namespace zv {

// The class whose ProgID (case-insensitive) or CLSID ("{...}") is `name`, or nullptr.
// The private class is found only by its own name, through createPrivate.
const ClassInfo* findClass(StringView progIdOrClsid);

// CreateObject: error 429 for an unknown name or a class that callers cannot create.
ObjectRef createObject(StringView progIdOrClsid);

// A new instance of a model (ListBox, ComboBox, TextBox, RichTextBox, Collection, ...).
ObjectRef createModel(StringView name);

}  // namespace zv
