// Errors across the Python boundary: zv::Error reaches Python as AutomationError, and a
// Python exception raised inside a callee reaches the library as a zv::Error.
#pragma once

#include <pybind11/pybind11.h>

#include "runtime/errors.h"
#include "runtime/text.h"

namespace zv::python {

namespace py = pybind11;

// The failure of Python code the library called. It keeps the Python exception so that,
// back at the Python caller, the exception is the AutomationError's cause (or is raised
// itself, for an AutomationError or an exception that is not an Exception, such as
// KeyboardInterrupt).
class CalleeError : public Error {
 public:
  CalleeError(const Error& error, py::object exception)
      : Error(error), exception_(std::move(exception)) {}
  const py::object& exception() const { return exception_; }

 private:
  py::object exception_;
};

// The error the library sees for the Python exception `e` raised by a member of an object
// of Python type `typeName`: an AutomationError keeps its number, anything else is 440.
CalleeError calleeError(py::error_already_set& e, StringView typeName);

// Defines AutomationError and UnknownMemberError in `module` and translates zv::Error into
// AutomationError for every function of the module.
void defineErrors(py::module_& module);

// Raises UnknownMemberError (an AutomationError and an AttributeError) for a failed member
// lookup at attribute access.
[[noreturn]] void throwUnknownMember(const Error& error);

}  // namespace zv::python
