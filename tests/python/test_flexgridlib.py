"""FlexGridLib from Python: the shared case table (tests/cases/flexgrid/flexgridlib.tsv, also run
under Wine), its rows for any platform and the POSIX ones (widths in the fixed widths of the
POSIX stand-in font)."""
import os

import pytest

import tree_table
import vbexpr
import zivoviviruvov as zv
from test_lstviewlib import fill

TABLE = os.path.join(os.path.dirname(tree_table.TABLE), "..", "flexgrid", "flexgridlib.tsv")
CASES = [c for c in tree_table.read(TABLE, ("posix", "win"))[1] if c["kind"] == "posix"]


@pytest.mark.parametrize("case", CASES, ids=[f"{c['line']}-{c['member']}" for c in CASES])
def test_case(case, boxes, reports):
    lib, lv, grid = zv.CreateObject("ZivoviViruvov.FlexGridLib"), fill(zv.ListView(), case["view"], False), zv.FlexGrid()
    objects = {"lib": lib, "L": lv, "G": grid, "Nothing": None, "Stranger": object()}

    def value(text):
        return objects[text] if text in objects else vbexpr.evaluate(text)

    def owner(target):
        return lv.ColumnHeaders.Item(int(target[1])) if target[0] == "H" else objects[target[0]]

    for _, target, text in case["setup"]:
        obj, (name, _, index) = tree_table.member(owner(target), target[2][:-1]), target[2][-1].rstrip(")").partition("(")
        if index:
            getattr(obj, name)[tuple(map(int, index.split(",")))] = value(text)
        else:
            setattr(obj, name, value(text))
    got = getattr(lib, case["member"])(*(value(a) for a in case["args"] if a))
    assert got == vbexpr.evaluate(case["expect"]) and type(got) is type(vbexpr.evaluate(case["expect"]))
    for what, target, text in case["checks"]:
        if what == "member":
            got = tree_table.member(owner(target), target[2])
            if text in objects:
                assert got is objects[text], target
            else:
                expected = value(text.lstrip(">"))
                assert got > expected if text[:1] == ">" else got == expected and type(got) is type(expected), target
    assert boxes == [] and reports == [vbexpr.evaluate(t) for what, _, t in case["checks"] if what == "report"]
