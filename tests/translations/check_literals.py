#!/usr/bin/env python3
"""Checks that every string literal with a Chinese character under SRC stands inside a
translation call (tr, QCoreApplication::translate, QT_TR_NOOP, QT_TRANSLATE_NOOP), so the
English interface misses none. Comments are skipped; the texts the program writes into
the catalogue are data, not interface, and are listed below.

    check_literals.py SRC
"""
import pathlib
import re
import sys

TRANSLATING = {"tr", "translate", "QT_TR_NOOP", "QT_TRANSLATE_NOOP", "QT_TR_N_NOOP", "QT_TRANSLATE_N_NOOP"}
# Chinese characters, and Chinese punctuation (full-width colon, enumeration comma, …).
CHINESE = re.compile("[\u4e00-\u9fff\u3000-\u303f\uff00-\uffef]")
# The categories a new catalogue starts with: rows of the catalogue, in the user's hands
# from then on.
DATA = {("store/Schema.cpp", text) for text in ("音乐", "视频", "图片", "文档", "全部文件")}


def literals(code):
    """Yields (line, text, the name called by the innermost open parenthesis)."""
    calls, name, line, i = [], "", 1, 0
    while i < len(code):
        c = code[i]
        if code.startswith("//", i):
            i = code.find("\n", i)
            i = len(code) if i < 0 else i
            continue
        if code.startswith("/*", i):
            end = code.find("*/", i) + 2
            line += code.count("\n", i, end)
            i = end
            continue
        if c in "\"'":
            end = i + 1
            while code[end] != c:
                end += 2 if code[end] == "\\" else 1
            if c == '"':
                yield line, code[i + 1:end], calls[-1] if calls else ""
            i = end + 1
            continue
        if c == "(":
            calls.append(name)
        elif c == ")" and calls:
            calls.pop()
        if c.isalnum() or c == "_":
            name = name + c if i > 0 and (code[i - 1].isalnum() or code[i - 1] == "_") else c
        elif not c.isspace():
            name = ""
        line += c == "\n"
        i += 1


def main():
    src = pathlib.Path(sys.argv[1])
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        relative = path.relative_to(src).as_posix()
        for line, text, call in literals(path.read_text(encoding="utf-8")):
            if CHINESE.search(text) and call not in TRANSLATING and (relative, text) not in DATA:
                faults.append(f"{relative}:{line}: \"{text}\" is not translated")
    if faults:
        print("\n".join(faults))
        return 1
    print("every Chinese text is translated")
    return 0


if __name__ == "__main__":
    sys.exit(main())
