"""LstViewLib's files from Python: the exports of the shared sample give the expected bytes on
zv.ListView() and on a plain Python list-view; the import's boxes; a round trip."""
import os

import pytest

import zivoviviruvov as zv
from test_lstviewlib import PlainListView

CASES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cases", "listview")

SAMPLE = [["Caf\u00e9", "Zo\u00eb", ""], ["\u00c4rger & Co", "Lyon", "a<b"], ["", "", "12 \u20ac"]]

EXPORTS = [
    ("sample_table.html", "AppendListViewToHTML",
     ("Villes \u00e9t\u00e9", False, "silver", "#EEEEEE", "white", "Arial")),
    ("sample.xml", "ListViewToXMLfile", ()),
    ("sample_tags.xml", "ListViewToXMLfile", (False, True, 3)),
    ("sample.csv", "ListViewToASCII", (";", '"', False, "", "", 0, "Nom;Ville;Note")),
    ("sample_columns.txt", "ListViewToASCII", ("\t", "", False, "id", "end", 1)),
]


def sample(lv):
    for caption, align in [("Nom", 0), ("Ville", 2), ("Note", 1)]:
        lv.ColumnHeaders.Add(None, None, caption, None, align)
    for cells in SAMPLE:
        row = lv.ListItems.Add(None, None, cells[0])
        for k in (1, 2):
            row.SubItems[k] = cells[k]
    lv.ListItems.Item(1).ListSubItems.Item(1).Bold = True
    lv.ListItems.Item(2).Bold = True
    lv.ListItems.Item(2).ListSubItems.Item(1).ForeColor = 255
    return lv


@pytest.mark.parametrize("make", [PlainListView, zv.ListView])
@pytest.mark.parametrize("name, member, options", EXPORTS, ids=[e[0] for e in EXPORTS])
def test_exports_write_the_expected_bytes(tmp_path, make, name, member, options):
    lib = zv.CreateObject("ZivoviViruvov.LstViewLib")
    out = tmp_path / name
    assert getattr(lib, member)(str(out), sample(make()), *options) is True
    with open(os.path.join(CASES, name), "rb") as f:
        assert out.read_bytes() == f.read()


def rows_of(lv):
    return [[lv.ListItems.Item(i).Text] + [lv.ListItems.Item(i).SubItems[k] for k in (1, 2)]
            for i in range(1, lv.ListItems.Count + 1)]


def test_round_trip_through_delimited_text(tmp_path, boxes):
    lib = zv.CreateObject("ZivoviViruvov.LstViewLib")
    out = str(tmp_path / "rt.csv")
    assert lib.ListViewToASCII(out, sample(zv.ListView()), ";", '"', False, "", "", 0, "Nom;Ville;Note")
    back = zv.ListView()
    assert lib.LoadListViewFromASCII(out, back, True, True, False, False, False, ";") is True
    assert [back.ColumnHeaders.Item(c).Key for c in (1, 2, 3)] == ["Nom1", "Ville2", "Note3"]
    assert rows_of(back) == SAMPLE
    assert boxes == []


def test_import_box_reaches_the_handler(tmp_path, boxes):
    # Every box and report of the import is checked natively and under Wine; here one box
    # through Python's handler.
    data = tmp_path / "in.txt"
    data.write_bytes(b"a")
    lib = zv.CreateObject("ZivoviViruvov.LstViewLib")
    assert lib.LoadListViewFromASCII(str(data), zv.ListView(), theSeparator="\t") is False
    assert boxes == [("Information", f"Unable to load data. The file is empty: 1\r\n{data}")]
