#!/usr/bin/env python3
"""Fails unless the icon generator reproduces the checked-in icon byte for byte.

Usage: check_icon_generator.py RESOURCES_DIR
"""

import os
import sys


def main(argv):
    resources = argv[1]
    sys.path.insert(0, resources)
    import make_icon

    with open(os.path.join(resources, "tavi.ico"), "rb") as f:
        stored = f.read()
    made = make_icon.make_ico()
    if made == stored:
        print(f"tavi.ico reproduced ({len(made)} bytes)")
        return 0
    first = next((i for i, (a, b) in enumerate(zip(made, stored)) if a != b), min(len(made), len(stored)))
    print(f"tavi.ico differs from the generator's output: {len(stored)} vs {len(made)} bytes, first at {first}")
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
