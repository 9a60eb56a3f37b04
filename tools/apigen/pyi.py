"""The Python face of the API description: type stubs (zivoviviruvov.pyi) for the module.

The module itself is late-bound (every object is a `zivoviviruvov.Object`); the stubs give
editors and type checkers one class per library class and model, with its members, their
parameter names, types and defaults, and CreateObject overloads by ProgID.
"""
from vb_text import python_literal

PY_TYPES = {
    "String": "str", "Boolean": "bool", "Byte": "int", "Integer": "int", "Long": "int",
    "Single": "float", "Double": "float", "Currency": "Decimal", "Date": "datetime",
    "Variant": "Any", "Object": "Any", "Collection": "Any",
}

# What the module defines by hand (bindings/python), as it defines it.
HEADER = '''\
# Generated from the API description (tools/apigen/pyi.py): do not edit.
"""ZivoviViruvov: create the library's classes with CreateObject(progid) and call them
late-bound; failures raise AutomationError.

The classes below exist for type checkers and editors: at run time every library object is
a zivoviviruvov.Object, and the model classes are factory functions."""
from datetime import datetime
from decimal import Decimal
from typing import Any, Callable, Iterator, Literal, Optional, Sequence, overload

library_version: str
DISPATCH_METHOD: int
DISPATCH_PROPERTYGET: int
DISPATCH_PROPERTYPUT: int
DISPATCH_PROPERTYPUTREF: int

class AutomationError(Exception):
    """A failed late-bound call: the error number, description, source and help topic."""
    number: int
    description: str
    source: str
    helpfile: str
    helpcontext: int
    def __init__(self, number: int, description: Optional[str] = None, source: str = "",
                 helpfile: str = "", helpcontext: int = 0) -> None: ...

class UnknownMemberError(AutomationError, AttributeError): ...

class Ref:
    """A variable passed by reference: pass the Ref, read .value after the call."""
    value: Any
    def __init__(self, value: Any = None) -> None: ...

class Member:
    """A member of a library object: call it with arguments by position or name."""
    def __call__(self, *args: Any, **kwargs: Any) -> Any: ...
    def __getitem__(self, key: Any) -> Any: ...
    def __setitem__(self, key: Any, value: Any) -> None: ...

class PropertyPut:
    """An indexed property put: call it with the indexes, then the value."""
    def __call__(self, *args: Any, **kwargs: Any) -> None: ...

class Object:
    """A library object: properties are attributes, methods are called by position or
    parameter name; names are case-insensitive."""
    def __getattr__(self, name: str) -> Any: ...
    def __setattr__(self, name: str, value: Any) -> None: ...
    def __call__(self, *args: Any, **kwargs: Any) -> Any: ...
    def __len__(self) -> int: ...
    def __iter__(self) -> Iterator[Any]: ...

def classes() -> list[tuple[str, str, str]]:
    """(name, progid, clsid) of every class CreateObject can create."""

def invoke(target: Any, name: str, kinds: int, *args: Any, **kwargs: Any) -> Any:
    """Invokes member name of target with the DISPATCH_* kinds given."""

def WithEvents(obj: Object, handler: Any) -> Object:
    """Delivers obj's events to handler's On<Event> methods (by-reference arguments as Ref)."""

def set_message_handler(handler: Optional[Callable[[str, str, int], Optional[int]]]) -> Any:
    """Sends every message box to handler(text, title, style), which returns the button."""

def set_report_handler(handler: Optional[Callable[[str, bool], Any]]) -> Any:
    """Sends the message of every error report the library makes to handler(message, shown)."""
'''


def annotation(lib, type_name, is_array=False, by_ref=False, result=False):
    if type_name in lib.enums:
        base = "int"
    elif type_name in lib.records:
        base = "dict[str, Any]"
    elif result and type_name in ("Object", "Collection"):
        base = "Object"
    else:
        base = PY_TYPES[type_name]
    if base == "Decimal" and not result:
        base = "Decimal | float"  # an amount may be given as a number too
    if is_array:
        base = f"tuple[{base}, ...]" if result else f"Sequence[{base}]"
    if by_ref and base != "Any":
        base += " | Ref"
    return base


def parameter(lib, p):
    text = f"{p.name}: {annotation(lib, p.type, p.is_array, p.by_ref)}"
    if p.optional:
        literal = python_literal(p.default)
        text += f" = {literal if literal is not None else '...'}"
    return text


def result_of(lib, m):
    return annotation(lib, m.result, m.result_array, result=True) if m.result else "None"


def quoted(summary):
    """A summary as a docstring literal."""
    return '"""' + summary.replace("\\", "\\\\").replace('"', '\\"') + '"""'


def definition(head, summary, indent):
    """A def or class line, with the summary as its docstring when there is one."""
    if not summary:
        return [f"{indent}{head} ..."]
    return [f"{indent}{head}", f"{indent}    {quoted(summary)}"]


def group_members(t):
    """Members by name in declaration order: a property's Get, Let and Set together."""
    groups = {}
    for m in t.members:
        groups.setdefault(m.name.lower(), []).append(m)
    return list(groups.values())


def summary_of(group):
    return next((m.summary for m in group if m.summary), "")


def property_lines(lib, t, group):
    get = next((m for m in group if m.kind == "PropertyGet"), None)
    put = next((m for m in group if m.kind in ("PropertyLet", "PropertySet")), None)
    name, summary = group[0].name, summary_of(group)
    indexes = (get or put).params if get else put.params[:-1]
    if not any(not p.optional for p in indexes):
        value = result_of(lib, get) if get else annotation(lib, put.params[-1].type)
        if not get:  # write-only: an attribute to assign
            return [f"    {name}: {value}"]
        lines = ["    @property"] + definition(f"def {name}(self) -> {value}:", summary, "    ")
        if put:
            setter = annotation(lib, put.params[-1].type)
            lines += [f"    @{name}.setter", f"    def {name}(self, value: {setter}) -> None: ..."]
        return lines
    # An indexed property reads as obj.Name(i) or obj.Name[i] and is set as obj.Name[i] = v
    # or obj.SetName(i, v): a helper class carries the index parameters.
    helper = f"_{t.name}_{name}"
    value = result_of(lib, get) if get else "None"
    params = ", ".join(parameter(lib, p) for p in indexes)
    key = annotation(lib, indexes[0].type) if len(indexes) == 1 else "tuple[Any, ...]"
    lines = [f"    class {helper}:"] + ([f"        {quoted(summary)}"] if summary else [])
    if get:
        lines += [f"        def __call__(self, {params}) -> {value}: ...",
                  f"        def __getitem__(self, key: {key}) -> {value}: ..."]
    if put:
        setter = annotation(lib, put.params[-1].type)
        lines += [f"        def __setitem__(self, key: {key}, value: {setter}) -> None: ..."]
    lines.append(f"    {name}: {helper}")
    if put:
        all_params = ", ".join(parameter(lib, p) for p in put.params)
        lines.append(f"    def Set{name}(self, {all_params}) -> None: ...")
    return lines


def method_lines(lib, m, summary):
    params = "".join(f", {parameter(lib, p)}" for p in m.params)
    return definition(f"def {m.name}(self{params}) -> {result_of(lib, m)}:", summary, "    ")


def class_lines(lib, t):
    if t.keyword == "class":
        how = ("Made inside the library." if t.private
               else f"Made by CreateObject('{lib.name}.{t.name}').")
        doc = f"{t.summary} {how}" if t.summary else how
    else:
        doc = f"The library's model of a caller's {t.name}."
    lines = ["", f"class {t.name}(Object):", f"    {quoted(doc)}"]
    for group in group_members(t):
        if group[0].kind.startswith("Property"):
            lines += property_lines(lib, t, group)
        else:
            lines += method_lines(lib, group[0], summary_of(group))
    if t.keyword == "model" and not t.private:
        lines.append("    def __init__(self) -> None: ...")
    return lines


def events_lines(lib, t):
    """The handler a WithEvents call takes: any of these methods, by-reference arguments
    as Ref."""
    lines = ["", f"class {t.source_of}Events:",
             f"    {quoted(f'What zivoviviruvov.WithEvents(obj, handler) calls on handler for a {t.source_of}; define any of these.')}"]
    for m in t.members:
        params = "".join(f", {p.name}: {'Ref' if p.by_ref else annotation(lib, p.type, p.is_array)}"
                         for p in m.params)
        lines += definition(f"def On{m.name}(self{params}) -> None:", m.summary, "    ")
    return lines


def create_object_lines(lib):
    lines = [""]
    for t in lib.types:
        if t.keyword == "class" and not t.private:
            lines += ["@overload",
                      f'def CreateObject(progid: Literal["{lib.name}.{t.name}"]) -> {t.name}: ...']
    lines += ["@overload", "def CreateObject(progid: str | Object) -> Object:",
              '    """A new instance of the class whose ProgID or CLSID is given (error 429 for an',
              '    unknown one). An Object passed in is returned as it is."""',
              "", "Dispatch = CreateObject"]
    return lines


def stub_text(lib):
    lines = HEADER.splitlines()
    for t in lib.types:
        if t.keyword in ("class", "model"):
            lines += class_lines(lib, t)
        else:
            lines += events_lines(lib, t)
    lines += create_object_lines(lib)
    return "\n".join(lines) + "\n"
