#include <limits>

#include "late_bound.h"
#include "platform/user_interface.h"
#include "values.h"

namespace zv::python {

namespace {

// Every box the library shows goes to the Python handler: fn(text, title, style).
class PythonUserInterface final : public platform::UserInterface {
 public:
  int32_t messageBox(const platform::MessageBoxRequest& request) override {
    py::gil_scoped_acquire gil;
    try {
      py::object answer =
          handler(pythonText(request.text), pythonText(request.title), request.style);
      return button(answer);
    } catch (py::error_already_set& e) {
      // The library shows boxes inside its own error traps, where a failure would vanish;
      // Python's unraisable hook at least shows it, and the box counts as answered OK.
      e.discard_as_unraisable("zivoviviruvov message handler");
      return platform::kAnswerOk;
    }
  }
  void setMousePointer(int32_t) override {}

  py::object handler;

 private:
  static int32_t button(const py::object& answer) {
    if (answer.is_none()) return platform::kAnswerOk;
    if (PyLong_Check(answer.ptr())) {
      const long long number = PyLong_AsLongLong(answer.ptr());
      if (number == -1 && PyErr_Occurred()) throw py::error_already_set();
      if (number >= std::numeric_limits<int32_t>::min() &&
          number <= std::numeric_limits<int32_t>::max())
        return static_cast<int32_t>(number);
    }
    PyErr_SetString(PyExc_TypeError, "a message handler returns a button number or None");
    throw py::error_already_set();
  }
};

// Never destroyed: the library may hold it until the process ends.
PythonUserInterface& pythonInterface() {
  static PythonUserInterface* ui = new PythonUserInterface;
  return *ui;
}

void uninstall() {
  PythonUserInterface& ui = pythonInterface();
  if (&platform::userInterface() == &ui) platform::installUserInterface(nullptr);
  ui.handler = py::object();
}

}  // namespace

void defineMessageHandler(py::module_& module) {
  module.def(
      "set_message_handler",
      [](py::object handler) -> py::object {
        PythonUserInterface& ui = pythonInterface();
        py::object previous = ui.handler ? ui.handler : py::none();
        if (handler.is_none()) {
          platform::installUserInterface(nullptr);
          ui.handler = py::object();
        } else {
          if (!PyCallable_Check(handler.ptr()))
            throw py::type_error("the message handler must be callable or None");
          ui.handler = std::move(handler);
          platform::installUserInterface(&ui);
        }
        return previous;
      },
      py::arg("handler"),
      "Sends every message box to handler(text, title, style), which returns the button "
      "pressed (1 for OK; None counts as OK). None restores the default. Returns the "
      "handler it replaces, or None.");

  // The handler must be released while the interpreter still runs.
  py::module_::import("atexit").attr("register")(py::cpp_function(&uninstall));
}

}  // namespace zv::python
