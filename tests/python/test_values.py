"""Python values into the library and back, and variables passed by reference."""

import datetime
import math
from decimal import Decimal

import pytest

import zivoviviruvov as zv
from zvtest import raises_error


def round_trip(value):
    """The value after a stay in a library Collection (a Variant there)."""
    coll = zv.Collection()
    coll.Add(value)
    return coll.Item(1)


D = datetime.datetime
KEPT = ["text", "", "line 1\r\nline 2", "\u00e9 \u00fc \u00df \u20ac", "\U0001f600 astral",
        "\ud800 lone surrogate", True, 2 ** 31 - 1, -2 ** 31, -0.0, float("inf"), None,
        Decimal("12.34"), Decimal("-922337203685477.5808"), Decimal("922337203685477.5807"),
        D(1899, 12, 30), D(1899, 12, 29, 6, 0), D(100, 1, 1), D(9999, 12, 31, 23, 59, 59),
        D(2024, 5, 6, 7, 8, 9, 123000), D(1800, 5, 6, 7, 8, 9, 250000)]  # a Date holds ms


@pytest.mark.parametrize("value, expected", [(v, v) for v in KEPT] + [
    (datetime.date(2000, 1, 2), D(2000, 1, 2)),
    (D(2024, 5, 6, 7, 8, 9, 123456), D(2024, 5, 6, 7, 8, 9, 123000)),
    (D(2024, 5, 6, 23, 59, 59, 999900), D(2024, 5, 7)),
    ([], ()),
    ([1, "a", None], (1, "a", None)),
    ((1, (2, [3])), (1, (2, (3,)))),
    (b"\x00\x7f\xff", (0, 127, 255)),
    # Currency keeps four decimals, half to even.
    (Decimal("0.00005"), Decimal("0")),
    (Decimal("0.00015"), Decimal("0.0002")),
    (Decimal("-0.00025"), Decimal("-0.0002")),
    (Decimal(7), Decimal("7.0000")),
])
def test_round_trip(value, expected):
    result = round_trip(value)
    assert result == expected
    assert type(result) is type(expected)
    if isinstance(expected, float) and expected == 0:
        assert math.copysign(1, result) == math.copysign(1, expected)
    if isinstance(value, Decimal):
        assert result.as_tuple().exponent == -4


@pytest.mark.parametrize("value, number", [
    (10 ** 30, 6),                                # beyond 64 bits; 2 ** 31 is a call error case
    (Decimal("922337203685477.5808"), 6),
    (Decimal("Infinity"), 6),
    (Decimal("NaN"), 13),
    ([1, 2 ** 40], 6),                            # inside an array too
])
def test_values_the_library_cannot_hold(value, number):
    with raises_error(number):
        round_trip(value)


# Python's dates arrive as OLE day counts: CStr shows which day the count is.
@pytest.mark.parametrize("value, text", [
    (False, "False"),
    (D(2026, 12, 6, 13, 5), "12/6/2026 1:05:00 PM"),
    (D(1899, 12, 31), "12/31/1899"),
    (D(1899, 12, 29, 6, 0), "12/29/1899 6:00:00 AM"),
    (D(1899, 12, 30, 18, 30), "6:30:00 PM"),
    (datetime.date(2000, 1, 1), "1/1/2000"),
])
def test_values_as_the_library_reads_them(value, text):
    box = zv.TextBox()
    box.Text = value
    assert box.Text == text


def test_objects_keep_identity_through_the_library():
    python_object = {"a": 1}
    library_object = zv.ListBox()
    assert round_trip(python_object) is python_object
    assert round_trip(library_object) == library_object
    assert round_trip([python_object, library_object]) == (python_object, library_object)


def test_ref_holds_a_converted_value():
    r = zv.Ref()
    assert r.value is None
    r.value = [1, 2]
    assert r.value == (1, 2)            # the library's array comes back as a tuple
    assert repr(r) == "Ref((1, 2))"
    with raises_error(6):
        r.value = 2 ** 31
    with raises_error(6):
        zv.Ref(2 ** 31)


def test_ref_passed_by_value_gives_its_value():
    box = zv.ListBox()
    first, second = zv.Ref("by position"), zv.Ref("by name")
    box.AddItem(first)
    box.AddItem(Item=second)
    assert [box.List(0), box.List(1)] == ["by position", "by name"]
    assert (first.value, second.value) == ("by position", "by name")

    class Callee:
        def Take(self, value):
            return value * 2

    r = zv.Ref(21)
    assert zv.invoke(Callee(), "Take", zv.DISPATCH_METHOD, r) == 42 and r.value == 21


def test_by_reference_parameter_writes_back_to_the_ref(files, tmp_path):
    # GetLineIfTextExist's theExistText is ByRef String: the library works on a String copy
    # of the caller's variable and stores it back when the call ends; a plain value passed
    # instead is a temporary.
    path = str(tmp_path / "lines.txt")
    (tmp_path / "lines.txt").write_bytes(b"a12b\r\n")
    r = zv.Ref(12)
    assert files.GetLineIfTextExist(path, r) == "a12b" and r.value == "12"
    assert files.GetLineIfTextExist(path, 12) == "a12b"


def test_python_list_where_the_library_takes_an_array_of_names(files, tmp_path, isolated_home):
    names = [str(tmp_path / f"n{i}.txt") for i in range(3)]
    for i in range(3):
        (tmp_path / f"n{i}.txt").write_text(str(i))
    assert files.DeleteFilesToWindowsTrash(names) == 0
    trash = isolated_home / ".local" / "share" / "Trash"
    assert sorted(p.name for p in (trash / "files").iterdir()) == ["n0.txt", "n1.txt", "n2.txt"]
    info = (trash / "info" / "n1.txt.trashinfo").read_text().splitlines()
    assert info[:2] == ["[Trash Info]", f"Path={tmp_path}/n1.txt"]
    assert files.DeleteFilesToWindowsTrash(names) == 2        # gone already
    assert files.DeleteFilesToWindowsTrash([names[0], object()]) == 0  # an object is no text
