"""The library's models of the caller's controls and its Collection, from Python."""

import pytest

import zivoviviruvov as zv
from zvtest import raises_error

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


def test_list_view_takes_keywords_and_attributes():
    lv = zv.ListView()
    lv.ColumnHeaders.Add(Text="City")
    header = lv.ColumnHeaders.Add(None, "country", "Country", Alignment=2)
    row = lv.ListItems.Add(Key="p", Text="Paris")
    row.Checked = True
    lv.Checkboxes = True
    zv.invoke(row, "SubItems", zv.DISPATCH_PROPERTYPUT, 1, "France")
    assert (header.Index, header.Alignment, header.Width) == (2, 2, 1440)
    assert lv.ListItems("p") == row == lv.ListItems.Item(1)   # Item is the default member
    assert (row.SubItems(1), row.ListSubItems.Count, row.Checked) == ("France", 1, True)
    assert repr(row.ListSubItems(1)) == "<zivoviviruvov.Object ListSubItem>"


def test_tree_view_none_leaves_arguments_out():
    tv = zv.TreeView()
    root = tv.Nodes.Add(None, None, "k", "Root")
    child = tv.Nodes.Add("k", 4, Key="c", Text="Child")
    assert (root.Children, child.Parent, child.FullPath) == (1, root, "Root\\Child")
    assert root.Parent is None and child.Next is None
    images = zv.ImageList()
    images.ListImages.Add(Key="open")
    tv.ImageList = images
    assert tv.ImageList == images
    child.Image = "open"
    with raises_error(35601):
        child.SelectedImage = "shut"
    assert (images.ListImages("open").Index, child.Image, child.SelectedImage) == (1, "open", None)
