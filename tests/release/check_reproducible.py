#!/usr/bin/env python3
"""Builds the release twice in two fresh build folders and compares the images.

The folders have names of different lengths, so a build path that leaks into
the image also shifts what follows it. Beyond byte equality, neither the
source nor the build path may appear in the image at all.

Usage: check_reproducible.py CMAKE GENERATOR MAKE_PROGRAM SOURCE_DIR
                             TOOLCHAIN WORK_DIR EXE_RELATIVE_PATH
"""

import os
import shutil
import struct
import subprocess
import sys

BUILD_TYPE = "MinSizeRel"


def build(cmake, generator, make_program, source, toolchain, binary):
    shutil.rmtree(binary, ignore_errors=True)
    configure = [cmake, "-S", source, "-B", binary, "-G", generator,
                 f"-DCMAKE_TOOLCHAIN_FILE={toolchain}", f"-DCMAKE_BUILD_TYPE={BUILD_TYPE}"]
    if make_program:
        configure.append(f"-DCMAKE_MAKE_PROGRAM={make_program}")
    subprocess.run(configure, check=True, stdout=subprocess.DEVNULL)
    subprocess.run([cmake, "--build", binary, "--target", "tavi"], check=True, stdout=subprocess.DEVNULL)


def section_at(image, offset):
    """Name of the PE section whose file bytes hold offset, for the report."""
    try:
        pe = struct.unpack_from("<I", image, 0x3C)[0]
        count = struct.unpack_from("<H", image, pe + 6)[0]
        optional = struct.unpack_from("<H", image, pe + 20)[0]
        table = pe + 24 + optional
        for i in range(count):
            name, _, _, raw_size, raw_ptr = struct.unpack_from("<8sIIII", image, table + 40 * i)
            if raw_ptr <= offset < raw_ptr + raw_size:
                return name.rstrip(b"\0").decode("ascii", "replace")
    except struct.error:
        pass
    return "headers" if offset < 0x400 else "?"


def main(argv):
    cmake, generator, make_program, source, toolchain, work, exe = argv[1:8]
    dirs = [os.path.join(work, "first"), os.path.join(work, "second-build")]
    images = []
    for d in dirs:
        build(cmake, generator, make_program, source, toolchain, d)
        with open(os.path.join(d, exe), "rb") as f:
            images.append(f.read())
    a, b = images
    status = 0
    if a == b:
        print(f"identical: {len(a)} bytes")
    else:
        diffs = [i for i, (x, y) in enumerate(zip(a, b)) if x != y]
        print(f"images differ: {len(a)} and {len(b)} bytes, {len(diffs)} bytes differ")
        for i in diffs[:10]:
            print(f"  offset 0x{i:x} ({section_at(a, i)}): {a[i]:02x} vs {b[i]:02x}")
        status = 1
    for path in [source, *dirs]:
        for form in {path, path.replace("/", "\\")}:
            if form.encode() in a or form.encode() in b:
                print(f"path found in the image: {form}")
                status = 1
    if status == 0:
        shutil.rmtree(work, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
