// The library's own models answer through their typed interface, which a late-bound call
// reaches anyway: the same behaviour, without looking the member up by name and packing its
// arguments. The list-view and tree-view routines make millions of these calls; any other
// object (the real control, a script's or a Python class) is still reached by name.
#pragma once

#include "runtime/object.h"
#include "runtime/typeinfo.h"

namespace zv {

// Only the generated classes answer with a description, each with its own, so the
// description tells the model: one virtual call where a dynamic_cast across the models'
// several bases costs a search of their hierarchy.
template <class Model, class Typed, class LateBound>
auto viaModel(const ObjectRef& object, Typed typed, LateBound lateBound) {
  if (object && object->typeInfo() == &Model::type()) return typed(static_cast<Model&>(*object));
  return lateBound();
}

}  // namespace zv
