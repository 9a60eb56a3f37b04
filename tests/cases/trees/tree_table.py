"""Reads the tree case table (trviewlib.tsv), and the list-view and grid ones
(../listview/lstviewlib.tsv, ../flexgrid/flexgridlib.tsv) of the same form: the fixture
tree's nodes, the cases, each case once for every kind of control it names and with the
list-view ("view" line, and the assignments after it) set before it. Values stay VBScript
expressions."""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import vbexpr  # noqa: E402

TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "trviewlib.tsv")
KINDS = ("model", "sorted")
NODE_COLUMNS = ("parent", "key", "text", "image", "selected", "tag")


def checks(text):
    """(what, target, value): what is coll, ref, box, errbox, count, lv, list, file, gone, or
    member with target (N node, R row, H header, L list-view, G grid, T tree or lib, its key or
    index as written, [member, ...])."""
    out = []
    for item in filter(None, (c.strip() for c in text.split(" ; "))):
        name, value = item.split("=", 1)
        m = re.fullmatch(r'(L|G|T|lib|[NRH]\(("[^"]*"|\d+)\))((?:\.\w+(?:\(-?\d+(?:, \d+)*\))?)+)', name)
        out.append(("member", (m.group(1).split("(")[0], m.group(2), m.group(3)[1:].split(".")), value) if m
                   else (name, None, value))
    return out


def read(path=TABLE, kinds=KINDS):
    nodes, cases, view = [], [], {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            cols = line.rstrip("\n").split("\t")
            if not line.strip() or line.startswith("#"):
                continue
            if cols[0] == "node":
                nodes.append(dict(zip(NODE_COLUMNS, cols[1:])))
                continue
            if cols[0] == "view":
                view = {"view": cols[1], "styled": cols[2:] == ["styled"],
                        "setup": checks(cols[2]) if cols[2:] not in ([], ["styled"]) else []}
                continue
            tree, member, args, expect, check = cols
            for kind in kinds if tree == "any" else (tree,):
                cases.append({"kind": kind, "line": number, "member": member, **view,
                              "args": [a.strip() for a in vbexpr.split_top(args, ",")],
                              "expect": expect, "checks": checks(check)})
    return nodes, cases


def images(nodes):
    """Every image the fixture names: the model's image list holds them."""
    return sorted({n[c] for n in nodes for c in ("image", "selected") if n[c]})


def member(obj, chain):
    """obj.A.Item(2).B for the steps ["A", "Item(2)", "B"] of a member check (Python)."""
    for step in chain:
        name, _, index = step.rstrip(")").partition("(")
        obj = getattr(obj, name)
        obj = obj(*map(int, index.split(","))) if index else obj
    return obj


def verify(case, got, boxes, reports, actual):
    """Python's checks of a case: the result, then each check against actual(what, target,
    value) (coll, lv, list, file and gone compared as written, the rest as expressions), the
    boxes and reports."""
    expected = vbexpr.evaluate(case["expect"])
    assert got == expected and type(got) is type(expected)
    for what, target, value in case["checks"]:
        if what in ("box", "errbox"):
            title, text = boxes.pop(0)
            expected = vbexpr.evaluate(value)
            if what == "box":
                assert (title, text) == ("Information", expected)
            else:
                assert title == "Error message" and text.startswith(expected + "\r\n\r\nError #")
        elif what != "report":
            raw = what in ("coll", "lv", "list", "file", "gone")
            assert actual(what, target, value) == (value if raw else vbexpr.evaluate(value))
    assert boxes == []
    assert reports == [vbexpr.evaluate(v) for what, _, v in case["checks"] if what in ("report", "errbox")]
