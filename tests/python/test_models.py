"""The library's models of the caller's controls and its Collection, from Python; the shared
case tables of the models and of FlexGridLib (tests/cases/models/models.tsv,
tests/cases/flexgrid/flexgridlib.tsv, also run under Wine), their rows for any platform and
the POSIX ones (widths in the fixed widths of the POSIX stand-in font)."""
import os

import pytest

import tree_table
import vbexpr
import zivoviviruvov as zv
from test_lstviewlib import fill
from zvtest import raises_error

TABLES = [tree_table.read(os.path.join(os.path.dirname(tree_table.TABLE), "..", *path), ("posix", "win"))
          for path in (("models", "models.tsv"), ("flexgrid", "flexgridlib.tsv"))]
CASES = [(nodes, c) for nodes, cases in TABLES for c in cases if c["kind"] == "posix"]


@pytest.mark.parametrize("nodes, case", CASES, ids=[f"{c['line']}-{c['member']}" for _, c in CASES])
def test_case(nodes, case, boxes, reports):
    lib, lv, grid = zv.CreateObject("ZivoviViruvov.FlexGridLib"), fill(zv.ListView(), case["view"], False), zv.FlexGrid()
    tree, tree.ImageList = zv.TreeView(), zv.ImageList()
    for key in tree_table.images(nodes):
        tree.ImageList.ListImages.Add(Key=key)
    for n in nodes:
        tree.Nodes.Add(n["parent"] or None, 4 if n["parent"] else None, n["key"], n["text"], n["image"] or None,
                       n["selected"] or None).Tag = n["tag"]
    objects = {"lib": lib, "L": lv, "G": grid, "T": tree, "Nothing": None, "Stranger": object()}

    def value(text):
        return objects[text] if text in objects else vbexpr.evaluate(text) if text else None

    def owner(target):
        parts = {"H": lv.ColumnHeaders, "R": lv.ListItems, "N": tree.Nodes}
        return parts[target[0]].Item(vbexpr.evaluate(target[1])) if target[0] in parts else objects[target[0]]

    def assign(target, text):
        obj, (name, _, index) = tree_table.member(owner(target), target[2][:-1]), target[2][-1].rstrip(")").partition("(")
        if index:
            getattr(obj, name)[tuple(map(int, index.split(",")))] = value(text)
        else:
            setattr(obj, name, value(text))

    for _, target, text in case["setup"]:
        assign(target, text)
    args = [value(a) for a in case["args"]] if case["args"] != [""] else []
    _, target, _ = tree_table.checks(case["member"].removeprefix("Let ") + "=")[0]
    try:
        if case["member"].startswith("Let "):
            got = assign(target, case["args"][0])
        else:
            got = (tree_table.member(owner(target), target[2]) if target else getattr(lib, case["member"]))(*args)
        got = got.Text if isinstance(got, zv.Object) else got  # the default member, as VBScript reads it
        expected = vbexpr.evaluate(case["expect"])
        assert got == expected and type(got) is type(expected)
    except zv.AutomationError as e:
        assert case["expect"] == f"!{e.number}"
    for what, target, text in case["checks"]:
        if what == "member":
            got = tree_table.member(owner(target), target[2])
            if text in objects:
                assert got is objects[text], target
            else:
                expected = value(text.lstrip(">"))
                assert got > expected if text[:1] == ">" else got == expected and type(got) is type(expected), target
    assert boxes == [] and reports == [vbexpr.evaluate(t) for what, _, t in case["checks"] if what == "report"]


LIST_MODELS = [zv.ListBox, zv.ComboBox]


@pytest.mark.parametrize("name", ["ListBox", "ComboBox", "TextBox", "RichTextBox", "Collection",
                                  "ListView", "TreeView", "ImageList", "ProgressBar", "FlexGrid"])
def test_each_model_has_a_factory(name):
    factory = getattr(zv, name)
    model = factory()
    assert repr(model) == f"<zivoviviruvov.Object {name}>"
    assert factory() != model
    assert "Members:" in factory.__doc__


@pytest.mark.parametrize("make", LIST_MODELS)
def test_list_from_python(make):
    box = make()
    for text in ["a", "b"]:
        box.AddItem(text)
    box.AddItem("x", Index=None)                   # None leaves the optional Index out: append
    box.AddItem("y", Index=0)
    assert [box.List(i) for i in range(box.ListCount)] == ["y", "a", "b", "x"]
    box.List[0] = "z"
    box.ListIndex = 0
    assert (box.List(box.NewIndex), box.Text, box.List(100)) == ("z", "z", "")
    with raises_error(381):
        box.List(-1)
    for index in (-1, 5):                           # before the first, past the end
        with raises_error(5):
            box.AddItem("z", index)
    with raises_error(380):
        box.ListIndex = 9
    if make is zv.ComboBox:                         # its text is a field of its own
        box.Text = "typed"
        assert (box.Text, box.List(0)) == ("typed", "z")


def items(coll):
    return [coll.Item(i) for i in range(1, coll.Count + 1)]


def test_collection_from_python():
    coll = zv.Collection()
    assert (coll.Count, len(coll), list(coll)) == (0, 0, [])
    box, marker = zv.ListBox(), object()
    coll.Add("a", key=None, before=None, after=None)   # None leaves each optional out
    coll.Add(box, "Box")
    coll.Add(marker, before="BOX")
    coll.Add("end", None, after=3)                  # a positional None key is no key
    assert coll.Count == len(coll) == 4
    assert list(coll) == ["a", marker, box, "end"] == items(coll)
    assert coll.Item(2) is marker
    coll.Item("box").AddItem("through the collection")
    assert box.ListCount == 1
    coll.Remove("bOX")
    assert items(coll) == ["a", marker, "end"]
    for value in coll:                              # iteration runs over a snapshot
        coll.Add(value)
    assert items(coll) == ["a", marker, "end"] * 2


@pytest.mark.parametrize("obj", [zv.ListBox(), zv.TextBox(), zv.CreateObject("ZivoviViruvov.StrChr")])
def test_objects_without_items_do_not_iterate(obj):
    with raises_error(438):
        iter(obj)
    with raises_error(438):
        len(obj)


def test_keywords_and_objects_from_python():
    lv, tv, images = zv.ListView(), zv.TreeView(), zv.ImageList()
    lv.ColumnHeaders.Add(Text="City")
    assert lv.ColumnHeaders.Add(None, "country", "Country", Alignment=2).Alignment == 2
    row = lv.ListItems.Add(Key="p", Text="Paris")
    assert lv.ListItems("p") == row == lv.ListItems.Item(1)   # Item is the default member
    assert repr(row.ListSubItems.Add()) == "<zivoviviruvov.Object ListSubItem>"
    root = tv.Nodes.Add(None, None, "k", "Root")
    child = tv.Nodes.Add("k", 4, Key="c", Text="Child")
    assert (child.Parent, child.FullPath, root.Parent) == (root, "Root\\Child", None)
    tv.ImageList = images
    assert tv.ImageList == images
