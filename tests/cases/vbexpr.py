"""Reads the argument and result texts of the case tables (tests/cases/*.tsv).

They are VBScript expressions of a small kind, so the Wine run pastes them into the
generated script unchanged and Python evaluates them here: "text" (a doubled "" is one
quote), whole and decimal numbers, True, False, Empty, vbCr, vbLf, vbCrLf, vbTab, Chr(n),
Space(n), String(n, "c"), CDbl("text"), joined with &. Three forms belong to the tables
only: Cur("text") is an exact Currency (read by MoneyLib.GetCurrency in the script, since
Wine's CCur goes through a Double); an argument "?" is a variable the call fills (the case
then compares the variables joined with ","); Today("dd/MM/yyyy") is today's date written
with that pattern.
"""
import datetime
import decimal
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


class Out:
    """A variable the call fills ("?")."""


def today(pattern):
    """Today's date with a pattern of d, dd, M, MM, yyyy and literal characters."""
    now = datetime.date.today()
    fields = {"dd": f"{now.day:02}", "d": str(now.day), "MM": f"{now.month:02}",
              "M": str(now.month), "yyyy": str(now.year)}
    return re.sub(r"dd|d|MM|M|yyyy", lambda m: fields[m.group(0)], pattern)


def today_vbs(pattern):
    """The same date as a VBScript expression."""
    parts = {"dd": 'Right("0" & Day(Date), 2)', "d": "Day(Date)",
             "MM": 'Right("0" & Month(Date), 2)', "M": "Month(Date)", "yyyy": "Year(Date)"}
    pieces = re.split(r"(dd|d|MM|M|yyyy)", pattern)
    return " & ".join(parts[p] if p in parts else '"' + p + '"' for p in pieces if p)


def to_vbs(text):
    """A table expression as VBScript: Today(...) and Cur(...) written out."""
    text = re.sub(r'Cur\("([^"]*)"\)',
                  lambda m: f'CreateObject("ZivoviViruvov.MoneyLib").GetCurrency("{m.group(1)}")',
                  text)
    return re.sub(r'Today\("([^"]*)"\)', lambda m: today_vbs(m.group(1)), text)


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
    if re.fullmatch(r"-?(\d*\.\d+|\d+)([eE][-+]?\d+)?", text):
        return float(text)
    if len(text) >= 2 and text[0] == '"' and text[-1] == '"':
        return text[1:-1].replace('""', '"')
    consts = {"vbCr": "\r", "vbLf": "\n", "vbCrLf": "\r\n", "vbTab": "\t"}
    if text in consts:
        return consts[text]
    if m := re.fullmatch(r"(Chr|Space)\((\d+)\)", text):
        n = int(m.group(2))
        return chr(n) if m.group(1) == "Chr" else " " * n
    if m := re.fullmatch(r'String\((\d+),\s*"(.)"\)', text):
        return m.group(2) * int(m.group(1))
    if m := re.fullmatch(r'(CDbl|Cur|Today)\("([^"]*)"\)', text):
        kind, value = m.groups()
        return float(value) if kind == "CDbl" else decimal.Decimal(value) if kind == "Cur" \
            else today(value)
    raise ValueError(f"cannot read {text!r}")


def arguments(text):
    """The argument list of a case: values, and Out for each "?"."""
    if not text.strip():
        return []
    return [Out if a.strip() == "?" else evaluate(a) for a in split_top(text, ",")]


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
