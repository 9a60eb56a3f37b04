"""The shared case tables (tests/cases/*.tsv), run through the Python face.

The same rows run under Wine from a VBScript that tests/wine/cases_to_vbs.py writes.
"""
import glob
import os
import sys

import pytest

import zivoviviruvov as zv

CASES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cases")
sys.path.insert(0, CASES)
import vbexpr  # noqa: E402

ROWS = [row for path in sorted(glob.glob(os.path.join(CASES, "*.tsv")))
        for row in vbexpr.read_table(path) if row["platform"] in ("any", "posix")]


def same(got, expected):
    """Equal in value and kind, as the VBScript run compares."""
    if isinstance(expected, (bool, str)) or expected is None:
        return type(got) is type(expected) and got == expected
    return not isinstance(got, (bool, str)) and got == expected


def call(obj, name, args):
    """obj.name(args); a property without arguments is read at attribute access."""
    member = getattr(obj, name)
    return member(*args) if args or isinstance(member, zv.Member) else member


@pytest.mark.parametrize("row", ROWS, ids=[f"{r['where']}-{r['member']}" for r in ROWS])
def test_case(row):
    obj = zv.CreateObject(f"ZivoviViruvov.{row['class']}")
    args = vbexpr.arguments(row["args"])
    if vbexpr.Missing in args:
        pytest.skip("left-out slots are a VBScript form")
    if row["expect"].startswith("!"):
        with pytest.raises(zv.AutomationError) as caught:
            call(obj, row["member"], args)
        assert caught.value.number == int(row["expect"][1:])
    else:
        got = call(obj, row["member"], args)
        assert same(got, vbexpr.evaluate(row["expect"])), f"got {got!r}"
