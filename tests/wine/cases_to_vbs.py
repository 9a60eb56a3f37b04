#!/usr/bin/env python3
"""Writes one VBScript that runs the rows of the case tables meant for Windows.

Usage: cases_to_vbs.py [--locale xx_YY] TABLE.tsv... > cases.vbs
Each row calls CLASS.MEMBER(ARGS) and compares with the expected value, or with the
error number for an expectation "!N"; a row with "?" arguments compares the variables the
call filled, joined with ",". The script ends with check.inc's Finish. With --locale, only
the rows of that locale ("any@xx_YY"), written in the locale's code page, as cscript reads
a script.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "cases"))
import vbexpr  # noqa: E402

# The counts and Check of the hand-written scripts, then what the generated ones share.
with open(os.path.join(HERE, "..", "vbscript", "check.inc"), encoding="ascii") as f:
    HEAD = f.read() + '''Dim r, o

Function Same(a, b)
  Same = False
  If VarType(b) = vbString Then
    If VarType(a) = vbString Then Same = (a = b)
  ElseIf VarType(b) = vbBoolean Then
    If VarType(a) = vbBoolean Then Same = (a = b)
  ElseIf IsEmpty(b) Then
    Same = IsEmpty(a)
  ElseIf IsNumeric(a) And Not VarType(a) = vbString And Not VarType(a) = vbBoolean Then
    Same = (a = b)
  End If
End Function

Function Show(v)
  If IsObject(v) Then
    Show = "(object)"
  Else
    Show = TypeName(v) & " [" & CStr(v) & "]"
  End If
End Function

On Error Resume Next
'''
FOOT = ["Finish 0", ""]


def quoted(text):
    """A VBScript string literal."""
    return '"' + text.replace('"', '""') + '"'


def call_of(row):
    """The call, with a variable o1, o2 ... for each "?" argument; and those variables."""
    args, outs = [], []
    for arg in vbexpr.split_top(row["args"], ",") if row["args"].strip() else []:
        if arg.strip() == "?":
            outs.append(f"o{len(outs) + 1}")
            args.append(outs[-1])
        else:
            args.append(arg)
    call = f'CreateObject("ZivoviViruvov.{row["class"]}").{row["member"]}({",".join(args)})'
    return vbexpr.to_vbs(call), outs


def main(paths, locale=None):
    out = [HEAD, "Dim o1, o2, o3"]
    platforms = ("any", "win") if locale is None else (f"any@{locale}", f"win@{locale}")
    for path in paths:
        for row in vbexpr.read_table(path):
            if row["platform"] not in platforms:
                continue
            call, outs = call_of(row)
            what = f'{row["where"]} {row["class"]}.{row["member"]}({row["args"]})'.replace('"', '""')
            out.append("Err.Clear")
            out.append("r = Empty: o1 = Empty: o2 = Empty: o3 = Empty")
            out.append(f"r = {call}")
            if outs:
                out.append("r = " + ' & "," & '.join(outs))
            expect = vbexpr.to_vbs(row["expect"])
            if expect.startswith("!"):
                out.append(f'Check Err.Number = {int(expect[1:])}, "{what}: error " & Err.Number & '
                           f'" (" & Err.Description & ")"')
            else:
                out.append(f'If Err.Number <> 0 Then\n  Check False, "{what}: error " & Err.Number & '
                           f'" " & Err.Description\nElse\n  Check Same(r, {expect}), "{what}: got " & Show(r)\nEnd If')
    return "\r\n".join(out + FOOT)


if __name__ == "__main__":
    arguments = sys.argv[1:]
    chosen = None
    if arguments[:1] == ["--locale"]:
        chosen, arguments = arguments[1], arguments[2:]
    code_page = "cp932" if chosen and chosen.startswith("ja") else "cp1252"
    sys.stdout.buffer.write(main(arguments, chosen).encode(code_page))
