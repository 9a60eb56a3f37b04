#!/usr/bin/env python3
"""Writes the files of the tree XML case table (tests/cases/tree_xml/tree_xml.tsv) into
FOLDER\\treexml and prints the VBScript that loads each one into a tree-view model under
Wine, comparing the result and the nodes with the table.

Usage: tree_xml_cases_to_vbs.py FOLDER > tree_xml_cases.vbs   (FOLDER is C:\\zv in Wine)
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "cases", "tree_xml"))
import tree_xml_table  # noqa: E402
from cases_to_vbs import HEAD, quoted  # noqa: E402

DUMP = f'''Function Dump(t)
  Dim i, n, s, parentKey
  Dump = ""
  For i = 1 To t.Nodes.Count
    Set n = t.Nodes(i)
    parentKey = ""
    If Not n.Parent Is Nothing Then parentKey = n.Parent.Key
    s = parentKey & "/" & n.Key & "=" & n.Text
    If CStr(n.Tag) <> "" Then s = s & "#" & n.Tag
    If n.Bold Then s = s & " B"
    If n.Sorted Then s = s & " S"
    If n.Expanded Then s = s & " E"
    If n.ForeColor <> {tree_xml_table.BLACK} Then s = s & " f=" & n.ForeColor
    If n.BackColor <> {tree_xml_table.WHITE} Then s = s & " k=" & n.BackColor
    If CStr(n.Image) <> "" Then s = s & " i=" & n.Image
    If i > 1 Then Dump = Dump & " ; "
    Dump = Dump & s
  Next
End Function
'''


def main(folder):
    os.makedirs(os.path.join(folder, "treexml"), exist_ok=True)
    out = [HEAD, DUMP, 'Dim lib, t, got', 'Set lib = CreateObject("ZivoviViruvov.TrViewLib")']
    for number, case in enumerate(tree_xml_table.read(), 1):
        with open(os.path.join(folder, "treexml", f"{number}.xml"), "wb") as f:
            f.write(case["bytes"])
        what = f"tree xml {case['name']}"
        out += ["Err.Clear", 'Set t = CreateObject("ZivoviViruvov.Models.TreeView")',
                't.Nodes.Add , , "keep", "Keep"',
                f'r = lib.TreeViewFromXMLfile(t, "C:\\zv\\treexml\\{number}.xml")',
                "got = Dump(t)",
                f'Check Err.Number = 0 And r = {case["result"]} And got = {quoted(case["nodes"])}, '
                f'"{what}: " & Err.Number & " " & r & " [" & got & "]"']
    # Only a tree-view passes the type-name test; another control's file is not read.
    out += ['r = lib.TreeViewFromXMLfile(CreateObject("ZivoviViruvov.Models.ListView"), "C:\\zv\\treexml\\1.xml")',
            'Check Err.Number = 0 And r = False, "tree xml: a list-view taken for a tree"']
    # A case whose check could not even run counts as failed.
    return "\r\n".join(out + [f"Finish {number + 1}", ""])


if __name__ == "__main__":
    sys.stdout.buffer.write(main(sys.argv[1]).encode("cp1252"))
