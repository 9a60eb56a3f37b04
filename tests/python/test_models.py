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


# --- list box and combo box --------------------------------------------------------------

@pytest.mark.parametrize("make", LIST_MODELS)
def test_add_item_appends_and_reports_new_index(make):
    box = make()
    assert (box.ListCount, box.NewIndex) == (0, -1)
    for i, text in enumerate(["a", "b", "c"]):
        box.AddItem(text)
        assert box.NewIndex == i
    assert box.ListCount == 3
    assert [box.List(i) for i in range(3)] == ["a", "b", "c"]


@pytest.mark.parametrize("make", LIST_MODELS)
@pytest.mark.parametrize("index, expected", [
    (0, ["x", "a", "b"]),
    (1, ["a", "x", "b"]),
    (2, ["a", "b", "x"]),
    (None, ["a", "b", "x"]),      # None leaves the optional Index out: append
])
def test_add_item_at_index(make, index, expected):
    box = make()
    box.AddItem("a")
    box.AddItem("b")
    box.AddItem("x", Index=index)
    assert [box.List(i) for i in range(box.ListCount)] == expected
    assert box.List(box.NewIndex) == "x"


@pytest.mark.parametrize("make", LIST_MODELS)
@pytest.mark.parametrize("action, number", [
    (lambda b: b.AddItem("z", 3), 5),     # past ListCount
    (lambda b: b.AddItem("z", -1), 5),
    (lambda b: b.List(-1), 381),
    (lambda b: b.RemoveItem(2), 5),
    (lambda b: setattr(b, "ListIndex", 2), 380),
])
def test_list_errors(make, action, number):
    box = make()
    box.AddItem("a")
    box.AddItem("b")
    with raises_error(number):
        action(box)


@pytest.mark.parametrize("make", LIST_MODELS)
def test_list_past_the_end_reads_empty(make):
    box = make()
    box.AddItem("a")
    assert box.List(1) == ""
    assert box.List(100) == ""


@pytest.mark.parametrize("make", LIST_MODELS)
def test_remove_clear_and_selection(make):
    box = make()
    for text in ["a", "b", "c"]:
        box.AddItem(text)
    box.RemoveItem(1)
    assert [box.List(i) for i in range(box.ListCount)] == ["a", "c"]
    box.ListIndex = 1
    assert (box.ListIndex, box.Text) == (1, "c")
    box.Clear()
    assert (box.ListCount, box.NewIndex, box.ListIndex) == (0, -1, -1)


@pytest.mark.parametrize("make", LIST_MODELS)
def test_indexed_put_through_invoke(make):
    box = make()
    box.AddItem("a")
    zv.invoke(box, "List", zv.DISPATCH_PROPERTYPUT, 0, "z")
    assert box.List(0) == "z"


def test_combo_box_text_is_its_own_field():
    combo = zv.ComboBox()
    combo.AddItem("first")
    combo.Text = "typed"
    assert combo.Text == "typed"
    combo.ListIndex = 0
    assert combo.Text == "first"


# --- text boxes --------------------------------------------------------------------------

@pytest.mark.parametrize("make", [zv.TextBox, zv.RichTextBox])
@pytest.mark.parametrize("text", ["", "plain", "line 1\r\nline 2", "é ü ß €", "😀 astral",
                                  "\ud800 lone surrogate"])
def test_text_round_trip(make, text):
    box = make()
    assert box.Text == ""
    box.Text = text
    assert box.Text == text


# --- Collection --------------------------------------------------------------------------

def items(coll):
    return [coll.Item(i) for i in range(1, coll.Count + 1)]


def test_collection_add_count_len_and_iteration():
    coll = zv.Collection()
    assert (coll.Count, len(coll), list(coll)) == (0, 0, [])
    for value in ["a", 2, None]:
        coll.Add(value)
    assert coll.Count == len(coll) == 3
    assert list(coll) == ["a", 2, None] == items(coll)


def test_collection_keys_ignore_case():
    coll = zv.Collection()
    coll.Add("value", key="Key")
    coll.Add("other", "second")
    assert coll.Item("KEY") == "value"
    assert coll.Item("key") == "value"
    coll.Remove("kEy")
    assert items(coll) == ["other"]


def test_collection_key_none_means_no_key():
    coll = zv.Collection()
    coll.Add("a", key=None, before=None, after=None)
    coll.Add("b", None)
    assert items(coll) == ["a", "b"]


@pytest.mark.parametrize("kwargs, expected", [
    ({"before": 1}, ["x", "a", "b"]),
    ({"before": 2}, ["a", "x", "b"]),
    ({"after": 1}, ["a", "x", "b"]),
    ({"after": 2}, ["a", "b", "x"]),
    ({"before": "KB"}, ["a", "x", "b"]),
    ({"after": "ka"}, ["a", "x", "b"]),
])
def test_collection_before_and_after(kwargs, expected):
    coll = zv.Collection()
    coll.Add("a", "ka")
    coll.Add("b", "kb")
    coll.Add("x", **kwargs)
    assert items(coll) == expected


@pytest.mark.parametrize("action, number", [
    (lambda c: c.Add("dup", "FIRST"), 457),       # keys compare without case
    (lambda c: c.Item(0), 9),
    (lambda c: c.Item(3), 9),
    (lambda c: c.Item(-1), 9),
    (lambda c: c.Item("nope"), 5),
    (lambda c: c.Remove(3), 9),
    (lambda c: c.Remove("nope"), 5),
    (lambda c: c.Add("x", before=5), 9),
    (lambda c: c.Add("x", before=1, after=1), 5),
    (lambda c: c.Add("x", key=1), 13),            # a key is a String
])
def test_collection_errors(action, number):
    coll = zv.Collection()
    coll.Add("a", "first")
    coll.Add("b")
    with raises_error(number):
        action(coll)
    assert items(coll) == ["a", "b"]              # a failed call changes nothing


def test_collection_iteration_is_a_snapshot():
    coll = zv.Collection()
    coll.Add(1)
    coll.Add(2)
    seen = []
    for value in coll:
        seen.append(value)
        coll.Add(value * 10)
    assert seen == [1, 2]
    assert list(coll) == [1, 2, 10, 20]


def test_collection_holds_objects():
    coll = zv.Collection()
    box = zv.ListBox()
    marker = object()
    coll.Add(box, "box")
    coll.Add(marker)
    assert coll.Item("box") == box
    assert coll.Item(2) is marker
    coll.Item("box").AddItem("through the collection")
    assert box.ListCount == 1


@pytest.mark.parametrize("obj", [zv.ListBox(), zv.TextBox(), zv.CreateObject("ZivoviViruvov.StrChr")])
def test_objects_without_items_do_not_iterate(obj):
    with raises_error(438):
        iter(obj)
    with raises_error(438):
        len(obj)


# --- list-view, tree-view, image list ----------------------------------------------------

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
