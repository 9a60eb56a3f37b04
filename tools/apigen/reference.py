#!/usr/bin/env python3
"""Writes the browsable reference of the API description: one Markdown page per class
(every member with its declaration, parameters, defaults and summary), a page of the
models, and an index.

Usage: reference.py API_DIR DOCS_DIR [--check]
With --check nothing is written: it exits 1, naming the pages that differ from what the
description makes (the pages are committed; ctest runs the check).
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import apigen  # noqa: E402
from pyi import group_members, summary_of  # noqa: E402
from vb_text import vb_literal  # noqa: E402

NOTICE = "<!-- Generated from the API description by tools/apigen/reference.py: do not edit. -->"
KEYWORDS = {"Function": "Function", "Sub": "Sub", "PropertyGet": "Property Get",
            "PropertyLet": "Property Let", "PropertySet": "Property Set"}


def type_text(type_name, is_array):
    return type_name + ("()" if is_array else "")


def param_text(p):
    text = ("Optional " if p.optional else "") + ("ByRef " if p.by_ref else "")
    text += f"{p.name} As {type_text(p.type, p.is_array)}"
    return text + (f" = {vb_literal(p.default)}" if p.default is not None else "")


def declaration(m):
    params = ", ".join(param_text(p) for p in m.params)
    result = f" As {type_text(m.result, m.result_array)}" if m.result else ""
    return f"{KEYWORDS[m.kind]} {m.name}({params}){result}"


def parameter_table(group):
    rows, seen = [], set()
    for m in group:
        for p in m.params:
            if p.name.lower() in seen:
                continue
            seen.add(p.name.lower())
            passed = ("ByRef" if p.by_ref else "ByVal") + (", optional" if p.optional else "")
            default = f"`{cell(vb_literal(p.default))}`" if p.default is not None else ""
            if p.optional and p.default is None:
                default = "missing"
            rows.append(f"| `{p.name}` | {type_text(p.type, p.is_array)} | {passed} | {default} |")
    if not rows:
        return []
    return ["| parameter | type | passed | default |", "|---|---|---|---|"] + rows + [""]


def member_section(group, level="##"):
    lines = [f"{level} {group[0].name}", "", "```vb"] + [declaration(m) for m in group] + ["```", ""]
    summary = summary_of(group)
    if summary:
        lines += [summary, ""]
    return lines + parameter_table(group)


def cell(text):
    """Text for a table cell."""
    return text.replace("|", "\\|")


def anchor(name):
    return "#" + name.lower()


def class_page(lib, t, events):
    how = (f"Made inside the library (not creatable by ProgID)." if t.private
           else f"ProgID `{lib.name}.{t.name}`: `CreateObject(\"{lib.name}.{t.name}\")`.")
    lines = [NOTICE, f"# {t.name}", "", t.summary, "", how + f" Source: `src/{t.folder}/`.", ""]
    groups = group_members(t)
    lines += ["| member | summary |", "|---|---|"]
    lines += [f"| [`{g[0].name}`]({anchor(g[0].name)}) | {cell(summary_of(g))} |" for g in groups]
    lines.append("")
    for group in groups:
        lines += member_section(group)
    if events:
        lines += ["## Events", "",
                  f"Raised through the event interface `{events.name}` (from Python: "
                  "`zv.WithEvents(obj, handler)` calls `handler.On<Event>`).", ""]
        for m in events.members:
            lines += member_section([m], "###")
    return "\n".join(lines).rstrip("\n") + "\n"


def models_page(lib):
    lines = [NOTICE, "# Models of the caller's controls", "",
             "In-library models of list boxes, list-views, tree-views, grids and the other "
             "controls the classes take as `Object`; from Python `zivoviviruvov.ListView()` and "
             f"the like, from scripts `CreateObject(\"{lib.name}.Models.ListView\")`. Private "
             "models are the collections and elements a model hands out.", ""]
    for t in lib.types:
        if t.keyword != "model":
            continue
        lines += [f"## {t.name}" + (" (private)" if t.private else ""), "", "```vb"]
        lines += [declaration(m) for m in t.members] + ["```", ""]
    return "\n".join(lines).rstrip("\n") + "\n"


def index_page(lib):
    lines = [NOTICE, f"# {lib.name} {lib.version} reference", "",
             "One page per class, with every member's declaration, parameters, defaults and "
             "summary. `zvv list CLASS` prints the same declarations; from Python the type stubs "
             "(`zivoviviruvov.pyi`) carry them to editors.", "",
             "| class | summary |", "|---|---|"]
    for t in lib.types:
        if t.keyword == "class":
            lines.append(f"| [{t.name}]({t.name}.md) | {cell(t.summary)} |")
    lines += ["", "[Models of the caller's controls](models.md)", "", "## Enumerations", ""]
    for name, members in lib.enums.items():
        values = ", ".join(f"`{m}` = {v}" for m, v in members)
        lines += [f"- `{name}`: {values}"]
    lines += ["", "## Records", ""]
    for name, fields in lib.records.items():
        lines += [f"- `{name}`: " + ", ".join(f"`{f}` As {t}" for f, t in fields)]
    return "\n".join(lines) + "\n"


def pages(lib):
    events = {t.source_of: t for t in lib.types if t.keyword == "events"}
    out = {"README.md": index_page(lib), "models.md": models_page(lib)}
    for t in lib.types:
        if t.keyword == "class":
            out[f"{t.name}.md"] = class_page(lib, t, events.get(t.name))
    return out


def main(argv):
    if len(argv) not in (3, 4) or (len(argv) == 4 and argv[3] != "--check"):
        sys.exit(__doc__)
    api_dir, docs_dir, check = argv[1], argv[2], len(argv) == 4
    try:
        wanted = pages(apigen.parse(api_dir))
    except apigen.ApiError as e:
        sys.exit(f"reference: {e}")
    present = set(os.listdir(docs_dir)) if os.path.isdir(docs_dir) else set()
    stale = sorted(name for name in present if name.endswith(".md") and name not in wanted)
    for name, text in wanted.items():
        path = os.path.join(docs_dir, name)
        if not os.path.exists(path) or open(path, encoding="utf-8").read() != text:
            stale.append(name)
    if check:
        if stale:
            sys.exit(f"reference: {docs_dir} is out of date ({', '.join(sorted(stale))}); "
                     f"run tools/apigen/reference.py {api_dir} {docs_dir}")
        return
    os.makedirs(docs_dir, exist_ok=True)
    for name in stale:
        if name in wanted:
            with open(os.path.join(docs_dir, name), "w", encoding="utf-8") as f:
                f.write(wanted[name])
        else:
            os.remove(os.path.join(docs_dir, name))


if __name__ == "__main__":
    main(sys.argv)
