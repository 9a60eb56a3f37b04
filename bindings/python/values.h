// Python values <-> Variants, as the module's callers rely on them.
#pragma once

#include <pybind11/pybind11.h>

#include "runtime/object.h"
#include "runtime/variant.h"

namespace zv::python {

namespace py = pybind11;

// A Python variable passed by reference: the library reads and writes `value` in place.
struct Ref {
  Variant value;
};

// A library object (class or model) as Python sees it.
struct Handle {
  ObjectRef object;
};

// str <-> String, lone surrogates included.
String toText(py::handle text);
py::str pythonText(StringView text);

// None is Empty; bool Boolean; int Long (error 6 beyond 32 bits); float Double;
// decimal.Decimal Currency; datetime.datetime and datetime.date Date; str String;
// list and tuple a Variant array based at 0; bytes a Byte array; a Ref its value; any other
// object passes as an object.
Variant toVariant(py::handle value);

// Empty, Null and Nothing are None; arrays are tuples; a Python object that went into the
// library comes back as itself.
py::object toPython(const Variant& value);

}  // namespace zv::python
