#!/usr/bin/env python3
"""What a change of the tests did to coverage: compares two build/coverage/coverage.json files
(scripts/coverage.sh) and lists every src/ line and branch the first run covered and the second
does not. Lines are matched by file and number, so compare runs over the same src/.

    scripts/coverage_diff.py BEFORE.json AFTER.json

Exits 1 when anything lost its last covering test."""
import json
import sys


def counts(path):
    lines, branches = {}, {}
    for f in json.load(open(path))["files"]:
        for line in f["lines"]:
            if line.get("gcovr/noncode"):
                continue
            key = (f["file"], line["line_number"])
            lines[key] = lines.get(key, 0) + line["count"]
            for i, branch in enumerate(line.get("branches", [])):
                branches[key + (i,)] = branches.get(key + (i,), 0) + branch["count"]
    return lines, branches


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    lost = 0
    for kind, before, after in zip(("line", "branch"), *map(counts, sys.argv[1:])):
        covered = lambda table: sum(1 for c in table.values() if c)
        gone = sorted(k for k, c in before.items() if c and not after.get(k))
        print(f"{kind} coverage: {covered(before)} -> {covered(after)} covered; lost {len(gone)}")
        for key in gone:
            print(f"  {kind} lost: {':'.join(map(str, key))}")
        lost += len(gone)
    sys.exit(1 if lost else 0)


main()
