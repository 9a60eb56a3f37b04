#include "late_bound.h"

#include <functional>
#include <memory>
#include <optional>

#include "errors.h"
#include "runtime/typeinfo.h"
#include "values.h"

namespace zv::python {

namespace {

// A member read off a library object, called later: obj.Method(...), obj.Prop(i), or
// indexed: obj.Prop[i], obj.Prop[i] = value.
struct Member {
  ObjectRef object;
  String name;
};

// pywin32's spelling of an indexed property put: obj.SetProp(i, value).
struct PropertyPut {
  ObjectRef object;
  String name;
};

// The index arguments of obj.Prop[key]: key itself, or the items of a tuple.
py::args indexArguments(py::handle key, py::handle value = py::handle()) {
  py::list items;
  if (py::isinstance<py::tuple>(key))
    for (py::handle item : key) items.append(item);
  else
    items.append(key);
  if (value) items.append(value);
  return py::args(py::tuple(items));
}

const ParamInfo* parameterNamed(const MemberInfo& member, StringView name) {
  for (const ParamInfo& p : member.params)
    if (equalsNoCase(p.name, name)) return &p;
  return nullptr;
}

// A dict passed for a record parameter goes in as the record, by reference; after the
// call the dict receives the record's fields.
struct RecordArgument {
  py::dict dict;
  std::unique_ptr<Variant> value;
};

Variant recordFrom(const py::dict& dict, const ParamInfo& param) {
  Record record{param.typeName, {}};
  for (const auto& [name, value] : dict)
    record.fields.emplace_back(toText(name), toVariant(value));
  return Variant(std::move(record));
}

Arg argument(py::handle value, const ParamInfo* param, std::vector<RecordArgument>& records) {
  if (py::isinstance<Ref>(value)) return Arg::ref(value.cast<Ref&>().value);
  if (param && param->type == VarType::Record && py::isinstance<py::dict>(value)) {
    py::dict dict = py::reinterpret_borrow<py::dict>(value);
    records.push_back({dict, std::make_unique<Variant>(recordFrom(dict, *param))});
    return Arg::ref(*records.back().value);
  }
  // Python spells "not given" as None: the parameter takes its declared default.
  if (value.is_none() && param && param->optional) return Arg(Variant::missing());
  return Arg(toVariant(value));
}

// Names starting with "_" belong to Python's protocols (__deepcopy__, _repr_html_, ...);
// no library member is spelled so.
String memberName(const py::str& name) {
  String member = toText(name);
  if (member.empty() || member[0] == u'_')
    throw py::attribute_error("'zivoviviruvov.Object' object has no attribute '" +
                              name.cast<std::string>() + "'");
  return member;
}

// An unknown name at attribute access fails as Python expects (AttributeError) while
// keeping the library's error 438.
const MemberInfo& lookup(const TypeInfo& type, StringView name, unsigned kinds) {
  try {
    return findMember(type, name, kinds);
  } catch (const Error& e) {
    throwUnknownMember(e);
  }
}

bool readAtAccess(const MemberInfo& member) {
  if (member.kind != MemberKind::PropertyGet) return false;
  for (const ParamInfo& p : member.params)
    if (!p.optional) return false;
  return true;
}

// "SetProp" names the put of property Prop when the type has no member of that name.
std::optional<String> propertyPutNamed(const TypeInfo& type, StringView name) {
  if (name.size() <= 3 || !equalsNoCase(name.substr(0, 3), u"Set")) return std::nullopt;
  for (const MemberInfo& m : type.members)
    if (equalsNoCase(m.name, name)) return std::nullopt;
  for (const MemberInfo& m : type.members)
    if ((m.kind == MemberKind::PropertyLet || m.kind == MemberKind::PropertySet) &&
        equalsNoCase(m.name, name.substr(3)))
      return String(m.name);
  return std::nullopt;
}

py::object getAttribute(const Handle& self, const py::str& name) {
  const String member = memberName(name);
  const TypeInfo* type = self.object->typeInfo();
  if (!type) return py::cast(Member{self.object, member});
  if (auto put = propertyPutNamed(*type, member)) return py::cast(PropertyPut{self.object, *put});
  const MemberInfo& info = lookup(*type, member, kMethod | kPropertyGet);
  if (readAtAccess(info)) {
    Args none;
    return toPython(self.object->invoke(info.name, kPropertyGet, none));
  }
  return py::cast(Member{self.object, info.name});
}

void setAttribute(const Handle& self, const py::str& name, py::handle value) {
  const String member = memberName(name);
  Args args;
  args.emplace_back(toVariant(value));
  // VB's Set for objects and Nothing; the library falls back to Let when there is no Set.
  const unsigned kinds = args[0].value().isObject() ? kPropertyPutRef : kPropertyPut;
  const TypeInfo* type = self.object->typeInfo();
  const String canonical = type ? String(lookup(*type, member, kinds).name) : member;
  self.object->invoke(canonical, kinds, args);
}

py::list memberNames(const Handle& self, py::handle pythonSelf) {
  py::list names = py::module_::import("builtins").attr("object").attr("__dir__")(pythonSelf);
  const TypeInfo* type = self.object->typeInfo();
  if (!type) return names;
  std::vector<StringView> seen;
  for (const MemberInfo& m : type->members) {
    bool known = false;
    for (StringView s : seen)
      known = known || equalsNoCase(s, m.name);
    if (known) continue;
    seen.emplace_back(m.name);
    names.append(pythonText(m.name));
  }
  return names;
}

// obj(args): the default member (dispatch id 0), as VB reads coll(i) as coll.Item(i).
py::object callDefault(const Handle& self, const py::args& args, const py::kwargs& kwargs) {
  if (const TypeInfo* type = self.object->typeInfo())
    for (const MemberInfo& m : type->members)
      if (m.dispId == 0)
        return toPython(invokeWith(self.object, m.name, kMethod | kPropertyGet, args, kwargs));
  throw py::type_error("'" + toUtf8(self.object->typeName()) + "' object has no default member");
}

String describe(const Member& member) {
  String text = member.object->typeName() + u"." + member.name;
  if (const TypeInfo* type = member.object->typeInfo()) {
    try {
      text += u": " + describeMember(findMember(*type, member.name, kMethod | kPropertyGet));
    } catch (const Error&) {
    }
  }
  return text;
}

}  // namespace

Variant invokeWith(const ObjectRef& target, StringView name, unsigned kinds, const py::args& args,
                   const py::kwargs& kwargs) {
  // The parameters tell which arguments are optional; an unknown member is left for
  // invoke to report.
  const MemberInfo* member = nullptr;
  const TypeInfo* type = target->typeInfo();
  if (type && !(kinds & (kPropertyPut | kPropertyPutRef))) {
    try {
      member = &findMember(*type, name, kinds);
    } catch (const Error&) {
    }
  }
  Args call;
  std::vector<RecordArgument> records;
  call.reserve(args.size() + kwargs.size());
  for (size_t i = 0; i < args.size(); ++i)
    call.push_back(argument(
        args[i], member && i < member->params.size() ? &member->params[i] : nullptr, records));
  for (const auto& [key, value] : kwargs) {
    String argName = toText(key);
    const ParamInfo* param = member ? parameterNamed(*member, argName) : nullptr;
    call.push_back(argument(value, param, records).named(std::move(argName)));
  }
  Variant result = target->invoke(name, kinds, call);
  for (RecordArgument& record : records)
    record.dict.attr("update")(toPython(*record.value));
  return result;
}

void defineObjects(py::module_& module) {
  py::class_<Ref>(module, "Ref",
                  "A variable passed by reference: pass the Ref, read .value after the call.")
      .def(py::init([](py::handle value) { return Ref{toVariant(value)}; }),
           py::arg("value") = py::none())
      .def_property(
          "value", [](const Ref& self) { return toPython(self.value); },
          [](Ref& self, py::handle value) { self.value = toVariant(value); })
      .def("__repr__", [](const Ref& self) {
        return "Ref(" + py::repr(toPython(self.value)).cast<std::string>() + ")";
      });

  py::class_<Member>(module, "Member",
                     "A member of a library object: call it with arguments by position or name.")
      .def("__call__",
           [](const Member& self, const py::args& args, const py::kwargs& kwargs) {
             return toPython(
                 invokeWith(self.object, self.name, kMethod | kPropertyGet, args, kwargs));
           })
      .def("__getitem__",
           [](const Member& self, py::handle key) {
             return toPython(
                 invokeWith(self.object, self.name, kPropertyGet, indexArguments(key), {}));
           })
      .def("__setitem__",
           [](const Member& self, py::handle key, py::handle value) {
             const unsigned kinds =
                 toVariant(value).isObject() ? kPropertyPutRef : kPropertyPut;
             invokeWith(self.object, self.name, kinds, indexArguments(key, value), {});
           })
      .def("__repr__", [](const Member& self) {
        return "<zivoviviruvov.Member " + toUtf8(describe(self)) + ">";
      });

  py::class_<PropertyPut>(module, "PropertyPut",
                          "An indexed property put: call it with the indexes, then the value.")
      .def("__call__", [](const PropertyPut& self, const py::args& args,
                          const py::kwargs& kwargs) {
        invokeWith(self.object, self.name, kPropertyPut, args, kwargs);
      });

  py::class_<Handle>(module, "Object",
                     "A library object: properties are attributes, methods are called by "
                     "position or parameter name; names are case-insensitive.")
      .def("__getattr__", &getAttribute)
      .def("__setattr__", &setAttribute)
      .def("__call__", &callDefault)
      .def("__dir__", [](py::handle self) { return memberNames(self.cast<const Handle&>(), self); })
      .def("__repr__",
           [](const Handle& self) {
             return "<zivoviviruvov.Object " + toUtf8(self.object->typeName()) + ">";
           })
      .def("__eq__",
           [](const Handle& self, py::handle other) -> py::object {
             if (!py::isinstance<Handle>(other))
               return py::reinterpret_borrow<py::object>(Py_NotImplemented);
             return py::bool_(other.cast<const Handle&>().object == self.object);
           })
      .def("__hash__",
           [](const Handle& self) { return std::hash<const Object*>{}(self.object.get()); })
      .def("__bool__", [](const Handle&) { return true; })
      .def("__len__", [](const Handle& self) { return self.object->enumerate().size(); })
      .def("__iter__", [](const Handle& self) {
        py::list items;
        for (const Variant& item : self.object->enumerate())
          items.append(toPython(item));
        return py::iter(items);
      });
}

}  // namespace zv::python
