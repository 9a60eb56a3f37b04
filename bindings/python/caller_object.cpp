#include "caller_object.h"

#include <optional>
#include <unordered_map>

#include "errors.h"
#include "values.h"

namespace zv::python {

namespace {

constexpr int32_t kAutomationError = 440;

// The attribute member `name` means: the exact name, else one differing in case only (the
// library spells members as its own documentation does, Python code as it likes). The
// case variants found are kept per class, so dir() runs once per class and name; a kept
// spelling is used only while the object still has it.
std::optional<py::str> findAttribute(const py::object& target, StringView name) {
  py::str exact = pythonText(name);
  if (PyObject_HasAttr(target.ptr(), exact.ptr())) return exact;
  using Spellings = std::unordered_map<String, py::object>;  // lower-case name -> attribute
  static auto* perClass = new std::unordered_map<PyTypeObject*, Spellings>();  // GIL held
  Spellings& known = (*perClass)[Py_TYPE(target.ptr())];
  const String key = lcase(name);
  if (auto it = known.find(key);
      it != known.end() && PyObject_HasAttr(target.ptr(), it->second.ptr()))
    return py::reinterpret_borrow<py::str>(it->second);
  PyObject* listing = PyObject_Dir(target.ptr());
  if (!listing) throw py::error_already_set();
  for (py::handle entry : py::reinterpret_steal<py::list>(listing)) {
    if (!PyUnicode_Check(entry.ptr()) || !equalsNoCase(toText(entry), name)) continue;
    known[key] = py::reinterpret_borrow<py::object>(entry);
    return py::reinterpret_borrow<py::str>(entry);
  }
  return std::nullopt;
}

}  // namespace

PythonObject::~PythonObject() {
  if (Py_IsInitialized()) {
    py::gil_scoped_acquire gil;
    target_ = py::object();
  } else {
    target_.release();  // the interpreter is gone: nothing left to release it to
  }
}

Variant PythonObject::invoke(StringView name, unsigned kinds, Args& args) {
  py::gil_scoped_acquire gil;
  try {
    return invokeHeld(name, kinds, args);
  } catch (py::error_already_set& e) {
    throw calleeError(e, typeName());
  } catch (const Error&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    raise(kAutomationError, fromUtf8(e.what()));
  }
}

Variant PythonObject::invokeHeld(StringView name, unsigned kinds, Args& args) {
  const std::optional<py::str> attribute = findAttribute(target_, name);
  const auto notSupported = [&] {
    raise(err::kNotSupported,
          u"Object doesn't support this property or method: " + typeName() + u"." + String(name));
  };

  if (kinds & (kPropertyPut | kPropertyPutRef)) {
    py::object value = toPython(args.back().value());
    if (args.size() == 1) {
      py::setattr(target_, attribute ? *attribute : pythonText(name), value);
      return Variant();
    }
    // obj.Name(i) = v is obj.Name[i] = v; with two indexes obj.Name[r, c] = v.
    if (!attribute) notSupported();
    py::list index;
    for (size_t i = 0; i + 1 < args.size(); ++i)
      index.append(toPython(args[i].value()));
    py::object member = target_.attr(*attribute);
    member[index.size() == 1 ? py::object(index[0]) : py::object(py::tuple(index))] = value;
    return Variant();
  }
  if (!attribute) notSupported();
  py::object member = target_.attr(*attribute);

  // Trailing left-out arguments are dropped so that the callee's own defaults apply; one
  // left out in the middle arrives as None.
  size_t used = args.size();
  while (used > 0 && args[used - 1].value().isMissing())
    --used;
  py::list positional;
  py::dict named;
  for (size_t i = 0; i < used; ++i) {
    const Arg& arg = args[i];
    if (arg.name().empty())
      positional.append(toPython(arg.value()));
    else if (!arg.value().isMissing())
      named[pythonText(arg.name())] = toPython(arg.value());
  }

  py::object result;
  if (PyCallable_Check(member.ptr()))
    result = member(*positional, **named);
  else if (!positional.empty() && py::hasattr(member, "__getitem__"))
    result = member[positional.size() == 1 ? py::object(positional[0]) : py::tuple(positional)];
  else
    result = member;
  return toVariant(result);
}

String PythonObject::typeName() const {
  py::gil_scoped_acquire gil;
  return toText(py::type::handle_of(target_).attr("__name__"));
}

std::vector<Variant> PythonObject::enumerate() {
  py::gil_scoped_acquire gil;
  try {
    if (!py::isinstance<py::iterable>(target_)) raise(err::kNotSupported);
    std::vector<Variant> items;
    for (py::handle item : target_)
      items.push_back(toVariant(item));
    return items;
  } catch (py::error_already_set& e) {
    throw calleeError(e, typeName());
  }
}

}  // namespace zv::python
