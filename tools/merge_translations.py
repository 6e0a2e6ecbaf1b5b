#!/usr/bin/env python3
"""Merges per-language translation files into resources/lang.xml.

    tools/merge_translations.py <dir-with-TAG.tsv-files>

Each TAG.tsv holds one line per entry: the numeric id, a TAB, the text in the
table's escaped form. The language's element is written after the entry's
existing children, in the order of <languages>; an element already present for
that language is replaced.
"""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parent.parent
table = root / "resources" / "lang.xml"
source = pathlib.Path(sys.argv[1])

text = table.read_text(encoding="utf-8")
tags = re.findall(r'<entry tagName="([a-z]+)"', text)
translations = {}
for tag in tags[1:]:
    path = source / f"{tag}.tsv"
    if not path.exists():
        continue
    rows = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        if not line.strip():
            continue
        ident, _, value = line.partition("\t")
        rows[ident.strip()] = value
    translations[tag] = rows

out = []
current = None
for line in text.splitlines():
    m = re.search(r'<entry id="(\d+)"', line)
    if m:
        current = m.group(1)
    child = re.match(r"\s*<([a-z]{3})>", line)
    if child and child.group(1) in translations and child.group(1) != "eng":
        continue  # replaced below
    out.append(line)
    if current and re.match(r"\s*<eng>", line):
        indent = line[: len(line) - len(line.lstrip())]
        for tag in tags[1:]:
            rows = translations.get(tag)
            if rows is None:
                continue
            if current not in rows:
                sys.exit(f"{tag}.tsv lacks id {current}")
            out.append(f"{indent}<{tag}>{rows[current]}</{tag}>")
table.write_text("\n".join(out) + "\n", encoding="utf-8")
print(f"merged {len(translations)} languages")
