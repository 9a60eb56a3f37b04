"""Reads the tree case table (trviewlib.tsv): the fixture tree's nodes and the cases, each
case once for every kind of tree it names. Values stay VBScript expressions."""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import vbexpr  # noqa: E402

TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "trviewlib.tsv")
KINDS = ("model", "sorted")
NODE_COLUMNS = ("parent", "key", "text", "image", "selected", "tag")


def checks(text):
    """(what, target, value): what is coll, ref, box, errbox, count, or member with target
    (node key, [member, ...])."""
    out = []
    for item in filter(None, (c.strip() for c in text.split(" ; "))):
        name, value = item.split("=", 1)
        m = re.fullmatch(r'N\("(.*)"\)((?:\.\w+)+)', name)
        out.append(("member", (m.group(1), m.group(2)[1:].split(".")), value) if m
                   else (name, None, value))
    return out


def read(path=TABLE):
    nodes, cases = [], []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            cols = line.rstrip("\n").split("\t")
            if not line.strip() or line.startswith("#"):
                continue
            if cols[0] == "node":
                nodes.append(dict(zip(NODE_COLUMNS, cols[1:])))
                continue
            tree, member, args, expect, check = cols
            for kind in KINDS if tree == "any" else (tree,):
                cases.append({"kind": kind, "line": number, "member": member,
                              "args": [a.strip() for a in vbexpr.split_top(args, ",")],
                              "expect": expect, "checks": checks(check)})
    return nodes, cases


def images(nodes):
    """Every image the fixture names: the model's image list holds them."""
    return sorted({n[c] for n in nodes for c in ("image", "selected") if n[c]})
