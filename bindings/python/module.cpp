// The Python module zivoviviruvov: the library's classes by ProgID, the control models,
// values converted both ways and failures as AutomationError.
#include <pybind11/pybind11.h>

#include <string>

#include "api/library.h"
#include "errors.h"
#include "frame/classes.h"
#include "late_bound.h"
#include "values.h"

namespace py = pybind11;
using namespace zv;
using namespace zv::python;

namespace {

// Every member of a model, as `zvv list` shows it: the model factories' docstring.
std::string modelDoc(const TypeInfo& type) {
  std::string doc = "A new " + toUtf8(type.name) +
                    " model, usable wherever the library "
                    "expects a caller's " +
                    toUtf8(type.name) + ".\n\nMembers:\n";
  for (const MemberInfo& m : type.members)
    doc += "  " + toUtf8(describeMember(m)) + "\n";
  return doc;
}

}  // namespace

PYBIND11_MODULE(zivoviviruvov, m) {
  m.doc() =
      "ZivoviViruvov: create the library's classes with CreateObject(progid) and call them "
      "late-bound; failures raise AutomationError.";

  defineErrors(m);
  defineObjects(m);
  defineMessageHandler(m);
  defineReportHandler(m);

  m.def(
      "CreateObject",
      [](py::handle progId) -> py::object {
        if (py::isinstance<Handle>(progId)) return py::reinterpret_borrow<py::object>(progId);
        if (!PyUnicode_Check(progId.ptr()))
          throw py::type_error("CreateObject expects a ProgID or CLSID string");
        return py::cast(Handle{createObject(toText(progId))});
      },
      py::arg("progid"),
      "A new instance of the class whose ProgID or CLSID is given (error 429 for an unknown "
      "one). An Object passed in is returned as it is.");
  m.attr("Dispatch") = m.attr("CreateObject");

  // One factory per model of the API description: a model added there appears here.
  for (const ModelInfo& model : libraryModels()) {
    auto create = model.create;
    m.def(
        toUtf8(model.type->name).c_str(), [create] { return Handle{create()}; },
        modelDoc(*model.type).c_str());
  }

  m.def(
      "classes",
      [] {
        py::list result;
        for (const ClassInfo& c : libraryClasses())
          if (c.creatable)
            result.append(
                py::make_tuple(pythonText(c.name), pythonText(c.progId), pythonText(c.clsid)));
        return result;
      },
      "(name, progid, clsid) of every class CreateObject can create.");

  m.def(
      "invoke",
      [](py::handle target, const py::str& name, unsigned kinds, const py::args& args,
         const py::kwargs& kwargs) {
        const Variant object = toVariant(target);
        if (object.isEmpty()) raise(err::kObjectNotSet);
        return toPython(invokeWith(requireObject(object), toText(name), kinds, args, kwargs));
      },
      py::arg("target"), py::arg("name"), py::arg("kinds"),
      "Invokes member name of target with the DISPATCH_* kinds given, exactly as the library "
      "calls a caller's object (a Python object goes through the same adapter). Indexed "
      "property puts take the index arguments first and the new value last.");
  m.attr("DISPATCH_METHOD") = static_cast<unsigned>(kMethod);
  m.attr("DISPATCH_PROPERTYGET") = static_cast<unsigned>(kPropertyGet);
  m.attr("DISPATCH_PROPERTYPUT") = static_cast<unsigned>(kPropertyPut);
  m.attr("DISPATCH_PROPERTYPUTREF") = static_cast<unsigned>(kPropertyPutRef);

  m.attr("library_version") = std::to_string(kLibraryMajor) + "." + std::to_string(kLibraryMinor);
}
