#!/usr/bin/env python3
"""Compares the platform's answers with the runtime's, case by case.

Usage: compare.py CASES PLATFORM_ANSWERS RUNTIME_ANSWERS ALLOWED
A difference fails unless a line of ALLOWED matches it: kind, LCIDs ("*" or a
comma-separated list), a regular expression for each of the case's two fields, for the
platform's answer and for the runtime's (matched whole, as escaped in the files; empty
matches anything), then the reason. Prints the counts and each failure; exits non-zero
when any difference is not allowed.
"""
import re
import sys
from collections import Counter


def read_allowed(path):
    rules = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            kind, lcids, *patterns, reason = line.split("\t")
            if len(patterns) != 4:
                raise ValueError(f"{path}: 7 columns expected: {line}")
            rules.append({"kind": kind, "lcids": None if lcids == "*" else set(lcids.split(",")),
                          "patterns": [re.compile(p or ".*") for p in patterns],
                          "reason": reason})
    return rules


def allowed_by(rules, case, want, got):
    kind, lcid, *fields = case.split("\t")
    texts = (fields + ["", ""])[:2] + [want, got]
    for rule in rules:
        if rule["kind"] != kind or (rule["lcids"] is not None and lcid not in rule["lcids"]):
            continue
        if all(p.fullmatch(t) for p, t in zip(rule["patterns"], texts)):
            return rule["reason"]
    return None


def main(cases_path, platform_path, runtime_path, allowed_path):
    cases, platform, runtime = (open(path, encoding="utf-8", errors="replace").read().splitlines()
                                for path in (cases_path, platform_path, runtime_path))
    if not len(cases) == len(platform) == len(runtime):
        print(f"oracle: {len(cases)} cases but {len(platform)} platform and {len(runtime)} "
              "runtime answers")
        return 1
    rules = read_allowed(allowed_path)
    reasons = Counter()
    failures = []
    for case, want, got in zip(cases, platform, runtime):
        if want == got:
            continue
        reason = allowed_by(rules, case, want, got)
        if reason:
            reasons[reason] += 1
        else:
            failures.append(f"FAIL: {case}\n  platform: {want}\n  runtime:  {got}")
    for failure in failures:
        print(failure)
    allowed = sum(reasons.values())
    print(f"oracle: {len(cases)} cases compared, {len(cases) - allowed - len(failures)} equal, "
          f"{allowed} allowed, {len(failures)} failed")
    for reason, count in reasons.most_common():
        print(f"  allowed {count}: {reason}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
