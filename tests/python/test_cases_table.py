"""The shared case tables (tests/cases/*.tsv), run through the Python face.

The same rows run under Wine from a VBScript that tests/wine/cases_to_vbs.py writes. The
rows of a user locale ("any@de_DE") run in a child process per locale, since the library
reads the locale once (under Wine: tests/wine/locale_run.sh, a prefix per LANG).
"""
import glob
import json
import os
import subprocess
import sys

import pytest

import vbexpr
import zivoviviruvov as zv

HERE = os.path.dirname(os.path.abspath(__file__))
CASES = os.path.join(HERE, "..", "cases")

ROWS = [row for path in sorted(glob.glob(os.path.join(CASES, "*.tsv")))
        for row in vbexpr.read_table(path)]
PLAIN = [row for row in ROWS if row["platform"] in ("any", "posix")]
LOCALES = sorted({row["platform"].split("@")[1] for row in ROWS
                  if row["platform"].startswith(("any@", "posix@"))})
CHILD = "import json, sys; sys.path[:0] = sys.argv[1:]; from test_cases_table import run; " \
        "print(json.dumps([run(row) for row in json.load(sys.stdin)]))"


def run(row):
    """The row's call: {"value": result} or {"error": number}. The variables of "?"
    arguments are the result, joined with ","; a property without arguments is read."""
    args = vbexpr.arguments(row["args"])
    refs = [zv.Ref(None) if a is vbexpr.Out else a for a in args]
    try:
        member = getattr(zv.CreateObject(f"ZivoviViruvov.{row['class']}"), row["member"])
        got = member(*refs) if refs or isinstance(member, zv.Member) else member
        if vbexpr.Out in args:
            got = ",".join(str(r.value) for r, a in zip(refs, args) if a is vbexpr.Out)
        return {"value": got}
    except zv.AutomationError as e:
        return {"error": e.number}


def passes(row, got):
    """Equal in value and kind, as the VBScript run compares."""
    if row["expect"].startswith("!"):
        return got.get("error") == int(row["expect"][1:])
    expected, got = vbexpr.evaluate(row["expect"]), got.get("value", ())
    if isinstance(expected, (bool, str)) or expected is None:
        return type(got) is type(expected) and got == expected
    return not isinstance(got, (bool, str)) and got == expected


@pytest.mark.parametrize("row", PLAIN, ids=[f"{r['where']}-{r['member']}" for r in PLAIN])
def test_case(row):
    got = run(row)
    assert passes(row, got), f"got {got!r}"


@pytest.mark.parametrize("locale", LOCALES)
def test_rows_of_locale(locale):
    rows = [r for r in ROWS if r["platform"].endswith("@" + locale)]
    env = dict(os.environ, LANG=f"{locale}.UTF-8", LC_ALL="", LC_MESSAGES="")
    child = subprocess.run([sys.executable, "-c", CHILD, HERE, CASES], input=json.dumps(rows),
                           capture_output=True, text=True, env=env, check=True)
    failures = [f"{row['where']} {row['member']}({row['args']}): {got}"
                for row, got in zip(rows, json.loads(child.stdout)) if not passes(row, got)]
    assert not failures, "\n".join(failures)
