#!/usr/bin/env python3
"""Turns the API description (api/*.api) into C++ interfaces, dispatch tables, the class
registry and the IDL of the Windows type library.

Usage: apigen.py API_DIR SRC_DIR OUT_DIR
Writes OUT_DIR/api/*.h and OUT_DIR/api/*.cpp, and for Windows OUT_DIR/ZivoviViruvov.idl,
OUT_DIR/com/com_ids.h and OUT_DIR/com/com_classes.cpp, and the Python type stubs
OUT_DIR/python/zivoviviruvov.pyi, touching only files whose text
changes so that rebuilds stay small.
"""
import os
import re
import sys
from dataclasses import dataclass, field

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import idl  # noqa: E402  (the Windows face: type library IDL and COM glue)
import pyi  # noqa: E402  (the Python face: type stubs)
from vb_text import StrDefault  # noqa: E402

SCALARS = {
    # api type: (VarType, by-value C++ type, by-reference C++ type, IDL type)
    "String": ("String", "const String&", "String&", "BSTR"),
    "Boolean": ("Boolean", "bool", "bool&", "VARIANT_BOOL"),
    "Byte": ("Byte", "uint8_t", "uint8_t&", "unsigned char"),
    "Integer": ("Integer", "int16_t", "int16_t&", "short"),
    "Long": ("Long", "int32_t", "int32_t&", "long"),
    "Single": ("Single", "float", "float&", "float"),
    "Double": ("Double", "double", "double&", "double"),
    "Currency": ("Currency", "Currency", "Currency&", "CURRENCY"),
    "Date": ("Date", "Date", "Date&", "DATE"),
    "Variant": ("Variant", "const Variant&", "Variant&", "VARIANT"),
    "Object": ("Object", "const ObjectRef&", "ObjectRef&", "IDispatch*"),
    "Collection": ("Object", "const ObjectRef&", "ObjectRef&", "IDispatch*"),
}
# The C++ value type a parameter is coerced to (Binding::in<T> / ref<T>).
VALUE_TYPES = {
    "String": "String", "Boolean": "bool", "Byte": "uint8_t", "Integer": "int16_t",
    "Long": "int32_t", "Single": "float", "Double": "double", "Currency": "Currency",
    "Date": "Date", "Variant": "Variant", "Object": "ObjectRef", "Collection": "ObjectRef",
}


# The source tree, where hand-written class implementations live (src/<folder>/<Class>.h).
SRC_DIR = "src"


class ApiError(Exception):
    pass


@dataclass
class Param:
    name: str
    type: str
    by_ref: bool = False
    optional: bool = False
    is_array: bool = False
    default: object = None  # None, or a parsed default (bool, int, float, str, "Nothing")


@dataclass
class Member:
    kind: str  # Function, Sub, PropertyGet, PropertyLet, PropertySet
    name: str
    params: list
    result: str = ""  # api type name, "" when none
    result_array: bool = False
    disp_id: int = 0
    explicit_id: bool = False
    # A model's property whose value the generated interface keeps (`Property Name As Type`).
    stored: bool = False
    stored_default: object = None
    summary: str = ""  # one line: what the member does (`summary` after its declaration)


@dataclass
class Type:
    keyword: str  # class, model, events
    name: str
    private: bool = False
    folder: str = ""
    clsid: str = ""
    iid: str = ""
    source_of: str = ""
    header: str = ""  # the implementation header's name, when not the type's own
    summary: str = ""
    members: list = field(default_factory=list)


@dataclass
class Library:
    name: str = ""
    libid: str = ""
    version: str = ""
    lcid: int = 0
    enums: dict = field(default_factory=dict)  # name -> [(member, value)]
    records: dict = field(default_factory=dict)  # name -> [(field, type)]
    types: list = field(default_factory=list)
    order: list = field(default_factory=list)  # class names in registration order
    # The models' own small type library (Windows): name, identifier, version.
    models_name: str = ""
    models_libid: str = ""
    models_version: str = ""


DECL = re.compile(
    r"^(Function|Sub|Property\s+Get|Property\s+Let|Property\s+Set)\s+(\w+)\s*\((.*)\)"
    r"(?:\s+As\s+(\w+)(\(\))?)?(?:\s+id\s+(-?\d+))?$")
STORED = re.compile(r"^Property\s+(\w+)\s+As\s+(\w+)(?:\s+id\s+(-?\d+))?(?:\s*=\s*(.+))?$")
PARAM = re.compile(
    r"^(Optional\s+)?(ByVal\s+|ByRef\s+)?(\w+)\s+As\s+(\w+)(\(\))?(?:\s*=\s*(.+))?$")
GUID = re.compile(r"^\{[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\}$")


def split_params(text):
    parts, depth, quoted, current = [], 0, False, ""
    for ch in text:
        if ch == '"':
            quoted = not quoted
        elif not quoted and ch == "(":
            depth += 1
        elif not quoted and ch == ")":
            depth -= 1
        if ch == "," and not quoted and depth == 0:
            parts.append(current.strip())
            current = ""
        else:
            current += ch
    if current.strip():
        parts.append(current.strip())
    return parts


def parse_default(text, where):
    text = text.strip()
    if text in ("True", "False"):
        return text == "True"
    if text == "Nothing":
        return "Nothing"
    if re.fullmatch(r"-?\d+", text):
        return int(text)
    if re.fullmatch(r"-?\d*\.\d+(?:[eE][-+]?\d+)?", text):
        return float(text)
    pieces, value = [p.strip() for p in split_concat(text)], ""
    for piece in pieces:
        if len(piece) >= 2 and piece[0] == '"' and piece[-1] == '"':
            value += piece[1:-1].replace('""', '"')
        elif piece in ("vbCr", "vbLf", "vbCrLf", "vbTab"):
            value += {"vbCr": "\r", "vbLf": "\n", "vbCrLf": "\r\n", "vbTab": "\t"}[piece]
        elif re.fullmatch(r"Chr\$?\(\d+\)", piece):
            value += chr(int(re.search(r"\d+", piece).group()))
        else:
            raise ApiError(f"{where}: cannot read default {text!r}")
    return StrDefault(value)


def split_concat(text):
    parts, quoted, current = [], False, ""
    for ch in text:
        if ch == '"':
            quoted = not quoted
        if ch == "&" and not quoted:
            parts.append(current)
            current = ""
        else:
            current += ch
    parts.append(current)
    return parts


def parse(api_dir):
    lib = Library()
    files = sorted(f for f in os.listdir(api_dir) if f.endswith(".api"))
    # library.api first: it declares the enumerations and records the classes use.
    files.sort(key=lambda f: f != "library.api")
    for fname in files:
        block = None
        for number, raw in enumerate(open(os.path.join(api_dir, fname), encoding="utf-8"), 1):
            line = raw.strip()
            where = f"{fname}:{number}"
            if not line or line.startswith("'") or line.startswith("#"):
                continue
            words = line.split()
            if line == "end":
                if block is None:
                    raise ApiError(f"{where}: 'end' outside a block")
                block = None
                continue
            if block is None:
                if words[0] == "order":
                    lib.order = words[1:]
                elif words[0] == "library":
                    lib.name, lib.libid, lib.version = words[1], words[2], words[3]
                    lib.lcid = int(words[5])
                elif words[0] == "modellibrary":
                    lib.models_name, lib.models_libid, lib.models_version = words[1:4]
                elif words[0] == "enum":
                    block = ("enum", words[1])
                    lib.enums[words[1]] = []
                elif words[0] == "record":
                    block = ("record", words[1])
                    lib.records[words[1]] = []
                elif words[0] in ("class", "model"):
                    t = Type(words[0], words[1], private="private" in words[2:])
                    lib.types.append(t)
                    block = ("type", t)
                elif words[0] == "events":
                    t = Type("events", words[1], clsid=words[2], source_of=words[4])
                    lib.types.append(t)
                    block = ("type", t)
                else:
                    raise ApiError(f"{where}: unknown declaration {words[0]!r}")
                continue
            kind, target = block
            if kind == "enum":
                m = re.fullmatch(r"(\w+)\s*=\s*(-?\d+)", line)
                if not m:
                    raise ApiError(f"{where}: bad enumeration member")
                lib.enums[target].append((m.group(1), int(m.group(2))))
            elif kind == "record":
                m = re.fullmatch(r"(\w+)\s+As\s+(\w+)", line)
                if not m:
                    raise ApiError(f"{where}: bad record field")
                lib.records[target].append((m.group(1), m.group(2)))
            elif words[0] in ("folder", "clsid", "iid", "header"):
                setattr(target, words[0], words[1])
            elif words[0] == "summary":
                # Before the first member it describes the type, after one that member.
                owner = target.members[-1] if target.members else target
                if owner.summary:
                    raise ApiError(f"{where}: a second summary")
                owner.summary = line[len("summary"):].strip()
            elif target.keyword == "model" and STORED.match(line):
                target.members += parse_stored(line, where)
            else:
                target.members.append(parse_member(line, where))
    classes = [t.name for t in lib.types if t.keyword == "class"]
    if sorted(classes) != sorted(lib.order):
        raise ApiError("the 'order' line must name every class exactly once")
    lib.types.sort(key=lambda t: lib.order.index(t.name) if t.keyword == "class" else len(lib.order))
    check(lib)
    return lib


def parse_member(line, where):
    m = DECL.match(line)
    if not m:
        raise ApiError(f"{where}: cannot read declaration")
    kind = m.group(1).replace(" ", "").replace("\t", "")
    params = []
    for ptext in split_params(m.group(3)):
        pm = PARAM.match(ptext)
        if not pm:
            raise ApiError(f"{where}: cannot read parameter {ptext!r}")
        p = Param(pm.group(3), pm.group(4), by_ref=(pm.group(2) or "").strip() == "ByRef",
                  optional=bool(pm.group(1)), is_array=bool(pm.group(5)))
        if pm.group(6) is not None:
            if not p.optional:
                raise ApiError(f"{where}: default on a required parameter")
            p.default = parse_default(pm.group(6), where)
        params.append(p)
    member = Member(kind, m.group(2), params, m.group(4) or "", bool(m.group(5)))
    if kind in ("Function", "PropertyGet") and not member.result:
        raise ApiError(f"{where}: {kind} without a result type")
    if m.group(6):
        member.disp_id, member.explicit_id = int(m.group(6)), True
    return member


def parse_stored(line, where):
    """`Property Name As Type [id N] [= default]`: a read-write property the model keeps."""
    m = STORED.match(line)
    name, type_name = m.group(1), m.group(2)
    if type_name in ("Object", "Collection"):
        raise ApiError(f"{where}: a stored property holds a value, not an object")
    default = parse_default(m.group(4), where) if m.group(4) is not None else None
    get = Member("PropertyGet", name, [], type_name, stored=True, stored_default=default)
    let = Member("PropertyLet", name, [Param("newValue", type_name)], stored=True)
    if m.group(3):
        for member in (get, let):
            member.disp_id, member.explicit_id = int(m.group(3)), True
    return [get, let]


def check(lib):
    known = set(SCALARS) | set(lib.enums) | set(lib.records)
    for t in lib.types:
        if t.keyword == "class" and not t.private:
            for attr in ("clsid", "iid"):
                if not GUID.match(getattr(t, attr)):
                    raise ApiError(f"class {t.name}: missing or bad {attr}")
        if t.keyword in ("class", "model") and not t.folder:
            raise ApiError(f"{t.keyword} {t.name}: no folder")
        seen = set()
        summarized = {m.name.lower() for m in t.members if m.summary}
        for m in t.members:
            if t.keyword == "class" and m.name.lower() not in summarized:
                raise ApiError(f"{t.name}.{m.name}: no summary")
            key = (m.name.lower(), m.kind in ("PropertyLet", "PropertySet"), m.kind)
            if key in seen:
                raise ApiError(f"{t.name}.{m.name}: declared twice")
            seen.add(key)
            optional_seen = False
            for p in m.params:
                if p.type not in known:
                    raise ApiError(f"{t.name}.{m.name}: unknown type {p.type}")
                if optional_seen and not p.optional:
                    raise ApiError(f"{t.name}.{m.name}: required {p.name} after an optional")
                optional_seen |= p.optional
            if m.result and m.result not in known:
                raise ApiError(f"{t.name}.{m.name}: unknown result type {m.result}")
        assign_ids(t)


def assign_ids(t):
    """Members sharing a name (property get/let/set) share one dispatch id."""
    ids = {}
    base = 1 if t.keyword == "events" else 0x60030000
    for m in t.members:
        if m.explicit_id:
            continue
        m.disp_id = ids.setdefault(m.name.lower(), base + len(ids))


# ---------------------------------------------------------------------------- C++ output

def cpp_string(value):
    out = ['u"']
    for ch in value:
        code = ord(ch)
        if ch == '"':
            out.append('\\"')
        elif ch == "\\":
            out.append("\\\\")
        elif ch == "\r":
            out.append("\\r")
        elif ch == "\n":
            out.append("\\n")
        elif ch == "\t":
            out.append("\\t")
        elif 0x20 <= code < 0x7F:
            out.append(ch)
        else:
            # Close and reopen the literal so a following hex digit is not swallowed.
            out.append(f'\\x{code:04X}" u"')
    out.append('"')
    return "".join(out)


def var_type(lib, type_name, is_array=False):
    if is_array:
        return "VarType::Array"
    if type_name in lib.enums:
        return "VarType::Long"
    if type_name in lib.records:
        return "VarType::Record"
    return "VarType::" + SCALARS[type_name][0]


def value_type(lib, type_name, is_array=False):
    if is_array:
        return "Variant"
    if type_name in lib.enums:
        return "int32_t"
    if type_name in lib.records:
        return type_name
    return VALUE_TYPES[type_name]


def param_cpp(lib, p):
    vt = value_type(lib, p.type, p.is_array)
    if p.by_ref:
        return vt + "&"
    if vt in ("String", "Variant", "ObjectRef") or p.type in lib.records:
        return f"const {vt}&"
    return vt


def result_cpp(lib, m):
    return value_type(lib, m.result, m.result_array) if m.result else "void"


def default_variant(lib, p):
    """A C++ expression for the Variant holding p's default."""
    d = p.default
    if d is None:
        return "Variant::missing()"
    if d == "Nothing" and not isinstance(d, StrDefault):
        return "Variant::nothing()"
    if isinstance(d, bool):
        return f"Variant({'true' if d else 'false'})"
    if isinstance(d, StrDefault):
        return f"Variant(String({cpp_string(d)}))"
    if isinstance(d, int):
        if -32768 <= d <= 32767:
            return f"Variant(static_cast<int16_t>({d}))"
        if -2147483648 <= d <= 2147483647:
            return f"Variant(static_cast<int32_t>({d}))"
        return f"Variant({float(d)!r})"
    return f"Variant({d!r})"


def default_cpp_argument(lib, p):
    """A C++ default argument for p, or None when C++ cannot express it."""
    if p.by_ref or not p.optional:
        return None
    vt = value_type(lib, p.type, p.is_array)
    if vt == "Variant":
        return default_variant(lib, p)
    d = p.default
    if d is None:
        return {"String": "String()", "bool": "false", "ObjectRef": "nullptr"}.get(vt, f"{vt}{{}}")
    if vt == "ObjectRef":
        return "nullptr"
    if vt == "String":
        return f"String({cpp_string(d)})" if isinstance(d, StrDefault) else None
    if vt == "bool":
        return "true" if d is True else "false"
    if vt == "Currency":
        return f"Currency{{{int(round(float(d) * 10000))}}}"
    if vt == "Date":
        return f"Date{{{float(d)!r}}}"
    if isinstance(d, (int, float)) and not isinstance(d, bool):
        return f"static_cast<{vt}>({d!r})"
    return None


def cpp_name(m):
    return {"PropertyGet": "get_", "PropertyLet": "let_", "PropertySet": "set_"}.get(m.kind, "") + m.name


def signature(lib, m, with_defaults, with_names=True):
    args = []
    defaults = []
    for p in m.params:
        args.append(f"{param_cpp(lib, p)} {p.name}" if with_names else param_cpp(lib, p))
        defaults.append(default_cpp_argument(lib, p) if with_defaults else None)
    # Only a trailing run of expressible defaults can be C++ default arguments.
    for i in range(len(args) - 1, -1, -1):
        if defaults[i] is None:
            break
        args[i] += f" = {defaults[i]}"
    return f"{result_cpp(lib, m)} {cpp_name(m)}({', '.join(args)})"


def type_info_block(lib, t, prefix):
    lines = []
    for i, m in enumerate(t.members):
        for j, p in enumerate(m.params):
            if p.optional:
                lines.append(f"const Variant kDefault{i}_{j} = {default_variant(lib, p)};")
        if m.params:
            lines.append(f"const ParamInfo kParams{i}[] = {{")
            for j, p in enumerate(m.params):
                tname = p.type + ("()" if p.is_array else "")
                default = f"&kDefault{i}_{j}" if p.optional else "nullptr"
                lines.append(
                    f"    {{{cpp_string(p.name)}, {cpp_string(tname)}, {var_type(lib, p.type, p.is_array)}, "
                    f"{str(p.by_ref).lower()}, {str(p.optional).lower()}, {str(p.is_array).lower()}, {default}}},")
            lines.append("};")
    lines.append(f"const MemberInfo kMembers[] = {{")
    for i, m in enumerate(t.members):
        params = f"kParams{i}" if m.params else "std::span<const ParamInfo>()"
        rname = m.result + ("()" if m.result_array else "")
        rtype = var_type(lib, m.result, m.result_array) if m.result else "VarType::Empty"
        lines.append(
            f"    {{{cpp_string(m.name)}, MemberKind::{m.kind}, {m.disp_id}, {params}, "
            f"{cpp_string(rname)}, {rtype}, {i}}},")
    lines.append("};")
    lines.append(f"const TypeInfo kTypeInfo = {{{cpp_string(t.name)}, kMembers}};")
    return lines


def dispatch_case(lib, t, i, m):
    lines = [f"    case {i}: {{"]
    names = []
    for j, p in enumerate(m.params):
        vt = value_type(lib, p.type, p.is_array)
        if p.by_ref and vt == "Variant":
            lines.append(f"      Variant& a{j} = args.variant({j});")
            names.append(f"a{j}")
        elif p.by_ref:
            lines.append(f"      auto a{j} = args.ref<{vt}>({j});")
            names.append(f"*a{j}")
        else:
            lines.append(f"      auto a{j} = args.in<{vt}>({j});")
            names.append(f"a{j}")
    call = f"{cpp_name(m)}({', '.join(names)})"
    if not m.result:
        lines.append(f"      {call};")
        lines.append("      return Variant();")
    elif m.result in lib.records and not m.result_array:
        lines.append(f"      return toVariant({call});")
    else:
        lines.append(f"      return Variant({call});")
    lines.append("    }")
    return lines


def interface_header(lib, t):
    cls = t.name
    pure = t.keyword == "model"
    out = [
        "// Generated from the API description: do not edit.",
        "#pragma once", "",
        '#include "api/library.h"',
        '#include "runtime/library_object.h"', "",
        "namespace zv {", "",
        f"class {cls} : public LibraryObject {{",
        " public:",
        f"  static const TypeInfo& type();",
        f"  static std::shared_ptr<{cls}> create();",
        "  const TypeInfo* typeInfo() const override { return &type(); }", "",
    ]
    if t.private and pure:  # a private model is made only by its collection
        out = [line for line in out if "create();" not in line]
    fields = []
    for m in t.members:
        if m.stored and m.kind == "PropertyGet":
            out.append(f"  virtual {signature(lib, m, True)} {{ return stored_{m.name}; }}")
            fields.append(f"  {value_type(lib, m.result)} stored_{m.name}{stored_initializer(lib, m)};")
        elif m.stored:
            out.append(f"  virtual {signature(lib, m, True)} {{ stored_{m.name} = newValue; }}")
        else:
            out.append(f"  virtual {signature(lib, m, True)}{' = 0' if pure else ''};")
    out += ["", " protected:",
            "  Variant dispatch(const MemberInfo& member, Binding& args) override;",
            "  StringView errorSource() const override;"]
    out += fields
    out += ["};", "", "}  // namespace zv", ""]
    return "\n".join(out)


def stored_initializer(lib, m):
    """The brace initializer of a stored property's field: its declared default, else the
    type's empty value."""
    if m.stored_default is None:
        return "{}"
    p = Param("value", m.result, optional=True, default=m.stored_default)
    value = default_variant(lib, p) if value_type(lib, m.result) == "Variant" else default_cpp_argument(lib, p)
    return f"{{{value}}}"


def interface_source(lib, t):
    cls = t.name
    out = ["// Generated from the API description: do not edit.",
           f'#include "api/{cls}.h"', ""]
    impl = f"{impl_namespace(t)}::{cls}"
    if t.keyword == "class" and not os.path.exists(os.path.join(SRC_DIR, t.folder, f"{cls}.h")):
        # A class whose implementation is not written yet is this interface itself, so
        # each of its members fails with error 438. (Decided here rather than with
        # __has_include, so that a new implementation header changes this file and
        # every build, cached or not, picks it up.)
        out += [f"#define ZV_IMPLEMENTATION {cls}", ""]
    else:
        out += [f'#include "{t.folder}/{t.header or cls}.h"', f"#define ZV_IMPLEMENTATION {impl}", ""]
    out += ["namespace zv {", "", "namespace {", ""]
    out += type_info_block(lib, t, cls)
    out += ["", "}  // namespace", "",
            f"const TypeInfo& {cls}::type() {{ return kTypeInfo; }}", ""]
    if not (t.private and t.keyword == "model"):
        out += [f"std::shared_ptr<{cls}> {cls}::create() {{ return std::make_shared<ZV_IMPLEMENTATION>(); }}",
                ""]
    source = f"{lib.name}.{t.name}" if t.keyword == "class" else lib.name
    out += [f"StringView {cls}::errorSource() const {{ return {cpp_string(source)}; }}", ""]
    if t.keyword == "class":
        for m in t.members:
            sig = signature(lib, m, False, with_names=False)
            out.append(f"{result_cpp(lib, m)} {cls}::{rest_of(sig, lib, m)} {{")
            out.append(f"  notBuilt({cpp_string(t.name)}, {cpp_string(m.name)});")
            out.append("}")
            out.append("")
    out += [f"Variant {cls}::dispatch(const MemberInfo& member, [[maybe_unused]] Binding& args) {{",
            "  switch (member.index) {"]
    for i, m in enumerate(t.members):
        out += dispatch_case(lib, t, i, m)
    out += ["  }", "  notBuilt(type().name, member.name);", "}", "", "}  // namespace zv", ""]
    return "\n".join(out)


def impl_namespace(t):
    """Hand-written classes live in zv::impl, control models in zv::models."""
    return "impl" if t.keyword == "class" else "models"


def rest_of(sig, lib, m):
    """The declarator part of a signature (name and parameters), unqualified."""
    return sig[len(result_cpp(lib, m)) + 1:]


def library_header(lib):
    out = ["// Generated from the API description: do not edit.", "#pragma once", "",
           "#include <memory>", "#include <span>", "",
           '#include "runtime/convert.h"', '#include "runtime/errors.h"', '#include "runtime/object.h"',
           '#include "runtime/typeinfo.h"', "", "namespace zv {", "",
           f"inline constexpr char16_t kLibraryName[] = {cpp_string(lib.name)};",
           f"inline constexpr char16_t kLibraryId[] = {cpp_string(lib.libid)};",
           f"inline constexpr unsigned short kLibraryMajor = {lib.version.split('.')[0]};",
           f"inline constexpr unsigned short kLibraryMinor = {lib.version.split('.')[1]};",
           f"inline constexpr unsigned kLibraryLcid = {lib.lcid};", ""]
    for name, fields in lib.records.items():
        out.append(f"struct {name} {{")
        for fname, ftype in fields:
            out.append(f"  {value_type(lib, ftype)} {fname}{{}};")
        out += ["};", "",
                f"Variant toVariant(const {name}& value);",
                f"template <>\n{name} coerce<{name}>(const Variant& v);", ""]
    out += [
        "struct EnumMember {", "  const char16_t* name;", "  int32_t value;", "};", "",
        "struct EnumInfo {", "  const char16_t* name;", "  std::span<const EnumMember> members;", "};",
        "",
        "struct ClassInfo {",
        "  const char16_t* name;",
        "  const char16_t* progId;  // empty for a private class",
        "  const char16_t* clsid;",
        "  const char16_t* iid;",
        "  bool creatable;",
        "  const TypeInfo* type;",
        "  const TypeInfo* events;  // nullptr when the class raises none",
        "  const char16_t* eventsIid;",
        "  ObjectRef (*create)();",
        "};", "",
        "std::span<const ClassInfo> libraryClasses();",
        "std::span<const EnumInfo> libraryEnums();",
        "struct ModelInfo {", "  const TypeInfo* type;", "  ObjectRef (*create)();", "};", "",
        "std::span<const ModelInfo> libraryModels();", "",
        "}  // namespace zv", ""]
    return "\n".join(out)


def library_source(lib):
    classes = [t for t in lib.types if t.keyword == "class"]
    models = [t for t in lib.types if t.keyword == "model"]
    events = {t.source_of: t for t in lib.types if t.keyword == "events"}
    out = ["// Generated from the API description: do not edit.", '#include "api/library.h"', ""]
    for t in classes + models:
        out.append(f'#include "api/{t.name}.h"')
    out += ["", "namespace zv {", ""]
    for name, fields in lib.records.items():
        out.append(f"Variant toVariant(const {name}& value) {{")
        out.append(f"  Record r{{{cpp_string(name)}, {{}}}};")
        for fname, _ in fields:
            out.append(f"  r.fields.emplace_back({cpp_string(fname)}, Variant(value.{fname}));")
        out += ["  return Variant(std::move(r));", "}", ""]
        out.append(f"template <>\n{name} coerce<{name}>(const Variant& v) {{")
        # A variable never assigned (Empty) is a record of empty fields; fields the value
        # lacks keep their empty value.
        out += [f"  {name} out;",
                "  if (v.isEmpty()) return out;",
                "  if (v.type() != VarType::Record) raise(err::kTypeMismatch);",
                "  for (const auto& [field, value] : v.recordValue().fields) {"]
        for i, (fname, ftype) in enumerate(fields):
            keyword = "if" if i == 0 else "else if"
            out.append(f"    {keyword} (equalsNoCase(field, {cpp_string(fname)})) "
                       f"out.{fname} = coerce<{value_type(lib, ftype)}>(value);")
        out += ["  }", "  return out;", "}", ""]
    out.append("namespace {")
    out.append("")
    for t in events.values():
        out.append(f"namespace events_{t.source_of} {{")
        out += type_info_block(lib, t, t.name)
        out.append(f"}}  // namespace events_{t.source_of}")
        out.append("")
    for name, members in lib.enums.items():
        out.append(f"const EnumMember kEnum{name}[] = {{")
        for mname, value in members:
            out.append(f"    {{{cpp_string(mname)}, {value}}},")
        out.append("};")
    out.append("const EnumInfo kEnums[] = {")
    for name in lib.enums:
        out.append(f"    {{{cpp_string(name)}, kEnum{name}}},")
    out.append("};")
    out += ["", "const ClassInfo kClasses[] = {"]
    for t in classes:
        progid = "" if t.private else f"{lib.name}.{t.name}"
        ev = events.get(t.name)
        ev_info = f"&events_{t.name}::kTypeInfo" if ev else "nullptr"
        ev_iid = cpp_string(ev.clsid) if ev else cpp_string("")
        out.append(
            f"    {{{cpp_string(t.name)}, {cpp_string(progid)}, {cpp_string(t.clsid)}, "
            f"{cpp_string(t.iid)}, {str(not t.private).lower()}, &{t.name}::type(), "
            f"{ev_info}, {ev_iid}, "
            f"[]() -> ObjectRef {{ return {t.name}::create(); }}}},")
    out.append("};")
    out.append("const ModelInfo kModels[] = {")
    for t in models:
        if not t.private:
            out.append(f"    {{&{t.name}::type(), []() -> ObjectRef {{ return {t.name}::create(); }}}},")
    out += ["};", "", "}  // namespace", "",
            "std::span<const ClassInfo> libraryClasses() { return kClasses; }",
            "std::span<const EnumInfo> libraryEnums() { return kEnums; }",
            "std::span<const ModelInfo> libraryModels() { return kModels; }",
            "", "}  // namespace zv", ""]
    return "\n".join(out)


def write_if_changed(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if os.path.exists(path) and open(path, encoding="utf-8").read() == text:
        return
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def main(argv):
    global SRC_DIR
    if len(argv) != 4:
        sys.exit(__doc__)
    api_dir, SRC_DIR, out_dir = argv[1], argv[2], argv[3]
    try:
        lib = parse(api_dir)
    except ApiError as e:
        sys.exit(f"apigen: {e}")
    write_if_changed(os.path.join(out_dir, "api", "library.h"), library_header(lib))
    write_if_changed(os.path.join(out_dir, "api", "library.cpp"), library_source(lib))
    for t in lib.types:
        if t.keyword in ("class", "model"):
            write_if_changed(os.path.join(out_dir, "api", f"{t.name}.h"), interface_header(lib, t))
            write_if_changed(os.path.join(out_dir, "api", f"{t.name}.cpp"), interface_source(lib, t))
    write_if_changed(os.path.join(out_dir, f"{lib.name}.idl"), idl.idl_text(lib))
    write_if_changed(os.path.join(out_dir, "com", "com_ids.h"), idl.com_ids_header(lib))
    write_if_changed(os.path.join(out_dir, "com", "com_classes.cpp"), idl.com_source(lib))
    write_if_changed(os.path.join(out_dir, f"{lib.models_name}.idl"), idl.models_idl_text(lib))
    write_if_changed(os.path.join(out_dir, "com", "com_models.cpp"), idl.models_com_source(lib))
    write_if_changed(os.path.join(out_dir, "python", f"{lib.name.lower()}.pyi"), pyi.stub_text(lib))


if __name__ == "__main__":
    main(sys.argv)
