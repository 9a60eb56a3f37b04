#include "errors.h"

#include <pybind11/eval.h>

#include "values.h"

namespace zv::python {

namespace {

// The exception classes, alive as long as the process (the module holds them too).
PyObject* gAutomationError = nullptr;
PyObject* gUnknownMemberError = nullptr;

constexpr const char* kClasses = R"(
class AutomationError(Exception):
    """A failed late-bound call: the error number, description, source and help topic."""

    def __init__(self, number, description=None, source="", helpfile="", helpcontext=0):
        number = int(number)
        if description is None:
            description = _standard_description(number)
        super().__init__(number, description)
        self.number = number
        self.description = description
        self.source = source
        self.helpfile = helpfile
        self.helpcontext = helpcontext

    def __str__(self):
        return f"Error {self.number}: {self.description}"

    def __reduce__(self):
        return (type(self), (self.number, self.description, self.source, self.helpfile,
                             self.helpcontext))


class UnknownMemberError(AutomationError, AttributeError):
    """Error 438 at attribute access; an AttributeError too, so hasattr() answers False."""
)";

py::object newInstance(PyObject* type, const Error& e) {
  return py::reinterpret_borrow<py::object>(type)(e.number(), pythonText(e.description()),
                                                  pythonText(e.source()), pythonText(e.helpFile()),
                                                  e.helpContext());
}

void setError(const py::object& exception) {
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(exception.ptr())), exception.ptr());
}

void translateCallee(const CalleeError& e) {
  PyObject* original = e.exception().ptr();
  const bool reraise = PyObject_IsInstance(original, gAutomationError) == 1 ||
                       PyObject_IsInstance(original, PyExc_Exception) != 1;
  if (reraise) return setError(e.exception());
  py::object error = newInstance(gAutomationError, e);
  PyException_SetCause(error.ptr(), e.exception().inc_ref().ptr());  // steals the reference
  setError(error);
}

String textOf(py::handle value) {
  try {
    return toText(py::str(value));
  } catch (py::error_already_set&) {
    return {};
  }
}

}  // namespace

CalleeError calleeError(py::error_already_set& e, StringView typeName) {
  py::object exception = e.value();
  // The fetched traceback is the complete one: keep it with the exception for its reraise.
  if (e.trace()) PyException_SetTraceback(exception.ptr(), e.trace().ptr());
  if (py::isinstance(exception, py::handle(gAutomationError))) {
    try {
      Error error(exception.attr("number").cast<int32_t>(), textOf(exception.attr("description")),
                  textOf(exception.attr("source")));
      if (error.source().empty()) error.withSource(String(typeName));
      error.withHelp(textOf(exception.attr("helpfile")),
                     exception.attr("helpcontext").cast<int32_t>());
      return CalleeError(error, exception);
    } catch (const std::exception&) {
      // A damaged AutomationError (attributes replaced) counts as any other exception.
    }
  }
  // Any other exception is the control's error: its own `number` when it carries an int
  // one, else 440; its text as the description (the class name when it has none).
  int32_t number = 440;
  py::object own = py::getattr(exception, "number", py::none());
  if (PyLong_Check(own.ptr()) && !PyBool_Check(own.ptr())) {
    try {
      number = own.cast<int32_t>() ? own.cast<int32_t>() : 440;
    } catch (const py::cast_error&) {
    }
  }
  String text = textOf(exception);
  if (text.empty()) text = textOf(py::type::handle_of(exception).attr("__name__"));
  return CalleeError(Error(number, text, String(typeName)), exception);
}

void defineErrors(py::module_& module) {
  module.def(
      "_standard_description",
      [](int32_t number) { return pythonText(standardDescription(number)); },
      "The description VB gives a standard error number.");
  py::exec(kClasses, module.attr("__dict__"));
  gAutomationError = py::object(module.attr("AutomationError")).release().ptr();
  gUnknownMemberError = py::object(module.attr("UnknownMemberError")).release().ptr();

  py::register_exception_translator([](std::exception_ptr p) {
    if (!p) return;
    try {
      std::rethrow_exception(p);
    } catch (const CalleeError& e) {
      translateCallee(e);
    } catch (const Error& e) {
      setError(newInstance(gAutomationError, e));
    }
  });
}

void throwUnknownMember(const Error& error) {
  setError(newInstance(gUnknownMemberError, error));
  throw py::error_already_set();
}

}  // namespace zv::python
