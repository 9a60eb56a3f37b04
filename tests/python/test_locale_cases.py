"""The case-table rows meant for a given user locale ("any@de_DE"), run through the
Python face in a child process per locale, since the library reads the locale once.

The same rows run under Wine from tests/wine/locale_run.sh, in a prefix per LANG.
"""
import glob
import json
import os
import subprocess
import sys

import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
CASES = os.path.join(HERE, "..", "cases")
sys.path.insert(0, CASES)
import vbexpr  # noqa: E402

ROWS = [row for path in sorted(glob.glob(os.path.join(CASES, "*.tsv")))
        for row in vbexpr.read_table(path) if row["platform"].startswith(("any@", "posix@"))]
LOCALES = sorted({row["platform"].split("@")[1] for row in ROWS})

# Runs every row of one locale and prints, per row, the value or the error number.
CHILD = """
import json, sys
sys.path.insert(0, sys.argv[1])
import vbexpr
import zivoviviruvov as zv
out = []
for row in json.load(sys.stdin):
    args = vbexpr.arguments(row["args"])
    refs = [zv.Ref(None) if a is vbexpr.Out else a for a in args]
    try:
        got = getattr(zv.CreateObject("ZivoviViruvov." + row["class"]), row["member"])(*refs)
        if any(a is vbexpr.Out for a in args):
            got = ",".join(str(r.value) for r, a in zip(refs, args) if a is vbexpr.Out)
        out.append({"value": got})
    except zv.AutomationError as e:
        out.append({"error": e.number})
print(json.dumps(out))
"""


def run_locale(locale, rows):
    env = dict(os.environ, LANG=f"{locale}.UTF-8", LC_ALL="", LC_MESSAGES="")
    child = subprocess.run([sys.executable, "-c", CHILD, CASES], input=json.dumps(rows),
                           capture_output=True, text=True, env=env, check=True)
    return json.loads(child.stdout)


@pytest.mark.parametrize("locale", LOCALES)
def test_rows_of_locale(locale):
    rows = [r for r in ROWS if r["platform"].endswith("@" + locale)]
    failures = []
    for row, got in zip(rows, run_locale(locale, rows)):
        expect = row["expect"]
        if expect.startswith("!"):
            ok = got.get("error") == int(expect[1:])
        else:
            want = vbexpr.evaluate(expect)
            ok = "value" in got and got["value"] == want and type(got["value"]) is type(want)
        if not ok:
            failures.append(f"{row['where']} {row['member']}({row['args']}): {got}")
    assert not failures, "\n".join(failures)
