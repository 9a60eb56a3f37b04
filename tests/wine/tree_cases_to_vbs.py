#!/usr/bin/env python3
"""Writes the VBScript that runs the tree case table (tests/cases/trees/trviewlib.tsv), the
list-view one (tests/cases/listview/lstviewlib.tsv) and the win rows of the grid and model
ones (tests/cases/flexgrid/flexgridlib.tsv, tests/cases/models/models.tsv) under Wine: each case on a fresh model and on a
caller's control written in VBScript, a tree whose node collection keeps siblings sorted
(sorted_tree.vbs) or a list-view (tests/cases/listview/plain_list_view.vbs).

Usage: tree_cases_to_vbs.py > trviewlib_cases.vbs
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CASES = os.path.join(HERE, "..", "cases")
sys.path.insert(0, os.path.join(CASES, "trees"))
import tree_table  # noqa: E402
import vbexpr  # noqa: E402
from cases_to_vbs import FOOT, HEAD, quoted  # noqa: E402


def build(nodes):
    """BuildTree(kind): the fixture on a model or on the VBScript sorted tree."""
    out = ["Function BuildTree(kind)", "  Dim t, view, images, n",
           '  Set images = CreateObject("ZivoviViruvov.Models.ImageList")']
    out += [f"  images.ListImages.Add , {quoted(i)}" for i in tree_table.images(nodes)]
    out += ['  If kind = "model" Then', '    Set t = CreateObject("ZivoviViruvov.Models.TreeView")',
            "    Set view = t", "  Else", "    Set t = New SortedTree", "    Set view = t.Nodes.View",
            "  End If", "  Set view.ImageList = images"]
    for n in nodes:
        place = f"{quoted(n['parent'])}, 4" if n["parent"] else "Empty, Empty"
        image = quoted(n["image"]) if n["image"] else "Empty"
        out.append(f"  Set n = t.Nodes.Add({place}, {quoted(n['key'])}, {quoted(n['text'])}, {image})")
        if n["selected"]:
            out.append(f"  n.SelectedImage = {quoted(n['selected'])}")
        out.append(f"  n.Tag = {quoted(n['tag'])}")
    return out + ["  Set BuildTree = t", "End Function", ""]


OBJECTS = {"G": "G", "L": "L", "Nothing": "Nothing", "Stranger": "New FakeTextBox"}


def argument(text, setup):
    if m := re.fullmatch(r'N\((".*")\)', text):
        return f"T.Nodes.Item({m.group(1)})"
    if m := re.fullmatch(r"Ref\((.*)\)", text):
        setup.append(f"ref = {m.group(1)}")
        return "ref"
    if m := re.fullmatch(r"(TextBox|RichTextBox)\((.*)\)", text):
        setup += [f'Set X = CreateObject("ZivoviViruvov.Models.{m.group(1)}")', f"X.Text = {m.group(2)}"]
        return "X"
    if m := re.fullmatch(r"Coll\((.*)\)", text):
        setup += [f"C.Add {v.strip()}" for v in vbexpr.split_top(m.group(1), ",") if v.strip()]
        return "C"
    if text == "ListBox":
        setup.append('Set B = CreateObject("ZivoviViruvov.Models.ListBox")')
        return "B"
    if m := re.fullmatch(r'(F|Case)\((".*")\)', text):  # a file written (afresh), or one of tests/cases/listview
        path = ("Here & " if m.group(1) == "F" else 'Here & "listview\\" & ') + m.group(2)
        if m.group(1) == "F":
            setup.append(f"Fso.DeleteFile {path}: Err.Clear")
        return path
    if m := re.fullmatch(r"TextFile\((.*)\)", text):
        setup.append(f'Fso.CreateTextFile(Here & "in.txt", True).Write {m.group(1)}')
        return 'Here & "in.txt"'
    if m := re.fullmatch(r'V\((".*")\)', text):
        return f'BuildList("model", {m.group(1)}, False)'
    if m := re.fullmatch(r"Row\((\d+)\)", text):
        return f"L.ListItems.Item({m.group(1)})"
    return OBJECTS.get(text, text)


def chain(target):
    """The member chain of a check or assignment on a node, row, header, L, G or lib."""
    owner = {"N": "T.Nodes", "R": "L.ListItems", "H": "L.ColumnHeaders"}.get(target[0])
    return (f"{owner}.Item({target[1]})." if owner else f"{target[0]}.") + ".".join(target[2])


def case(c, control):
    what = f"{c['line']} {c['kind']} {c['member']}".replace('"', '""')
    setup = []
    args = ", ".join(argument(a, setup) for a in c["args"])
    call = f"r = lib.{c['member']}({args})"
    _, target, _ = tree_table.checks(c["member"].removeprefix("Let ") + "=")[0]
    if target:  # a model's member, or one assigned ("Let ...")
        call = f"{chain(target)} = {args}" if c["member"].startswith("Let ") else f"r = {chain(target)}({args})"
    test = f"Err.Number = {c['expect'][1:]}" if c["expect"][:1] == "!" else f"Err.Number = 0 And Same(r, {c['expect']})"
    out = ["", f"' {what}", "Err.Clear", control,
           'Set C = CreateObject("ZivoviViruvov.Models.Collection")', "boxes = TakeBoxes()",
           *setup, "r = Empty", call,
           f'Check {test}, "{what}: " & Show(r) & " error " & Err.Number & " " & Err.Description',
           "boxes = TakeBoxes()"]
    expected_boxes = '""'
    for kind, target, value in c["checks"]:
        if kind == "box":
            expected_boxes = f'"[Information] 64" & vbCrLf & {value} & vbCrLf'
        elif kind == "errbox":
            prefix = f'"[Error message] 65552" & vbCrLf & {value} & vbCrLf & vbCrLf & "Error #"'
            out.append(f'Check Left(boxes, Len({prefix})) = {prefix}, "{what}: box " & boxes')
            expected_boxes = None
        elif kind != "report":  # reports reach no script
            got = {"coll": "CollText(C)", "ref": "ref", "count": "T.Nodes.Count", "text": "X.Text",
                   "lv": "ListText(L)", "list": "BoxText(B)", "file": f"FileText(Here & {quoted(value)})"}.get(kind)
            if kind in ("coll", "lv", "list"):
                value = quoted(value)
            if kind == "gone":  # the name while no such file, else "" (True is -1)
                got = f'Left({quoted(value)}, Len({quoted(value)}) * (1 + Fso.FileExists(Here & {quoted(value)})))'
                value = quoted(value)
            if kind == "file":
                value = f'FileText(Here & "listview\\" & {quoted(value)})'
            test = f"Same(v, {value})"
            if kind == "member":  # the very object, or a number above a bound (">n")
                got = f"{chain(target)} Is {OBJECTS[value]}" if value in OBJECTS else chain(target)
                test = "v" if value in OBJECTS else f"v > {value[1:]}" if value[:1] == ">" else test
            out += ["Err.Clear", "v = Empty", f"v = {got}",
                    f'Check Err.Number = 0 And {test}, "{what}: {kind} " & Show(v)']
    if expected_boxes:
        out.append(f'Check boxes = {expected_boxes}, "{what}: boxes " & boxes')
    return out


def main():
    nodes, cases = tree_table.read()
    _, lists = tree_table.read(os.path.join(CASES, "listview", "lstviewlib.tsv"), ("model", "plain"))
    classes = []
    for path in (os.path.join(HERE, "sorted_tree.vbs"), os.path.join(CASES, "listview", "plain_list_view.vbs")):
        with open(path, encoding="utf-8") as f:
            classes.append(f.read())
    grids = tree_table.read(os.path.join(CASES, "flexgrid", "flexgridlib.tsv"), ("posix", "win"))[1]
    model_nodes, models = tree_table.read(os.path.join(CASES, "models", "models.tsv"), ("posix", "win"))
    out = [HEAD, "Dim lib, T, L, G, B, C, X, ref, v, boxes, Here, Fso", 'Set lib = CreateObject("ZivoviViruvov.TrViewLib")',
           'Set Fso = CreateObject("Scripting.FileSystemObject")', 'Here = Fso.GetParentFolderName(WScript.ScriptFullName) & "\\"',
           *classes, *build(nodes), *(line.replace("BuildTree", "BuildModelTree") for line in build(model_nodes))]
    for c in cases:
        out += case(c, f'Set T = BuildTree("{c["kind"]}")')
    out.append('Set lib = CreateObject("ZivoviViruvov.LstViewLib")')
    for c in lists:
        out += case(c, f'Set L = BuildList("{c["kind"]}", {quoted(c["view"])}, {c["styled"]})')
    for c in (c for c in grids + models if c["kind"] == "win"):
        out += case(c, "\n".join([
            'Set lib = CreateObject("ZivoviViruvov.FlexGridLib")', f'Set L = BuildList("model", {quoted(c["view"])}, False)',
            'Set G = CreateObject("ZivoviViruvov.Models.FlexGrid")', 'Set T = BuildModelTree("model")', *(
                f"Set {chain(t)} = {OBJECTS[v]}" if v in OBJECTS else f"{chain(t)} = {v}" for _, t, v in c["setup"])]))
    out += FOOT
    # The script is read in the ANSI code page, and Wine's VBScript has no ChrW: the
    # Windows-1252 characters go as Chr.
    text = "\r\n".join(out).replace("\n", "\r\n").replace("\r\r\n", "\r\n")
    return re.sub(r"[^\x00-\x7f]", ansi, text)


def ansi(match):
    return f'" & Chr({match.group().encode("cp1252")[0]}) & "'


if __name__ == "__main__":
    sys.stdout.write(main())
