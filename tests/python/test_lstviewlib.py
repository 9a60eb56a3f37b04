"""LstViewLib on a plain Python list-view and on zv.ListView(): the shared case table (also
run under Wine; the plain class's sub-items are made by its __setitem__ alone), with the
exported sample's bytes; failures of the caller's members."""
import os
import re

import pytest

import tree_table
import vbexpr
import zivoviviruvov as zv

lib = zv.CreateObject("ZivoviViruvov.LstViewLib")


class Cell:
    def __init__(self, text=""):
        self.Text, self.Tag, self.Bold, self.ForeColor, self.ToolTipText = text, None, False, 0, ""


class Cells:
    """ListSubItems and SubItems at once: row.SubItems[k] reads and writes sub-item k."""

    def __init__(self):
        self.cells, self.writes = [], []

    Count = property(lambda self: len(self.cells))

    def Item(self, k):
        return self.cells[k - 1]

    def __getitem__(self, k):
        return self.cells[k - 1].Text if k <= len(self.cells) else ""

    def __setitem__(self, k, text):
        self.writes.append(k)
        self.cells += [Cell() for _ in range(k - len(self.cells))]
        self.cells[k - 1].Text = text


class Element(Cell):
    def __init__(self, owner, key, text, width, alignment):
        super().__init__(text)
        self.owner, self.Key = owner, key or ""
        self.Icon = self.SmallIcon = None
        self.Checked = self.Selected = False
        self.Width, self.Alignment = 1440 if width is None else width, alignment or 0
        self.SubItems = self.ListSubItems = Cells()

    Index = property(lambda self: self.owner.items.index(self) + 1)

    def EnsureVisible(self):
        return True


class Elements:
    """Rows, or headers of `rows`: removing a header removes its column, as the control does."""

    def __init__(self, rows=None):
        self.items, self.rows = [], rows

    Count = property(lambda self: len(self.items))

    def Item(self, i):
        return self.items[i - 1]

    def Add(self, Index=None, Key=None, Text="", Width=None, Alignment=None, Icon=None):
        self.items.append(Element(self, Key, Text, Width, Alignment))
        return self.items[-1]

    def Remove(self, i):
        del self.items[i - 1]
        for row in self.rows.items if self.rows else ():
            if 1 < i <= row.ListSubItems.Count + 1:
                del row.ListSubItems.cells[i - 2]

    def Clear(self):
        self.items.clear()


class PlainListView:
    def __init__(self):
        self.ListItems = Elements()
        self.ColumnHeaders = Elements(self.ListItems)
        self.Checkboxes, self.Tag = False, ""


def fill(lv, view, styled):
    """The list-view written as the table's "H1|H2;a|b;c", styled as the exported sample."""
    headers, *rows = view.split(";")
    for caption in filter(None, headers.split("|")):
        lv.ColumnHeaders.Add(None, None, caption)
    for cells in (r.split("|") for r in rows):
        row = lv.ListItems.Add(None, None, cells[0])
        for k, text in enumerate(cells[1:], 1):
            row.SubItems[k] = text
    if styled:  # a centred and a right column, a bold sub-item, a bold row, a red sub-item
        lv.ColumnHeaders.Item(2).Alignment, lv.ColumnHeaders.Item(3).Alignment = 2, 1
        lv.ListItems.Item(1).ListSubItems.Item(1).Bold = True
        lv.ListItems.Item(2).Bold = True
        lv.ListItems.Item(2).ListSubItems.Item(1).ForeColor = 255
    return lv


def dump(lv):
    rows = (lv.ListItems.Item(i) for i in range(1, lv.ListItems.Count + 1))
    return ";".join(["|".join(lv.ColumnHeaders.Item(c).Text for c in range(1, lv.ColumnHeaders.Count + 1))] + [
        "|".join([r.Text] + [r.ListSubItems.Item(k).Text for k in range(1, r.ListSubItems.Count + 1)]) for r in rows])


FILES = os.path.join(os.path.dirname(tree_table.TABLE), "..", "listview")
_, CASES = tree_table.read(os.path.join(FILES, "lstviewlib.tsv"), ("model", "plain"))


@pytest.mark.parametrize("case", CASES, ids=[f"{c['line']}-{c['kind']}-{c['member']}" for c in CASES])
def test_case(case, boxes, reports, tmp_path):
    lv = fill(zv.ListView() if case["kind"] == "model" else PlainListView(), case["view"], case["styled"])
    coll, box = zv.Collection(), zv.ListBox()

    def argument(text):
        if m := re.fullmatch(r"Coll\((.*)\)", text):
            for value in vbexpr.arguments(m.group(1)):
                coll.Add(value)
            return coll
        if m := re.fullmatch(r'(F|Case)\("(.*)"\)', text):  # a file written, or one of FILES
            return os.path.join(tmp_path if m.group(1) == "F" else FILES, m.group(2))
        if m := re.fullmatch(r"TextFile\((.*)\)", text):
            (tmp_path / "in.txt").write_bytes(vbexpr.evaluate(m.group(1)).encode("cp1252"))
            return str(tmp_path / "in.txt")
        if m := re.fullmatch(r'V\("(.*)"\)', text):
            return fill(zv.ListView(), m.group(1), False)
        if m := re.fullmatch(r"Row\((\d+)\)", text):
            return lv.ListItems.Item(int(m.group(1)))
        special = {"L": lv, "ListBox": box, "Stranger": object(), "Nothing": None}
        return special[text] if text in special else vbexpr.evaluate(text)

    got = getattr(lib, case["member"])(*map(argument, case["args"]))
    tree_table.verify(case, got, boxes, reports, lambda what, target, value: {
        "lv": lambda: dump(lv), "file": lambda: value * (open(os.path.join(FILES, value), "rb").read() ==
                                                         (tmp_path / value).read_bytes()),
        "gone": lambda: value * (not (tmp_path / value).exists()), "list": lambda: ";".join(box.List(i) for i in range(box.ListCount)),
        "member": lambda: tree_table.member(lv if target[0] == "L" else (
            lv.ListItems if target[0] == "R" else lv.ColumnHeaders).Item(int(target[1])), target[2])}[what]())


class ControlError(Exception):
    number = 35602


class Refusing(Elements):
    """Gives a new element without keeping it, or raises the control's own error."""

    def __init__(self, raising):
        super().__init__()
        self.raising = raising

    def Add(self, Index=None, Key=None, Text="", *more):
        if self.raising:
            raise ControlError("Key is not unique in collection")
        return Element(self, Key, Text, None, None)


COPY = lambda src, dst: lib.CopyListToList(src, dst)  # noqa: E731


# The member of the target list-view replaced by a refusing one, the call, what it gives.
@pytest.mark.parametrize("member, raising, call, result, expected_reports", [
    ("ColumnHeaders", False, COPY, False, ["Error on headers List View copy"]),
    ("ListItems", False, COPY, False, ["Error on items List View copy"]),
    ("ListItems", True, lambda src, dst: lib.FindItemFromText(dst, "x", True), 0,
     ["Error on finding text value in list: 1"]),
    (None, False, lambda src, dst: lib.SetAutomaticTips(src, withError=True), True, []),
])
def test_failures_of_the_callers_members(reports, member, raising, call, result, expected_reports):
    src, dst = zv.ListView(), PlainListView()
    src.ColumnHeaders.Add(Text="A")
    src.ListItems.Add(Text="a")
    if member:
        setattr(dst, member, Refusing(raising))
    assert call(src, dst) == result
    assert reports == expected_reports


def test_progress_value_failure_is_reported():
    class Bar:
        Min, Visible = 0, True
        Max = property(lambda self: 1 / 0)

    progress = zv.CreateObject("ZivoviViruvov.ProgressLib")
    seen = []
    zv.set_report_handler(lambda message, shown: seen.append((message, shown)))
    try:
        progress.SetProgressBar(Bar())
        progress.SetProgressBarValue(5)
    finally:
        zv.set_report_handler(None)
    assert seen == [("Error on initializing the progress bar", False),
                    ("Error on setting the progress value: 5", False)]


def test_an_export_failing_part_way_through_a_row_leaves_the_old_file(reports, tmp_path):
    class Unreadable(Cells):
        def __getitem__(self, k):
            return 1 / 0 if k == 2 else super().__getitem__(k)

    lv = fill(PlainListView(), "A|B|C;a|b|c", False)
    row = lv.ListItems.Add(None, None, "d")
    row.SubItems = Unreadable()
    row.SubItems[1], row.SubItems[2] = "e", "f"
    out = tmp_path / "out.txt"
    out.write_bytes(b"old\r\n")
    assert lib.ListViewToASCII(str(out), lv, "\t") is False
    assert out.read_bytes() == b"old\r\n"
    assert reports == ["Error on ListView Object To ASCII file"]
