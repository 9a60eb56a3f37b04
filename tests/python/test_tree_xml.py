"""Tree XML files from Python: the shared case table (also run under Wine), the bytes the
writer produces, round trips, and the type name the reader asks of the tree."""
import os

import pytest

import tree_xml_table
import zivoviviruvov as zv

CASES = tree_xml_table.read()
lib = zv.CreateObject("ZivoviViruvov.TrViewLib")


def tree_with(*nodes, images=()):
    tree = zv.TreeView()
    if images:
        tree.ImageList = zv.ImageList()
        for key in images:
            tree.ImageList.ListImages.Add(Key=key)
    for parent, key, text, *image in nodes:
        tree.Nodes.Add(parent, 4 if parent else None, key, text, *image)
    return tree


@pytest.mark.parametrize("case", CASES, ids=[c["name"] for c in CASES])
def test_case_table(case, tmp_path, boxes, reports):
    path = tmp_path / "tree.xml"
    path.write_bytes(case["bytes"])
    tree = tree_with((None, "keep", "Keep"))
    assert lib.TreeViewFromXMLfile(tree, str(path)) is case["result"]
    assert tree_xml_table.dump(tree) == case["nodes"]
    assert boxes == ([("Information", "File is empty !?")] if case["box"] else [])
    assert reports == case["reports"]


def sample():
    tree = tree_with((None, "r", "Répertoire & <co>", "img1"), ("r", "ra", "a_[_1_]_", "img2"),
                     ("r", "rb", "B"), images=("img1", "img2"))
    a, b = tree.Nodes.Item("ra"), tree.Nodes.Item("rb")
    a.Bold, a.ForeColor, a.BackColor, a.Tag, a.SelectedImage = True, 255, 65280, "t&<>é", "img1"
    b.Sorted, b.Expanded = True, True
    return tree


NODE_B = ("\r\n\t<NODE>\r\n\t<TEXT>B</TEXT>\r\n\t<KEY>rb</KEY>\r\n\t<BOLD>False</BOLD>\r\n"
          "\t<FOR_COLOR>0</FOR_COLOR>\r\n\t<BCK_COLOR>16777215</BCK_COLOR>\r\n\t<SORT>True</SORT>\r\n"
          "\t<EXPAND>True</EXPAND>\r\n\t<PARENT>r</PARENT>\r\n\t</NODE>\r\n\r\n")
# What TreeViewToXMLfile writes of sample() (with the tag "App" and the password "pw").
with open(os.path.join(os.path.dirname(tree_xml_table.TABLE), "saved.xml"), "rb") as f:
    SAVED = f.read()


def test_saved_bytes_and_round_trip(tmp_path):
    path = str(tmp_path / "t.xml")
    tree, bar = sample(), zv.ProgressBar()
    lib.SetProgressBar(bar)
    assert lib.TreeViewToXMLfile(tree, path, "App", "pw") is True
    assert open(path, "rb").read() == SAVED
    assert (bar.Max, bar.Visible) == (3, False)  # one step a node, hidden at the end
    loaded = tree_with(images=("img1", "img2"))
    lib.SetProgressBar(bar)
    assert lib.TreeViewFromXMLfile(loaded, path) is True
    assert (bar.Max, bar.Value) == (8, 4)  # COUNT + 5, from 1
    expected = tree_xml_table.dump(tree).replace("a_[_1_]_", "a<1>")
    assert tree_xml_table.dump(loaded) == expected
    assert loaded.Nodes.Item("ra").SelectedImage == "img1"
    # An empty tree writes no file.
    assert lib.TreeViewToXMLfile(zv.TreeView(), str(tmp_path / "none.xml")) is False
    assert not (tmp_path / "none.xml").exists()


@pytest.mark.parametrize("include, header, expected", [
    (False, True, tree_xml_table.HEADER + "\r\n<TREE>\r\n" + NODE_B + "</TREE>\r\n"),
    (False, False, NODE_B),
])
def test_subtree_bytes(tmp_path, include, header, expected):
    tree = sample()
    tree.Nodes.Remove("ra")
    path = str(tmp_path / "s.xml")
    assert lib.SubTreeToXMLfile(tree, "r", path, include, header) is True
    assert open(path, "rb").read() == expected.encode("latin-1")


def test_subtree_load_numbers_labels_without_value_keys(tmp_path):
    path = str(tmp_path / "s.xml")
    source = tree_with((None, "s", "S"), ("s", "s1", "Item"), ("s", "s2", "Item"))
    assert lib.SubTreeToXMLfile(source, "s", path) is True
    target = tree_with((None, "P", "P"))
    assert lib.SubTreeFromXMLfile(target, "P", path, False, False) is True
    assert tree_xml_table.dump(target) == "/P=P ; P/PItem=Item ; P/PItem__1=Item #1"
    assert lib.SubTreeFromXMLfile(target, "P", str(tmp_path / "missing.xml")) is True
    assert target.Nodes.Count == 3


class TreeView:
    """A caller's own object: its class name is its type name."""
    def __init__(self):
        self.Nodes = zv.Collection()


class Tree(TreeView):
    pass


@pytest.mark.parametrize("tree, taken", [(TreeView(), True), (Tree(), False), (None, False),
                                         (zv.TreeView(), True), (zv.ListView(), False)])
def test_type_name_decides_what_is_a_tree(tmp_path, reports, tree, taken):
    path = str(tmp_path / "t.xml")
    assert lib.TreeViewToXMLfile(sample(), path) is True
    lib.TreeViewFromXMLfile(tree, path)
    refused = "TreeView object is not valid. Unable to load the data from file:\r\n" + path
    assert (refused in reports) is not taken
