// The library's own models answer through their typed interface, which a late-bound call
// reaches anyway: the same behaviour, without looking the member up by name and packing its
// arguments. The list-view and tree-view routines make millions of these calls; any other
// object (the real control, a script's or a Python class) is still reached by name.
#pragma once

#include "runtime/object.h"

namespace zv {

template <class Model, class Typed, class LateBound>
auto viaModel(const ObjectRef& object, Typed typed, LateBound lateBound) {
  if (auto* model = dynamic_cast<Model*>(object.get())) return typed(*model);
  return lateBound();
}

}  // namespace zv
