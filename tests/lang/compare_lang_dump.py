#!/usr/bin/env python3
"""Compares the program's reading of the language document with python's.

Usage: compare_lang_dump.py DUMP [DOCUMENT]

DUMP is the output of "pictorva-cli languages --dump": one line per text of
every language pack, ENGLISH-NAME<TAB>ID<TAB>TEXT (backslash, tab and line
feed written \\\\, \\t, \\n). DOCUMENT (default res/lang.xml of this checkout)
is read with python's XML parser and turned into the packs the program is
meant to build: each language's own text, and where an entry has none, the
entry's first text. Both must give the same texts, with the no-break space
of "&#160;" taken as the plain blank the program makes of it. Exits 1 and
lists the differences otherwise.
"""

import sys
import xml.etree.ElementTree as ET
from pathlib import Path


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"\\": "\\", "t": "\t", "n": "\n"}.get(text[i + 1], "\\" + text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def program_packs(dump_path):
    packs, failures = {}, []
    for number, line in enumerate(Path(dump_path).read_text(encoding="utf-8").splitlines(), 1):
        fields = line.split("\t")
        if len(fields) != 3:
            failures.append(f"dump line {number} is not NAME<TAB>ID<TAB>TEXT: {line!r}")
            continue
        name, ident, text = fields
        key = unescape(ident)
        if key in packs.setdefault(name, {}):
            failures.append(f"{name} holds id {key} twice")
        packs[name][key] = unescape(text)
    return packs, failures


def expected_packs(document_path):
    root = ET.parse(document_path).getroot()
    languages = [(e.get("tagName"), e.get("engName")) for e in root.find("languages")]
    packs = {name: {} for _, name in languages}
    for entry in root.find("entries"):
        children = list(entry)
        texts = {}
        for child in children:
            texts.setdefault(child.tag, (child.text or "").replace("\u00a0", " "))
        fallback = texts.get(children[0].tag, "") if children else ""
        for tag, name in languages:
            packs[name][entry.get("id")] = texts.get(tag, fallback)
    return packs


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    default = Path(__file__).resolve().parents[2] / "res" / "lang.xml"
    document = Path(sys.argv[2]) if len(sys.argv) > 2 else default
    ours, failures = program_packs(sys.argv[1])
    theirs = expected_packs(document)
    if list(ours) != list(theirs):
        failures.append(f"packs {list(ours)}, expected {list(theirs)}")
    for name, texts in theirs.items():
        held = ours.get(name, {})
        for ident, text in texts.items():
            if ident not in held:
                failures.append(f"{name} lacks id {ident}")
            elif held[ident] != text:
                failures.append(f"{name} id {ident}: the program reads {held[ident]!r}, python {text!r}")
        for ident in held.keys() - texts.keys():
            failures.append(f"{name} holds id {ident}, which the document lacks")
    for message in failures:
        print(f"FAIL: {message}")
    count = sum(len(texts) for texts in theirs.values())
    print(f"{count} texts of {len(theirs)} languages: {'same' if not failures else f'{len(failures)} differences'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
