"""The Windows face of the API description: the type library's IDL and the COM glue.

idl_text(lib) is the IDL that widl compiles into ZivoviViruvov.tlb; com_source(lib) is the
C++ of one vtable class per creatable class, whose methods implement the dual interface
`_Class` the type library describes, member for member, in the same order.
"""

# The type library gives every enumeration and record an identifier of its own; these are
# ours, fixed once (docs/decisions.md lists them).
TYPE_GUIDS = {
    "TimeCompare": "41D34D02-414B-444C-9C79-43F21B081B0A",
    "RegistryClassConstants": "6E49D668-46FE-4A61-B89B-7F27B684FDBC",
    "DriveType": "F62428B7-5711-476D-A65F-2B2EC1FAE3CE",
    "WindowsRegistryInfo": "306511FA-3236-43DA-B03C-0F569A65314E",
    "ZipMsgLevel": "3CCE8838-0AC4-4F06-9E59-0A9FD880022A",
    "UnZipMsgLevel": "2CD73690-284C-4167-8645-A07F94654CE7",
    "UnZipOverWriteResponse": "A974D80B-782E-46A5-B981-8C8C879AC623",
}

IDL_TYPES = {
    "String": "BSTR", "Boolean": "VARIANT_BOOL", "Byte": "unsigned char", "Integer": "short",
    "Long": "long", "Single": "float", "Double": "double", "Currency": "CURRENCY",
    "Date": "DATE", "Variant": "VARIANT", "Object": "IDispatch*", "Collection": "IDispatch*",
}

# C++ types of the vtable methods (by value; a by-reference parameter is a pointer to it).
CPP_TYPES = {
    "String": "BSTR", "Boolean": "VARIANT_BOOL", "Byte": "BYTE", "Integer": "SHORT",
    "Long": "LONG", "Single": "FLOAT", "Double": "DOUBLE", "Currency": "CY", "Date": "DATE",
    "Variant": "VARIANT", "Object": "IDispatch*", "Collection": "IDispatch*",
}


def bare(guid):
    return guid.strip("{}")


def conversion_kind(lib, type_name, is_array=False):
    """The name of the ComCall conversion for a parameter or result of this type."""
    if is_array:
        return "Array"
    if type_name in lib.enums:
        return "Long"
    if type_name in lib.records:
        return "Record_" + type_name
    return {"Collection": "Object"}.get(type_name, type_name)


def idl_type(lib, type_name, is_array=False):
    if is_array:
        return f"SAFEARRAY({idl_type(lib, type_name)})"
    if type_name in lib.enums or type_name in lib.records:
        return type_name
    return IDL_TYPES[type_name]


def cpp_type(lib, type_name, is_array=False):
    if is_array:
        return "SAFEARRAY*"
    if type_name in lib.enums:
        return "LONG"
    if type_name in lib.records:
        return "ComRecord_" + type_name
    return CPP_TYPES[type_name]


def idl_string(value):
    # widl stores a string's characters as written, escapes included: a tab goes in raw.
    for ch in value:
        if ch in '"\\' or not (0x20 <= ord(ch) < 0x7F or ch == "\t"):
            raise ValueError(f"widl cannot store the default {value!r}")
    return '"' + value + '"'


def idl_default(lib, p):
    d = p.default
    if isinstance(d, bool):
        return "-1" if d else "0"
    if isinstance(d, str) and type(d).__name__ == "StrDefault":
        return idl_string(d)
    if d == "Nothing":
        return "0"
    return repr(d)


def idl_param(lib, p):
    attrs = ["in", "out"] if p.by_ref or p.is_array else ["in"]
    if p.optional:
        attrs.append("optional")
        # widl writes no text default for a by-reference String; the server supplies it.
        if p.default is not None and not (p.by_ref and isinstance(p.default, str)):
            attrs.append(f"defaultvalue({idl_default(lib, p)})")
    t = idl_type(lib, p.type, p.is_array)
    if p.by_ref or p.is_array or p.type in lib.records:
        t += "*"
    return f"[{', '.join(attrs)}] {t} {p.name}"


def idl_member_attrs(m):
    kind = {"PropertyGet": "propget", "PropertyLet": "propput", "PropertySet": "propputref"}
    attrs = [f"id(0x{m.disp_id:08x})" if m.disp_id >= 0 else f"id({m.disp_id})"]
    if m.kind in kind:
        attrs.append(kind[m.kind])
    return ", ".join(attrs)


def idl_text(lib):
    classes = [t for t in lib.types if t.keyword == "class" and not t.private]
    events = {t.source_of: t for t in lib.types if t.keyword == "events"}
    major, minor = lib.version.split(".")
    out = ["// Generated from the API description: do not edit.",
           'import "oaidl.idl";', 'import "ocidl.idl";', "",
           f"[uuid({bare(lib.libid)}), version({major}.{minor}), lcid({lib.lcid}),",
           f' helpstring("{lib.name}")]',
           f"library {lib.name} {{", '  importlib("stdole2.tlb");', ""]
    for t in classes:
        out.append(f"  interface _{t.name};")
    for t in events.values():
        out.append(f"  dispinterface {t.name};")
    out.append("")
    for name, members in lib.enums.items():
        out.append(f"  typedef [uuid({TYPE_GUIDS[name]}), v1_enum] enum {name} {{")
        out.append(",\n".join(f"    {m} = {v}" for m, v in members))
        out.append(f"  }} {name};")
        out.append("")
    for name, fields in lib.records.items():
        out.append(f"  typedef [uuid({TYPE_GUIDS[name]})] struct {name} {{")
        for fname, ftype in fields:
            out.append(f"    {idl_type(lib, ftype)} {fname};")
        out.append(f"  }} {name};")
        out.append("")
    for t in classes:
        out.append(f"  [odl, uuid({bare(t.iid)}), version(1.0), hidden, dual, nonextensible,"
                   f" oleautomation]")
        out.append(f"  interface _{t.name} : IDispatch {{")
        for m in t.members:
            params = [idl_param(lib, p) for p in m.params]
            if m.result:
                params.append(f"[out, retval] {idl_type(lib, m.result, m.result_array)}* result")
            out.append(f"    [{idl_member_attrs(m)}] HRESULT {m.name}({', '.join(params)});")
        out.append("  };")
        out.append("")
    for t in events.values():
        out.append(f"  [uuid({bare(t.clsid)}), hidden]")
        out.append(f"  dispinterface {t.name} {{")
        out.append("    properties:")
        out.append("    methods:")
        for m in t.members:
            params = ", ".join(idl_param(lib, p) for p in m.params)
            out.append(f"    [id({m.disp_id})] void {m.name}({params});")
        out.append("  };")
        out.append("")
    for t in classes:
        out.append(f"  [uuid({bare(t.clsid)}), version(1.0)]")
        out.append(f"  coclass {t.name} {{")
        out.append(f"    [default] interface _{t.name};")
        if t.name in events:
            out.append(f"    [default, source] dispinterface {events[t.name].name};")
        out.append("  };")
        out.append("")
    out.append("};")
    out.append("")
    return "\n".join(out)


# ---------------------------------------------------------------------------- COM glue

def vtable_name(m):
    return {"PropertyGet": "get_", "PropertyLet": "put_", "PropertySet": "putref_"}.get(
        m.kind, "") + m.name


def cpp_params(lib, m):
    args = []
    for j, p in enumerate(m.params):
        t = cpp_type(lib, p.type, p.is_array)
        if p.is_array or p.by_ref or p.type in lib.records:
            t += "*"
        args.append(f"{t} a{j}")
    if m.result:
        args.append(f"{cpp_type(lib, m.result, m.result_array)}* result")
    return ", ".join(args)


def com_source(lib):
    classes = [t for t in lib.types if t.keyword == "class" and not t.private]
    out = ["// Generated from the API description: do not edit.",
           "// One vtable class per creatable class: the dual interface _Class of the type",
           "// library, member for member, each method handing its arguments to the library",
           "// object by member index.",
           '#include "com/com_call.h"', "", "namespace zv::com {", ""]
    for name, fields in lib.records.items():
        out.append(f"struct ComRecord_{name} {{")
        for fname, ftype in fields:
            out.append(f"  {cpp_type(lib, ftype)} {fname};")
        out.append("};")
        out.append(f"inline Variant recordIn(const ComRecord_{name}& r) {{")
        out.append(f"  Record v{{u\"{name}\", {{}}}};")
        for fname, ftype in fields:
            out.append(f"  v.fields.emplace_back(u\"{fname}\", ComCall::value_{conversion_kind(lib, ftype)}(r.{fname}));")
        out += ["  return Variant(std::move(v));", "}"]
        out.append(f"inline void recordOut(const Variant& v, ComRecord_{name}& r) {{")
        out.append("  if (v.type() != VarType::Record) return;")
        for fname, ftype in fields:
            out.append(f"  ComCall::store_{conversion_kind(lib, ftype)}(v.recordValue().field(u\"{fname}\"), &r.{fname});")
        out += ["}", ""]
        out.append(f"inline void ref_Record_{name}(ComCall& c, ComRecord_{name}* p) {{")
        out.append(f"  c.addRef(p ? recordIn(*p) : Variant(), [p](const Variant& v) {{ if (p) recordOut(v, *p); }});")
        out += ["}", ""]
    for t in classes:
        out.append(f"struct I_{t.name} : public IDispatch {{")
        for m in t.members:
            out.append(f"  virtual HRESULT STDMETHODCALLTYPE {vtable_name(m)}({cpp_params(lib, m)}) = 0;")
        out += ["};", ""]
        out.append(f"class Com_{t.name} final : public ComObject<I_{t.name}> {{")
        out.append(" public:")
        out.append("  using ComObject::ComObject;")
        for i, m in enumerate(t.members):
            out.append(f"  HRESULT STDMETHODCALLTYPE {vtable_name(m)}({cpp_params(lib, m)}) override {{")
            out.append(f"    ComCall c(*this, {i});")
            for j, p in enumerate(m.params):
                kind = conversion_kind(lib, p.type, p.is_array)
                if p.type in lib.records and not p.is_array:
                    out.append(f"    ref_{kind}(c, a{j});")
                elif p.is_array or p.by_ref:
                    out.append(f"    c.ref_{kind}(a{j});")
                else:
                    out.append(f"    c.in_{kind}(a{j});")
            if m.result:
                out.append(f"    return c.run_{conversion_kind(lib, m.result, m.result_array)}(result);")
            else:
                out.append("    return c.run();")
            out.append("  }")
        out += ["};", ""]
    out.append("const ComClassEntry kComClasses[] = {")
    for t in classes:
        out.append(f"    {{u\"{t.name}\", &kIID_{t.name}, &kCLSID_{t.name}, "
                   f"[](ObjectRef o) -> IDispatch* {{ return new Com_{t.name}(std::move(o), "
                   f"kIID_{t.name}, kCLSID_{t.name}); }}}},")
    out += ["};", "", "std::span<const ComClassEntry> comClasses() { return kComClasses; }", "",
            "}  // namespace zv::com", ""]
    return "\n".join(out)


def guid_struct(guid):
    g = bare(guid)
    parts = g.split("-")
    tail = parts[3] + parts[4]
    b = ", ".join(f"0x{tail[i:i + 2]}" for i in range(0, 16, 2))
    return f"{{0x{parts[0]}, 0x{parts[1]}, 0x{parts[2]}, {{{b}}}}}"


def com_ids_header(lib):
    """GUID constants of the type library, for the COM server and the Windows tests."""
    classes = [t for t in lib.types if t.keyword == "class" and not t.private]
    events = [t for t in lib.types if t.keyword == "events"]
    out = ["// Generated from the API description: do not edit.", "#pragma once", "",
           "#include <guiddef.h>", "", "namespace zv::com {", "",
           f"inline constexpr GUID kLIBID = {guid_struct(lib.libid)};"]
    for t in classes:
        out.append(f"inline constexpr GUID kCLSID_{t.name} = {guid_struct(t.clsid)};")
        out.append(f"inline constexpr GUID kIID_{t.name} = {guid_struct(t.iid)};")
    for t in events:
        out.append(f"inline constexpr GUID kDIID_{t.name} = {guid_struct(t.clsid)};")
    for name, guid in TYPE_GUIDS.items():
        out.append(f"inline constexpr GUID kTYPEID_{name} = {guid_struct(guid)};")
    out += ["", "}  // namespace zv::com", ""]
    return "\n".join(out)


# ---------------------------------------------------------------------------- models

def model_types(lib):
    return [t for t in lib.types if t.keyword == "model"]


def models_idl_text(lib):
    """The models' own type library: one dispinterface per model, named after it (what
    TypeName shows), and a coclass `<Model>Model` for each creatable one."""
    major, minor = lib.models_version.split(".")
    models = model_types(lib)
    out = ["// Generated from the API description: do not edit.",
           'import "oaidl.idl";', "",
           f"[uuid({bare(lib.models_libid)}), version({major}.{minor}),",
           f' helpstring("{lib.name} models of the caller\'s controls")]',
           f"library {lib.models_name} {{", '  importlib("stdole2.tlb");', ""]
    for t in models:
        out.append(f"  dispinterface {t.name};")
    out.append("")
    for t in models:
        out.append(f"  [uuid({bare(t.iid)})]")
        out.append(f"  dispinterface {t.name} {{")
        out.append("    properties:")
        out.append("    methods:")
        for m in t.members:
            params = ", ".join(idl_param(lib, p) for p in m.params)
            result = idl_type(lib, m.result, m.result_array) if m.result else "void"
            out.append(f"    [{idl_member_attrs(m)}] {result} {m.name}({params});")
        if any(m.name == "Item" and m.disp_id == 0 for m in t.members):
            out.append("    [id(0xfffffffc), propget, restricted] IUnknown* _NewEnum();")
        out.append("  };")
        out.append("")
    for t in models:
        if t.clsid:
            out.append(f"  [uuid({bare(t.clsid)})]")
            out.append(f"  coclass {t.name}Model {{")
            out.append(f"    [default] dispinterface {t.name};")
            out.append("  };")
            out.append("")
    out.append("};")
    out.append("")
    return "\n".join(out)


def models_com_source(lib):
    """The models' identifiers for the COM server: library, dispinterfaces, classes."""
    out = ["// Generated from the API description: do not edit.",
           '#include "com/com_models.h"', "", "namespace zv::com {", "",
           "namespace {", "",
           f"constexpr GUID kModelsLibid = {guid_struct(lib.models_libid)};"]
    entries = []
    for t in model_types(lib):
        out.append(f"constexpr GUID kDIID_{t.name} = {guid_struct(t.iid)};")
        clsid = "nullptr"
        if t.clsid:
            out.append(f"constexpr GUID kModelCLSID_{t.name} = {guid_struct(t.clsid)};")
            clsid = f"&kModelCLSID_{t.name}"
        entries.append(f"    {{u\"{t.name}\", &kDIID_{t.name}, {clsid}}},")
    major, minor = lib.models_version.split(".")
    out += ["", "const ComModelEntry kModels[] = {"] + entries + ["};", "", "}  // namespace", "",
            "std::span<const ComModelEntry> comModels() { return kModels; }",
            "const GUID& modelsLibraryId() { return kModelsLibid; }",
            f"const wchar_t* modelsProgIdPrefix() {{ return L\"{lib.name}.Models.\"; }}",
            f"unsigned short modelsLibraryMajor() {{ return {major}; }}",
            f"unsigned short modelsLibraryMinor() {{ return {minor}; }}",
            "", "}  // namespace zv::com", ""]
    return "\n".join(out)
