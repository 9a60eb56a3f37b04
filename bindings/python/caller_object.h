// A plain Python object handed to the library: the library reaches it late-bound, as it
// reaches a caller's control, so any object with the right members serves.
#pragma once

#include <pybind11/pybind11.h>

#include "runtime/object.h"

namespace zv::python {

namespace py = pybind11;

class PythonObject final : public Object {
 public:
  explicit PythonObject(py::object target) : target_(std::move(target)) {}
  ~PythonObject() override;
  PythonObject(const PythonObject&) = delete;
  PythonObject& operator=(const PythonObject&) = delete;

  // Members are the object's attributes, found case-insensitively. A put sets the
  // attribute; a get or call calls it when callable, indexes it when given arguments,
  // else reads it. By-reference arguments arrive as plain values.
  Variant invoke(StringView name, unsigned kinds, Args& args) override;
  String typeName() const override;
  // For Each over the object: whatever Python iteration yields.
  std::vector<Variant> enumerate() override;

  const py::object& target() const { return target_; }

 private:
  Variant invokeHeld(StringView name, unsigned kinds, Args& args);

  py::object target_;
};

}  // namespace zv::python
