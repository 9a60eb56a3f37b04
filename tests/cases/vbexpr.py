"""Reads the argument and result texts of the case tables (tests/cases/*.tsv).

They are VBScript expressions of a small kind, so the Wine run pastes them into the
generated script unchanged and Python evaluates them here: "text" (a doubled "" is one
quote), whole and decimal numbers, True, False, Empty, vbCr, vbLf, vbCrLf, vbTab, Chr(n),
Space(n), String(n, "c"), joined with &.
"""
import re


def split_top(text, sep):
    """Splits at `sep` outside quotes and parentheses."""
    parts, depth, quoted, current = [], 0, False, ""
    for ch in text:
        if ch == '"':
            quoted = not quoted
        elif not quoted and ch == "(":
            depth += 1
        elif not quoted and ch == ")":
            depth -= 1
        if ch == sep and not quoted and depth == 0:
            parts.append(current)
            current = ""
        else:
            current += ch
    parts.append(current)
    return parts


class Missing:
    """An argument left out (an empty slot between commas)."""


def evaluate(text):
    text = text.strip()
    pieces = [p.strip() for p in split_top(text, "&")]
    if len(pieces) > 1:
        return "".join(str(evaluate(p)) for p in pieces)
    if text in ("True", "False"):
        return text == "True"
    if text == "Empty":
        return None
    if re.fullmatch(r"-?\d+", text):
        return int(text)
    if re.fullmatch(r"-?\d*\.\d+", text):
        return float(text)
    if len(text) >= 2 and text[0] == '"' and text[-1] == '"':
        return text[1:-1].replace('""', '"')
    consts = {"vbCr": "\r", "vbLf": "\n", "vbCrLf": "\r\n", "vbTab": "\t"}
    if text in consts:
        return consts[text]
    m = re.fullmatch(r"(Chr|Space)\((\d+)\)", text)
    if m:
        n = int(m.group(2))
        return chr(n) if m.group(1) == "Chr" else " " * n
    m = re.fullmatch(r'String\((\d+),\s*"(.)"\)', text)
    if m:
        return m.group(2) * int(m.group(1))
    raise ValueError(f"cannot read {text!r}")


def arguments(text):
    """The argument list of a case: values, with Missing for left-out slots."""
    if not text.strip():
        return []
    return [Missing if not a.strip() else evaluate(a) for a in split_top(text, ",")]


def read_table(path):
    """Rows of a case table: dicts with platform, class, member, args, expect, where."""
    rows = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            cols = line.split("\t")
            if len(cols) != 5:
                raise ValueError(f"{path}:{number}: expected 5 tab-separated columns")
            platform, cls, member, args, expect = cols
            rows.append({"platform": platform, "class": cls, "member": member, "args": args,
                         "expect": expect, "where": f"{path.split('/')[-1]}:{number}"})
    return rows
