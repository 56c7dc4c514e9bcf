#!/usr/bin/env python3
"""Runs lupdate over SRC into a copy of the translation TS and fails when the copy has a
text without its translation (new, or never translated) or a translation whose text the
program no longer has: then the committed TS is out of date. Update it with
    lupdate -locations none -no-obsolete src -ts resources/translations/quillon_en.ts
and translate what it marks unfinished.

    check_translation.py LUPDATE SRC TS
"""
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def main():
    lupdate, src, ts = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as folder:
        copy = f"{folder}/check.ts"
        shutil.copy(ts, copy)
        subprocess.run([lupdate, "-silent", "-locations", "none", src, "-ts", copy], check=True)
        faults = []
        for context in ET.parse(copy).getroot().iter("context"):
            name = context.findtext("name")
            for message in context.iter("message"):
                kind = message.find("translation").get("type")
                if kind in ("unfinished", "vanished", "obsolete"):
                    faults.append(f"{kind}: {name}: {message.findtext('source')!r}")
    if faults:
        print(f"{ts} is out of date:\n" + "\n".join(faults))
        return 1
    print("every text has its translation")
    return 0


if __name__ == "__main__":
    sys.exit(main())
