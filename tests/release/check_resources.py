#!/usr/bin/env python3
"""Checks the resources of the setup program, read back with wrestool.

- The icon: group 103, the only icon group, in Japanese (0x0411), holding a
  32x32 and a 16x16 image of 8 bits per pixel with a 256-colour palette.
- The manifest: resource 1 of type RT_MANIFEST, the only one, asking for
  administrator rights in the trustInfo form that Windows XP SP2 reads.

Usage: check_resources.py WRESTOOL EXE
"""

import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24
JAPANESE = 0x0411
ICON_GROUP = 103
ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V2 = "urn:schemas-microsoft-com:asm.v2"

failures = []


def check(ok, what):
    print(("ok:   " if ok else "FAIL: ") + what)
    if not ok:
        failures.append(what)
    return ok


def listing(wrestool, exe):
    out = subprocess.run([wrestool, "-l", exe], check=True, capture_output=True, text=True).stdout
    entries = []
    for m in re.finditer(r"--type=(\S+) --name=(\S+) --language=(\d+)", out):
        entries.append((m.group(1), m.group(2), int(m.group(3))))
    return entries


def raw(wrestool, exe, type_, name, language):
    return subprocess.run(
        [wrestool, "-x", "--raw", f"--type={type_}", f"--name={name}", f"--language={language}", exe],
        check=True,
        capture_output=True,
    ).stdout


def check_icon(wrestool, exe, entries):
    groups = [e for e in entries if e[0] == str(RT_GROUP_ICON)]
    check(groups == [(str(RT_GROUP_ICON), str(ICON_GROUP), JAPANESE)],
          f"one icon group, {ICON_GROUP} in language 0x{JAPANESE:04x} (found {groups})")

    group = raw(wrestool, exe, RT_GROUP_ICON, ICON_GROUP, JAPANESE)
    if not check(len(group) >= 6, "icon group readable"):
        return
    reserved, kind, count = struct.unpack_from("<HHH", group, 0)
    check(reserved == 0 and kind == 1 and len(group) == 6 + 14 * count,
          f"icon group header well formed ({count} entries, {len(group)} bytes)")
    sizes = []
    for i in range(count):
        if 6 + 14 * (i + 1) > len(group):
            break
        w, h, colours, _, planes, bits, length, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        size = w or 256
        sizes.append((size, h or 256))
        # Colour count 0 in a directory entry means 256 or more.
        check(bits == 8 and colours == 0 and planes == 1,
              f"group entry {size}x{h or 256}: 8 bpp, 256 colours (bits {bits}, colours {colours}, planes {planes})")
        check_icon_image(raw(wrestool, exe, RT_ICON, icon_id, JAPANESE), size, length, icon_id)
    check(sorted(sizes) == [(16, 16), (32, 32)], f"images are exactly 32x32 and 16x16 (found {sizes})")


def check_icon_image(image, size, length, icon_id):
    """The image itself, as Windows will read it: a DIB with a palette."""
    what = f"icon {icon_id} ({size}x{size}, language 0x{JAPANESE:04x})"
    if not check(len(image) >= 40 and len(image) == length, f"{what} present, {length} bytes as its group says"):
        return
    hsize, width, height, planes, bits, compression, _, _, _, used, _ = struct.unpack_from("<IiiHHIIiiII", image, 0)
    palette = used or (1 << bits if bits <= 8 else 0)
    row = lambda bpp: (size * bpp + 31) // 32 * 4
    expected_length = hsize + 4 * palette + size * row(bits) + size * row(1)
    check(hsize == 40 and width == size and height == 2 * size and planes == 1 and compression == 0,
          f"{what}: BITMAPINFOHEADER {width}x{height}, compression {compression}")
    check(bits == 8 and palette == 256, f"{what}: 8 bpp with 256 palette entries (bits {bits}, palette {palette})")
    check(len(image) == expected_length, f"{what}: colour image and AND mask complete ({len(image)} of {expected_length} bytes)")


def check_manifest(wrestool, exe, entries):
    manifests = [e for e in entries if e[0] == str(RT_MANIFEST)]
    if not check(len(manifests) == 1 and manifests[0][1] == "1",
                 f"one manifest, resource 1 (found {manifests})"):
        return
    text = raw(wrestool, exe, RT_MANIFEST, 1, manifests[0][2]).decode("utf-8")
    root = ET.fromstring(text)
    check(root.tag == f"{{{ASM_V1}}}assembly" and root.get("manifestVersion") == "1.0",
          f"root is an asm.v1 assembly, manifest version 1.0 (found {root.tag})")
    level = root.find(f"{{{ASM_V2}}}trustInfo/{{{ASM_V2}}}security/{{{ASM_V2}}}requestedPrivileges/"
                      f"{{{ASM_V2}}}requestedExecutionLevel")
    if check(level is not None, "requestedExecutionLevel inside an asm.v2 trustInfo"):
        check(level.get("level") == "requireAdministrator" and level.get("uiAccess") == "false",
              f"level requireAdministrator, uiAccess false (found {level.attrib})")
    # Windows XP SP2 restarts when one element declares a namespace twice.
    doubled = [tag for tag in re.findall(r"<[^>?!]*>", text) if tag.count("xmlns") > 1]
    check(not doubled, f"no element declares two namespaces (found {doubled})")


def main(argv):
    wrestool, exe = argv[1], argv[2]
    entries = listing(wrestool, exe)
    print("resources:", entries)
    check_icon(wrestool, exe, entries)
    check_manifest(wrestool, exe, entries)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
