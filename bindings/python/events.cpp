// zv.WithEvents(obj, handler): the events of a library object delivered to a Python
// object's On<Event> methods, by-reference arguments as Ref whose value goes back.
#include <pybind11/pybind11.h>

#include <map>
#include <memory>

#include "api/library.h"
#include "errors.h"
#include "frame/events.h"
#include "late_bound.h"
#include "runtime/errors.h"
#include "values.h"

namespace zv::python {

namespace {

class PythonSink : public EventSink {
 public:
  PythonSink(const ObjectRef& source, py::object handler)
      : source_(source), handler_(std::move(handler)) {}

  void fire(const MemberInfo& event, Args& args) override {
    py::gil_scoped_acquire gil;
    py::object method = py::getattr(handler_, ("On" + toUtf8(event.name)).c_str(), py::none());
    if (method.is_none()) return;
    const size_t n = std::min(args.size(), event.params.size());
    py::tuple values(n);
    for (size_t i = 0; i < n; ++i)
      values[i] =
          event.params[i].byRef ? py::cast(Ref{args[i].value()}) : toPython(args[i].value());
    try {
      method(*values);
    } catch (py::error_already_set& e) {
      throw calleeError(e, toText(py::type::of(handler_).attr("__name__")));
    }
    for (size_t i = 0; i < n; ++i)
      if (event.params[i].byRef) args[i].value() = values[i].cast<Ref&>().value;
  }

  bool expired() const { return source_.expired(); }

 private:
  std::weak_ptr<Object> source_;
  py::object handler_;
};

bool raisesEvents(const Object& object) {
  for (const ClassInfo& c : libraryClasses())
    if (c.events && equalsNoCase(c.name, object.typeName())) return true;
  return false;
}

// The connected sinks by source; a source going away disconnects its sink, which goes at
// the next WithEvents. Never destroyed: its Python handlers must not outlive
// the interpreter's own teardown.
std::map<const Object*, std::unique_ptr<PythonSink>>& sinks() {
  static auto* map = new std::map<const Object*, std::unique_ptr<PythonSink>>();
  return *map;
}

py::object withEvents(py::handle target, py::handle handler) {
  const ObjectRef object = requireObject(toVariant(target));
  if (!raisesEvents(*object)) raise(err::kNotSupported, object->typeName() + u" raises no events");
  auto& map = sinks();
  std::erase_if(map, [](const auto& entry) { return entry.second->expired(); });
  connectEvents(object.get(), nullptr);
  map.erase(object.get());
  if (!handler.is_none()) {
    py::object instance = py::reinterpret_borrow<py::object>(handler);
    if (PyType_Check(handler.ptr())) instance = instance();
    auto sink = std::make_unique<PythonSink>(object, instance);
    connectEvents(object.get(), sink.get());
    map.emplace(object.get(), std::move(sink));
  }
  return py::reinterpret_borrow<py::object>(target);
}

}  // namespace

void defineEvents(py::module_& module) {
  module.def("WithEvents", &withEvents, py::arg("obj"), py::arg("handler"),
             "Delivers obj's events to handler's On<Event> methods (a class is instantiated "
             "first): arguments in declaration order, by-reference ones as Ref whose value "
             "the method may set. None disconnects. Returns obj.");
}

}  // namespace zv::python
