#!/usr/bin/env python3
"""Writes the oracle's case table from the inputs in case_data.json: Format of numbers,
Currency amounts, dates and texts, date, number and Currency reading, and locale items,
across the twelve locales (see case_io.h for the line format).

Usage: generate_cases.py > cases.tsv
The table is the same on every run: it depends on nothing but these two files.
"""
import itertools
import json
import os
import sys

DATA = json.load(open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "case_data.json"),
                      encoding="utf-8"))
LOCALES = DATA["locales"]
OTHERS = LOCALES[1:]

# LCTYPE flag bits.
NO_USER_OVERRIDE = 0x80000000
USE_CP_ACP = 0x40000000
RETURN_NUMBER = 0x20000000


def esc(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
            .replace("\r", "\\r"))


def case(kind, lcid, *fields):
    return "\t".join([kind, str(lcid)] + [esc(f) for f in fields])


def fits(value, pattern):
    """Wine's formatter writes into a 256-character buffer: a huge value written out in full
    overflows it, so such values go only to patterns with an exponent."""
    upper = pattern.upper()
    return abs(float(value)) < 1e150 or "E+" in upper or "E-" in upper or \
        pattern in ("", "General Number")


def spread(combos, kind, prefix, every):
    """Each combination under en-US, and every `every`th under the next of the others."""
    out = []
    for index, (value, pattern) in enumerate(combos):
        out.append(case(kind, 1033, prefix + value, pattern))
        if index % every == 0:
            out.append(case(kind, OTHERS[index % len(OTHERS)], prefix + value, pattern))
    return out


def number_cases():
    # Every magnitude and rounding half, both signs.
    values = [f"{sign}{m}e{e}" for e in range(-12, 18, 2) for m in DATA["mantissas"]
              for sign in ("", "-")] + DATA["special_doubles"]
    combos = [(repr(float(v)), p) for v, p in itertools.product(values, DATA["number_patterns"])
              if fits(v, p)]
    out = spread(combos, "F", "d:", 3)
    out += [case("F", lcid, f"c:{units}", pattern) for lcid in LOCALES
            for units in DATA["currency_units"] for pattern in DATA["currency_patterns"]]
    return out


def date_cases():
    combos = [(repr(s), p) for s, p in itertools.product(DATA["serials"], DATA["date_patterns"])]
    out = spread(combos, "F", "t:", 2)
    # Doubles given to date patterns: in range they are dates, beyond they stay numbers.
    for value, pattern, lcid in itertools.product(DATA["out_of_range"] + ["45651", "45651.5"],
                                                  ["yyyy-mm-dd", "dd/mm/yyyy", "d/M/yy"], LOCALES):
        out.append(case("F", lcid, "d:" + repr(float(value)), pattern))
    out += [case("F", lcid, "s:" + text, pattern) for lcid in LOCALES
            for text in DATA["texts"] for pattern in DATA["text_patterns"]]
    return out


def read_cases():
    out = []
    for lcid in LOCALES:
        for text in DATA["date_texts"] + DATA["locale_date_texts"].get(str(lcid), []):
            out.append(case("D", lcid, text))
        for text in DATA["number_texts"]:
            out += [case("R", lcid, text), case("C", lcid, text)]
    return out


def locale_cases():
    out = []
    every = list(range(0x01, 0x80)) + list(range(0x1001, 0x1015))
    for lcid in LOCALES:
        out += [case("L", lcid, str(t)) for t in every]
        out += [case("L", lcid, str(t | NO_USER_OVERRIDE)) for t in (0x0E, 0x1F, 0x1003, 0x5C)]
        out += [case("L", lcid, str(t | USE_CP_ACP)) for t in (0x02, 0x2A, 0x38, 0x1F, 0x20)]
        out += [case("L", lcid, str(t | RETURN_NUMBER)) for t in DATA["numeric_lctypes"]]
    # Other locales, the invariant one, the default LCIDs and an unknown one.
    for lcid in DATA["other_locales"] + [0x7F, 0, 0x400, 0x800, 0x1000, 12345]:
        out += [case("L", lcid, str(t))
                for t in (0x01, 0x02, 0x03, 0x0E, 0x0F, 0x14, 0x1D, 0x1E, 0x1F, 0x20, 0x1003,
                          0x38, 0x44, 0x2A, 0x31, 0x5C, 0x59, 0x5A)]
    return out


if __name__ == "__main__":
    lines = number_cases() + date_cases() + read_cases() + locale_cases()
    sys.stdout.write("\n".join(lines) + "\n")
