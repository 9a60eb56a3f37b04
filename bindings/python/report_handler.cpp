// zv.set_report_handler: the library's error reports, silent ones included, for Python.
#include "frame/report_listener.h"
#include "late_bound.h"
#include "values.h"

namespace zv::python {

namespace {

// Never destroyed: the listener may outlive the module's own objects.
py::object& handler() {
  static py::object* current = new py::object();
  return *current;
}

void uninstall() {
  setReportListener({});
  handler() = py::object();
}

}  // namespace

void defineReportHandler(py::module_& module) {
  module.def(
      "set_report_handler",
      [](py::object fn) -> py::object {
        py::object previous = handler() ? handler() : py::none();
        if (fn.is_none()) {
          uninstall();
          return previous;
        }
        if (!PyCallable_Check(fn.ptr()))
          throw py::type_error("the report handler must be callable or None");
        handler() = std::move(fn);
        setReportListener([](const String& message, bool shown) {
          py::gil_scoped_acquire gil;
          try {
            if (handler()) handler()(pythonText(message), shown);
          } catch (py::error_already_set& e) {
            // Reports happen inside the library's traps, where a failure would vanish.
            e.discard_as_unraisable("zivoviviruvov report handler");
          }
        });
        return previous;
      },
      py::arg("handler"),
      "Sends the message of every error report the library makes, shown or silent, to "
      "handler(message, shown). None removes it. Returns the handler it replaces, or None.");
  py::module_::import("atexit").attr("register")(py::cpp_function(&uninstall));
}

}  // namespace zv::python
