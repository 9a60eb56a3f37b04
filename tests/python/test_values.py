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


@pytest.mark.parametrize("value, expected", [
    ("text", "text"),
    ("", ""),
    (True, True),
    (False, False),
    (0, 0),
    (-5, -5),
    (2 ** 31 - 1, 2 ** 31 - 1),
    (-2 ** 31, -2 ** 31),
    (1.5, 1.5),
    (-0.0, -0.0),
    (float("inf"), float("inf")),
    (Decimal("12.34"), Decimal("12.34")),
    (Decimal("-922337203685477.5808"), Decimal("-922337203685477.5808")),
    (Decimal("922337203685477.5807"), Decimal("922337203685477.5807")),
    (datetime.datetime(2024, 2, 29, 13, 45, 30), datetime.datetime(2024, 2, 29, 13, 45, 30)),
    (datetime.datetime(1899, 12, 30), datetime.datetime(1899, 12, 30)),
    (datetime.datetime(1899, 12, 29, 6, 0), datetime.datetime(1899, 12, 29, 6, 0)),
    (datetime.datetime(100, 1, 1), datetime.datetime(100, 1, 1)),
    (datetime.datetime(9999, 12, 31, 23, 59, 59), datetime.datetime(9999, 12, 31, 23, 59, 59)),
    (datetime.date(2000, 1, 2), datetime.datetime(2000, 1, 2)),
    # A Date holds milliseconds.
    (datetime.datetime(2024, 5, 6, 7, 8, 9, 123000), datetime.datetime(2024, 5, 6, 7, 8, 9, 123000)),
    (datetime.datetime(2024, 5, 6, 7, 8, 9, 123456), datetime.datetime(2024, 5, 6, 7, 8, 9, 123000)),
    (datetime.datetime(2024, 5, 6, 23, 59, 59, 999900), datetime.datetime(2024, 5, 7)),
    (datetime.datetime(1800, 5, 6, 7, 8, 9, 250000), datetime.datetime(1800, 5, 6, 7, 8, 9, 250000)),
    (None, None),
    ([], ()),
    ([1, "a", None], (1, "a", None)),
    ((1, (2, [3])), (1, (2, (3,)))),
    (b"\x00\x7f\xff", (0, 127, 255)),
])
def test_round_trip(value, expected):
    result = round_trip(value)
    assert result == expected
    assert type(result) is type(expected)
    if isinstance(expected, float) and expected == 0:
        assert math.copysign(1, result) == math.copysign(1, expected)


@pytest.mark.parametrize("value, expected", [
    (Decimal("0.00005"), Decimal("0")),           # Currency keeps four decimals, half to even
    (Decimal("0.00015"), Decimal("0.0002")),
    (Decimal("0.00025"), Decimal("0.0002")),
    (Decimal("-0.00025"), Decimal("-0.0002")),
    (Decimal("1.23456"), Decimal("1.2346")),
    (Decimal(7), Decimal("7.0000")),
])
def test_currency_rounds_to_four_decimals(value, expected):
    result = round_trip(value)
    assert result == expected
    assert result.as_tuple().exponent == -4


@pytest.mark.parametrize("value, number", [
    (2 ** 31, 6),
    (-2 ** 31 - 1, 6),
    (10 ** 30, 6),
    (Decimal("922337203685477.5808"), 6),
    (Decimal("1e400"), 6),
    (Decimal("Infinity"), 6),
    (Decimal("NaN"), 13),
    ([1, 2 ** 40], 6),                            # inside an array too
])
def test_values_the_library_cannot_hold(value, number):
    with raises_error(number):
        round_trip(value)


@pytest.mark.parametrize("value, text", [
    (True, "True"),
    (False, "False"),
    (1.5, "1.5"),
    (-7, "-7"),
    (Decimal("12.34"), "12.34"),
    (None, ""),
    # Dates as OLE day counts: CStr shows which day the count is.
    (datetime.datetime(2026, 12, 6, 13, 5), "12/6/2026 1:05:00 PM"),
    (datetime.datetime(1899, 12, 31), "12/31/1899"),
    (datetime.datetime(1899, 12, 29, 6, 0), "12/29/1899 6:00:00 AM"),
    (datetime.datetime(1899, 12, 30, 18, 30), "6:30:00 PM"),
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


# --- by reference ------------------------------------------------------------------------

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


def test_ref_is_read_by_value_parameters():
    box = zv.ListBox()
    first, second = zv.Ref("by position"), zv.Ref("by name")
    box.AddItem(first)
    box.AddItem(Item=second)
    assert [box.List(0), box.List(1)] == ["by position", "by name"]
    assert (first.value, second.value) == ("by position", "by name")


def test_by_reference_parameter_writes_back_to_the_ref(files, tmp_path):
    # GetLineIfTextExist's theExistText is ByRef String: the library works on a String copy
    # of the caller's variable and stores it back when the call ends; a plain value passed
    # instead is a temporary.
    (tmp_path / "lines.txt").write_bytes(b"a12b\r\n")
    r = zv.Ref(12)
    assert files.GetLineIfTextExist(str(tmp_path / "lines.txt"), r) == "a12b"
    assert r.value == "12"
    plain = 12
    assert files.GetLineIfTextExist(str(tmp_path / "lines.txt"), plain) == "a12b"
    assert plain == 12


def test_ref_through_a_python_callee_arrives_as_its_value():
    received = []

    class Callee:
        def Take(self, value):
            received.append(value)
            return value * 2

    r = zv.Ref(21)
    assert zv.invoke(Callee(), "Take", zv.DISPATCH_METHOD, r) == 42
    assert received == [21]
    assert r.value == 21
