"""FlexGridLib from Python: the list-view's headers into the grid's band header, the columns
fitted to the texts (measured with the fixed widths of the POSIX stand-in font), the format
string and row heights of AutoSize, and the grid and list-view released after each call."""
import pytest

import zivoviviruvov as zv

LEFT, RIGHT, CENTRE = 0, 1, 2


def list_view(headers, rows=1):
    lv = zv.ListView()
    for text, alignment in headers:
        lv.ColumnHeaders.Add(Text=text).Alignment = alignment
    for _ in range(rows):
        lv.ListItems.Add(Text="row")
    return lv


def grid_of(cells, fixed_rows=1, alignments=()):
    grid = zv.FlexGrid()
    grid.Rows, grid.Cols = len(cells), len(cells[0])
    grid.FixedRows = fixed_rows
    for r, row in enumerate(cells):
        for c, text in enumerate(row):
            grid.TextMatrix[r, c] = text
    for c, alignment in enumerate(alignments):
        grid.ColAlignment[c] = alignment
    return grid


@pytest.fixture
def lib():
    return zv.CreateObject("ZivoviViruvov.FlexGridLib")


@pytest.mark.parametrize("member", ["ListViewToFlexGrid", "HeaderListViewToFlexGrid"])
@pytest.mark.parametrize("grid_set, rows, headers", [
    (False, 2, [("A", LEFT)]),   # no grid
    (True, 0, [("A", LEFT)]),    # a list-view without rows (only the transfer needs them)
    (True, 2, []),               # a list-view without headers
])
def test_nothing_to_transfer_gives_false_and_keeps_the_properties(lib, member, grid_set, rows, headers):
    lv, grid = list_view(headers, rows), zv.FlexGrid() if grid_set else None
    lib.tmpListView, lib.mainFlexGrid = lv, grid
    args = (None, None) if member == "ListViewToFlexGrid" else ()
    expected = member == "HeaderListViewToFlexGrid" and rows == 0 and headers != []
    assert getattr(lib, member)(*args) is expected
    if not expected:
        assert lib.tmpListView is lv and lib.mainFlexGrid is grid


def test_transfer_sizes_the_grid_and_copies_the_headers(lib):
    lv = list_view([("City", LEFT), ("Amount", RIGHT), ("Flag", CENTRE)], rows=5)
    lib.tmpListView, lib.mainFlexGrid = lv, zv.FlexGrid()
    grid = lib.mainFlexGrid
    # The arguments are accepted and not used.
    assert lib.ListViewToFlexGrid(zv.ListView(), None) is True
    assert (grid.Rows, grid.Cols, grid.FixedRows, grid.FixedCols) == (1, 3, 0, 0)
    assert [grid.ColHeaderCaption(0, c) for c in range(3)] == ["City", "Amount", "Flag"]
    assert [grid.ColAlignmentHeader(0, c) for c in range(3)] == [1, 7, 4]
    assert [grid.ColHeader(c) for c in range(3)] == [1, 1, 1]
    assert lib.tmpListView is None and lib.mainFlexGrid is None


# Widths in twips: (widest text in pixels + 10) x 15, columns only grow (from 960 twips).
@pytest.mark.parametrize("texts, width_before, width_after", [
    (["MMMMMMMMMMMM", "M"], None, (96 + 10) * 15),
    (["Wolfeschlegelstein", "x"], None, (75 + 10) * 15),
    (["Éléphantesque", ""], None, (60 + 10) * 15),    # accents as their letters
    (["ab", "abc"], None, 960),                  # narrower than the column
    (["", ""], 30, 30),                          # an empty column keeps its width
    (["MMMMMMMMMMMM", ""], 5000, 5000),          # never narrower
    (["first line" + "\r\n" + "second", ""], None, (70 + 10) * 15),  # CR LF measured too
])
def test_resize_columns_fits_the_widest_text(lib, texts, width_before, width_after):
    grid = grid_of([[t] for t in texts])
    if width_before is not None:
        grid.ColWidth[0] = width_before
    lib.mainFlexGrid = grid
    lib.ResizeColumns(0)
    assert grid.ColWidth(0) == width_after
    assert lib.mainFlexGrid is None


@pytest.mark.parametrize("cells, fixed_rows, alignments, expected", [
    ([["Name", "Sum", "x"], ["Paris", "12", ""], ["Rome" + "\r\n" + "Lazio", "123456", "yy"]],
     1, [4, 7, 9], "^AAAAA|>AAAAAA|AA"),
    ([["a", "bb"], ["ccc", ""]], 0, [0, 3], "AAA|AA"),
    ([["", ""], ["", ""]], 1, [1, 8], "<|>"),
])
def test_autosize_columns_writes_the_format_string(lib, cells, fixed_rows, alignments, expected):
    grid = grid_of(cells, fixed_rows, alignments)
    lib.mainFlexGrid = grid
    lib.AutoSize(True, False)
    assert grid.FormatString == expected
    assert [grid.TextMatrix(0, c) for c in range(grid.Cols)] == (
        cells[0] if fixed_rows else ["A" * len(s) for s in expected.split("|")])
    assert grid.Redraw is True and lib.mainFlexGrid is None


def test_autosize_rows_multiplies_each_rows_height_per_cell(lib):
    two = "a\r\nb"
    grid = grid_of([["h", "h"], [two, two], ["a\r\nb\r\nc", ""], ["", ""]])
    lib.mainFlexGrid = grid
    lib.AutoSize(False, True)
    assert [grid.RowHeight(r) for r in range(4)] == [240, 240 * 4, 240 * 3, 240]
    assert grid.FormatString == ""


def test_empty_grid_and_reports(lib, reports):
    grid = grid_of([["a", "b"], ["c", "d"], ["e", "f"]])
    lib.AutoSize(True, True)  # no grid: nothing happens, nothing is reported
    lib.mainFlexGrid = grid
    lib.EmptyFlexGlid()
    assert (grid.Rows, grid.TextMatrix(0, 0), lib.mainFlexGrid) == (2, "", None)
    lib.ResizeColumns(0)      # no grid: the failure is reported
    lib.mainFlexGrid = object()
    lib.AutoSize(True, False)
    assert lib.mainFlexGrid is None
    assert reports == ["Error on resizing grid columns", "Error on auto sizing grid columns"]
