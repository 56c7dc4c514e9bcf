#!/usr/bin/env python3
"""Every statement the program sends is written in src/store.

A string literal outside src/store that holds a statement's keywords is refused, so that
statement texts cannot creep back into the windows, the import, the search or the command
line. Usage: check_statements.py SRC_DIR
"""
import pathlib
import re
import sys

KEYWORDS = (r"select\s|insert\s+into|delete\s+from|update\s+\w+\s+set|replace\s+into"
            r"|(create|drop)\s+(table|index|trigger|view|virtual)|alter\s+table|pragma\s"
            r"|vacuum\b|attach\s+database|begin\s+transaction")
# The text of a literal: after an opening quote, before the next one.
IN_LITERAL = re.compile(r'"[^"]*\b(' + KEYWORDS + ')', re.IGNORECASE)


def faults(src):
    for path in sorted(src.rglob("*")):
        relative = path.relative_to(src)
        if path.suffix not in (".cpp", ".h") or relative.parts[0] == "store":
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            # Comments may name statements; only code sends them.
            if not line.lstrip().startswith("//") and IN_LITERAL.search(line):
                yield f"{relative}:{number}: {line.strip()}"


def main():
    src = pathlib.Path(sys.argv[1])
    found = list(faults(src))
    if found:
        print("Statement texts outside src/store (write them in the store, behind Catalogue):")
        print("\n".join("  " + fault for fault in found))
        return 1
    print("no statement text outside src/store")
    return 0


if __name__ == "__main__":
    sys.exit(main())
