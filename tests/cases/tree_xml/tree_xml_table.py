"""Reads the tree XML case table (tree_xml.tsv): each case's file bytes and what loading it
gives. dump() describes a tree the way the table's node column does."""
import os
import re

TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tree_xml.tsv")
HEADER = '<?xml version="1.0" encoding="iso-8859-1"?>'
REPORT = "Error on import TreeView Object From XML:\r\n\t"
BLACK, WHITE = 0, 16777215  # the tree-view model's default node colours


def file_bytes(text):
    """The escapes \\r \\n \\t \\xNN as bytes; every other character as its ISO-8859-1 byte
    (a backslash before anything else stands for itself)."""
    def byte(m):
        e = m.group(1)
        return {"r": "\r", "n": "\n", "t": "\t"}.get(e) or chr(int(e[1:], 16))
    return re.sub(r"\\(r|n|t|x[0-9A-Fa-f]{2})", byte, text.replace("{H}", HEADER)).encode("latin-1")


def read(path=TABLE):
    cases = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            if not line.strip() or line.startswith("#"):
                continue
            name, content, result, nodes, box, *report = line.rstrip("\n").split("\t")
            cases.append({"name": name, "bytes": file_bytes(content), "result": result == "True",
                          "nodes": nodes, "box": box == "box",
                          "reports": [REPORT + file_bytes(e).decode("latin-1") for e in report]})
    return cases


def dump(tree):
    """Every node in Index order: parent key/key=text, #tag, B bold, S sorted, E expanded,
    f= and k= colours other than the defaults, i= image; joined by " ; "."""
    out = []
    for i in range(1, tree.Nodes.Count + 1):
        n = tree.Nodes.Item(i)
        text = f"{n.Parent.Key if n.Parent else ''}/{n.Key}={n.Text}" + (f"#{n.Tag}" if n.Tag else "")
        text += " B" * n.Bold + " S" * n.Sorted + " E" * n.Expanded
        text += (f" f={n.ForeColor}" if n.ForeColor != BLACK else "")
        text += (f" k={n.BackColor}" if n.BackColor != WHITE else "")
        out.append(text + (f" i={n.Image}" if n.Image else ""))
    return " ; ".join(out)
