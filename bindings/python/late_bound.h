// Library objects seen from Python: members as attributes, calls by position or name.
#pragma once

#include <pybind11/pybind11.h>

#include "runtime/object.h"

namespace zv::python {

namespace py = pybind11;

// Defines Object (a library object), its bound members, and Ref.
void defineObjects(py::module_& module);

// Calls member `name` of `target` with the invoke `kinds`. A Ref passes by reference; None
// given for an optional parameter leaves it out, so the parameter takes its default.
Variant invokeWith(const ObjectRef& target, StringView name, unsigned kinds, const py::args& args,
                   const py::kwargs& kwargs);

// The message box handler: set_message_handler.
void defineMessageHandler(py::module_& module);

// The error report handler: set_report_handler.
void defineReportHandler(py::module_& module);

}  // namespace zv::python
