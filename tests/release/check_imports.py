#!/usr/bin/env python3
"""Fails unless the executable imports exactly the given DLLs.

A new import is a new dependency of the setup program: it must be one that
every Windows ships, so the set is compared exactly, not as a subset.

Usage: check_imports.py OBJDUMP EXE DLL...
"""

import re
import subprocess
import sys


def imported_dlls(objdump, exe):
    out = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    return re.findall(r"^\s*DLL Name:\s*(\S+)\s*$", out, re.MULTILINE)


def main(argv):
    objdump, exe, expected = argv[1], argv[2], argv[3:]
    found = imported_dlls(objdump, exe)
    # Windows looks DLL names up without regard to case.
    got = {d.lower(): d for d in found}
    want = {d.lower(): d for d in expected}
    print("imports:", " ".join(sorted(found, key=str.lower)))
    missing = sorted(want[d] for d in want.keys() - got.keys())
    extra = sorted(got[d] for d in got.keys() - want.keys())
    if missing:
        print("expected but not imported:", " ".join(missing))
    if extra:
        print("imported but not expected:", " ".join(extra))
    return 1 if missing or extra or not found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
