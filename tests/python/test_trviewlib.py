"""TrViewLib from Python: the shared tree cases on the library's model and on a plain Python
tree whose siblings stay sorted by text; foreign trees that raise or go round in a cycle."""
import re
import types

import pytest

import tree_table
import vbexpr
import zivoviviruvov as zv

NODES, CASES = tree_table.read()


class ControlError(Exception):
    number = property(lambda self: self.args[0])  # the error number the library sees


class Node:
    def __init__(self, owner, parent, key, text, image, selected):
        self.owner, self.Parent, self.Key, self.Text = owner, parent, key, text
        self.Image, self.SelectedImage, self.Tag = image, selected, ""
        self.kids = []
        self.Expanded = self.Sorted = self.Bold = self.Checked = False
        self.ForeColor, self.BackColor = 0, 0xFFFFFF

    # A removed node reads 0.
    Index = property(lambda self: self.owner.items.index(self) + 1 if self in self.owner.items else 0)

    def siblings(self):
        return self.Parent.kids if self.Parent else self.owner.roots

    def beside(self, step):
        sib = self.siblings()
        at = sib.index(self) + step
        return sib[at] if 0 <= at < len(sib) else None

    Children = property(lambda self: len(self.kids))
    Child = property(lambda self: self.kids[0] if self.kids else None)
    FirstSibling = property(lambda self: self.siblings()[0])
    LastSibling = property(lambda self: self.siblings()[-1])
    Next = property(lambda self: self.beside(1))
    Previous = property(lambda self: self.beside(-1))


class SortedNodes:
    """A caller's node collection keeping each sibling list sorted by text; Index follows
    insertion, as in the common controls."""

    def __init__(self):
        self.items, self.keys, self.roots = [], {}, []

    Count = property(lambda self: len(self.items))

    def Item(self, index):
        by_key = isinstance(index, str)
        if index not in self.keys if by_key else not 1 <= index <= len(self.items):
            raise ControlError(35601 if by_key else 35600)
        return self.keys[index] if by_key else self.items[index - 1]

    def Add(self, Relative=None, Relationship=None, Key="", Text="", Image=None, SelectedImage=None):
        relative = None if Relative is None else self.Item(Relative)
        if Key in self.keys:
            raise ControlError(35602)
        parent = relative if Relationship == 4 else relative and relative.Parent
        node = Node(self, parent, Key or "", Text, Image, SelectedImage)
        siblings = node.siblings()
        siblings.append(node)
        siblings.sort(key=lambda n: n.Text)
        self.items.append(node)
        self.keys[node.Key] = node
        return node

    def Remove(self, index):
        node = self.Item(index)
        node.siblings().remove(node)
        gone = [node]
        for n in gone:
            gone += n.kids
            self.items.remove(n)
            self.keys.pop(n.Key, None)


def build(kind):
    tree = zv.TreeView() if kind == "model" else types.SimpleNamespace(Nodes=SortedNodes())
    if kind == "model":
        tree.ImageList = zv.ImageList()
        for key in tree_table.images(NODES):
            tree.ImageList.ListImages.Add(Key=key)
    for n in NODES:
        node = tree.Nodes.Add(n["parent"] or None, 4 if n["parent"] else None, n["key"], n["text"],
                              n["image"] or None, n["selected"] or None)
        node.Tag = n["tag"]
    return tree


@pytest.mark.parametrize("case", CASES, ids=[f"{c['line']}-{c['kind']}-{c['member']}" for c in CASES])
def test_case(case, boxes, reports):
    tree, coll, ref, box = build(case["kind"]), zv.Collection(), zv.Ref(None), None

    def argument(text):
        nonlocal box
        special = {"T": tree, "C": coll, "Nothing": None}
        if text in special:
            return special[text]
        if m := re.fullmatch(r"(TextBox|RichTextBox)\((.*)\)", text):
            box = getattr(zv, m.group(1))()
            box.Text = vbexpr.evaluate(m.group(2))
            return box
        if m := re.fullmatch(r'N\("(.*)"\)', text):
            return tree.Nodes.Item(m.group(1))
        if m := re.fullmatch(r"Ref\((.*)\)", text):
            ref.value = vbexpr.evaluate(m.group(1))
            return ref
        return vbexpr.evaluate(text)

    lib = zv.CreateObject("ZivoviViruvov.TrViewLib")
    got = getattr(lib, case["member"])(*map(argument, case["args"]))
    tree_table.verify(case, got, boxes, reports, lambda what, target, value: {
        "coll": lambda: ",".join(map(str, coll)), "ref": lambda: ref.value, "count": lambda: tree.Nodes.Count,
        "text": lambda: box.Text,
        "member": lambda: tree_table.member(tree.Nodes.Item(vbexpr.evaluate(target[1])), target[2])}[what]())


def fail(node):
    raise ValueError("broken link")


# A caller's tree that misbehaves: (node changed, member, what it answers) and the call.
# A failure ends only the level that met it; a cycle ends the walk at the tree's Count.
@pytest.mark.parametrize("key, member, answer, call, expected, pushed", [
    ("R\\a", "Child", fail, ("SearchNodeFromTextAndPushInColl", "C", "R", "Alpha"), True, [3, 9]),
    ("R\\d", "Next", lambda n: n.FirstSibling, ("FindChildFromText", "R", "nope"), 0, []),
    ("R\\d", "Next", lambda n: n.FirstSibling,
     ("SearchNodeFromTextAndPushInColl", "C", "R", "Delta", False), True, [8] * 6),
    ("R\\a\\y", "Child", lambda n: n.owner.Item("R"), ("FindChildFromImage", 1, "none", True), 0, []),
    ("R\\a\\y", "Parent", lambda n: n, ("SearchParentFromImage", "R\\a\\y\\z", "none"), "", []),
    ("R\\c", "Previous", lambda n: n, ("CreateChildNode", "R", "Beta", ""), "R\\Beta", []),
    ("R\\a", "Child", lambda n: n.owner.Item("R"), ("SubTreeCopy", "R\\a", "S"), False, []),
])
def test_misbehaving_tree_ends_with_the_neutral_result(key, member, answer, call, expected, pushed):
    tree, coll = build("sorted"), zv.Collection()
    node = tree.Nodes.Item(key)
    node.__class__ = type("Patched", (Node,), {member: property(answer)})
    args = [coll if a == "C" else a for a in call[1:]]
    got = getattr(zv.CreateObject("ZivoviViruvov.TrViewLib"), call[0])(tree, *args)
    assert (got, list(coll)) == (expected, pushed)


def shape(node):
    """A node and its subtree as the copy keeps them: everything but the keys."""
    state = tuple(getattr(node, m) for m in ("Text", "Image", "SelectedImage", "Tag", "Bold",
                                             "ForeColor", "BackColor", "Checked", "Expanded"))
    kids, child = [], node.Child
    while child is not None:
        kids.append(shape(child))
        child = child.Next
    return state, kids


def test_subtree_moved_away_under_a_numbered_key_and_back_is_unchanged():
    tree = build("model")
    a = tree.Nodes.Item("R\\a")
    a.Bold, a.ForeColor, a.Checked, a.Expanded = True, 0xFF, True, True
    tree.Nodes.Item("R\\a\\y\\z").BackColor = 0x00FF00
    before = shape(a)
    lib = zv.CreateObject("ZivoviViruvov.TrViewLib")
    assert lib.SubTreeMove(tree, "R\\a", "S", 4, "My Node")
    moved = tree.Nodes.Item("S\\1My_Node")
    assert lib.SubTreeMove(tree, "S\\1My_Node", "R", 4, "Alpha")
    back = tree.Nodes.Item("R\\Alpha")
    assert (shape(moved)[0][0], shape(back), tree.Nodes.Count) == ("My Node", before, 18)
    assert [tree.Nodes.Item(i).Key for i in range(15, 19)] == [
        "R\\Alpha", "R\\Alpha\\alphabet", "R\\Alpha\\Gamma", "R\\Alpha\\Gamma\\Alpha"]
