#!/usr/bin/env python3
"""Turns the string tables (resources/strings_LCID.tsv) into one C++ table.

Usage: stringtable.py OUT.cpp ENGLISH.tsv FRENCH.tsv
Each table line is an id, a tab and the text in double quotes; both tables must hold the
same ids. Writes OUT.cpp only when its text changes.
"""
import os
import re
import sys


def read_table(path):
    table = {}
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.rstrip("\n")
        if not line or line.startswith("#"):
            continue
        m = re.fullmatch(r'(\d+)\t"(.*)"', line)
        if not m:
            sys.exit(f"{path}:{number}: expected an id, a tab and a quoted text")
        table[int(m.group(1))] = m.group(2)
    return table


def cpp_string(text):
    return 'u"' + "".join(
        ch if 0x20 <= ord(ch) < 0x7F and ch not in '"\\' else f'\\x{ord(ch):04X}" u"'
        for ch in text) + '"'


def main(out, english_path, french_path):
    english, french = read_table(english_path), read_table(french_path)
    if sorted(english) != sorted(french):
        sys.exit("the English and French tables do not hold the same ids")
    lines = ["// Generated from resources/strings_*.tsv: do not edit.",
             '#include "frame/string_table.h"', "", "namespace zv {", "",
             "const StringTableEntry kStringTable[] = {"]
    for i in sorted(english):
        lines.append(f"    {{{i}, {cpp_string(english[i])}, {cpp_string(french[i])}}},")
    lines += ["};", "const size_t kStringTableSize = std::size(kStringTable);", "",
              "}  // namespace zv", ""]
    text = "\n".join(lines)
    os.makedirs(os.path.dirname(out), exist_ok=True)
    if not os.path.exists(out) or open(out, encoding="utf-8").read() != text:
        open(out, "w", encoding="utf-8").write(text)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
