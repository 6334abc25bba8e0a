#!/usr/bin/env python3
"""Draws the setup program's icon and writes it as tavi.ico.

The icon is a rounded blue tile with a white arrow dropping into a tray: a
setup program's usual sign. It holds a 32x32 and a 16x16 image, each 8 bits
per pixel with a 256-entry palette and a 1-bit AND mask, the form that every
Windows version shows.

The .ico is checked in so the build needs no Python; running this script
again must give the same bytes (the release tests compare them).

Usage: make_icon.py [OUTPUT]   (default: tavi.ico beside this script)
"""

import os
import struct
import sys

SUPERSAMPLE = 8  # samples per pixel side, for anti-aliased edges

TILE_TOP = (0x4F, 0xA8, 0xF2)
TILE_BOTTOM = (0x17, 0x5A, 0xB8)
TILE_EDGE = (0x10, 0x3E, 0x80)
ARROW = (0xFF, 0xFF, 0xFF)
TRAY = (0xFF, 0xE0, 0x8A)
SHADOW = (0x0C, 0x33, 0x6E)

# Geometry in pixel units for each size. The small image is drawn on its own
# grid, not scaled down, so its strokes stay whole pixels wide.
GEOMETRY = {
    32: {
        "tile": (1.0, 1.0, 31.0, 31.0, 7.0),
        "edge": 1.0,
        "shaft": (13.0, 4.0, 19.0, 13.0),
        "head": ((7.5, 12.0), (24.5, 12.0), (16.0, 21.5)),
        "tray": ((6.0, 16.0, 26.0, 27.0), (9.0, 0.0, 23.0, 24.0)),
        "shadow": 1.0,
    },
    16: {
        "tile": (0.0, 0.0, 16.0, 16.0, 4.0),
        "edge": 1.0,
        "shaft": (6.0, 2.0, 10.0, 6.5),
        "head": ((3.0, 6.0), (13.0, 6.0), (8.0, 11.0)),
        "tray": ((2.0, 8.0, 14.0, 14.0), (4.0, 0.0, 12.0, 12.0)),
        "shadow": 0.0,
    },
}


def in_rounded_rect(x, y, rect):
    x0, y0, x1, y1, r = rect
    if not (x0 <= x < x1 and y0 <= y < y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_rect(x, y, rect):
    x0, y0, x1, y1 = rect
    return x0 <= x < x1 and y0 <= y < y1


def in_triangle(x, y, tri):
    (ax, ay), (bx, by), (cx, cy) = tri

    def side(px, py, qx, qy):
        return (qx - px) * (y - py) - (qy - py) * (x - px)

    d1 = side(ax, ay, bx, by)
    d2 = side(bx, by, cx, cy)
    d3 = side(cx, cy, ax, ay)
    return (d1 >= 0 and d2 >= 0 and d3 >= 0) or (d1 <= 0 and d2 <= 0 and d3 <= 0)


def in_arrow(x, y, g):
    return in_rect(x, y, g["shaft"]) or in_triangle(x, y, g["head"])


def in_tray(x, y, g):
    outer, inner = g["tray"]
    return in_rect(x, y, outer) and not in_rect(x, y, inner)


def mix(a, b, t):
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def sample(x, y, size, g):
    """Colour at one sample point, or None outside the tile."""
    tile = g["tile"]
    if not in_rounded_rect(x, y, tile):
        return None
    x0, y0, x1, y1, r = tile
    e = g["edge"]
    if not in_rounded_rect(x, y, (x0 + e, y0 + e, x1 - e, y1 - e, r - e)):
        return TILE_EDGE
    if in_arrow(x, y, g) or in_tray(x, y, g):
        return ARROW if in_arrow(x, y, g) else TRAY
    s = g["shadow"]
    if s and (in_arrow(x - s, y - s, g) or in_tray(x - s, y - s, g)):
        return SHADOW
    return mix(TILE_TOP, TILE_BOTTOM, (y - y0) / (y1 - y0))


def render(size):
    """Returns rows of (r, g, b) or None (transparent), top row first."""
    g = GEOMETRY[size]
    n = SUPERSAMPLE
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    c = sample(px + (sx + 0.5) / n, py + (sy + 0.5) / n, size, g)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += c[i]
            # The AND mask is one bit: a pixel is shown when the tile covers
            # most of it, in the average colour of the covered part.
            if hits * 2 < n * n:
                row.append(None)
            else:
                row.append(tuple(int(v / hits + 0.5) for v in acc))
        rows.append(row)
    return rows


def build_palette(images):
    """One palette for both images; index 0 is black for the masked pixels."""
    step = 1
    while True:
        def snap(c):
            return tuple(min(255, (v + step // 2) // step * step) for v in c)

        colours = sorted({snap(c) for rows in images for row in rows for c in row if c})
        colours = [c for c in colours if c != (0, 0, 0)]
        if len(colours) <= 255:
            palette = [(0, 0, 0)] + colours
            palette += [(0, 0, 0)] * (256 - len(palette))
            return palette, snap
        step *= 2


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def dib(rows, palette, snap):
    """BITMAPINFOHEADER, palette, 8-bpp XOR image and 1-bpp AND mask."""
    size = len(rows)
    index = {c: i for i, c in reversed(list(enumerate(palette)))}
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom-up
        line = bytearray(row_bytes(8 * size))
        bits = bytearray(row_bytes(size))
        for x, c in enumerate(row):
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                line[x] = index[snap(c)]
        xor += line
        mask += bits
    header = struct.pack(
        "<IiiHHIIiiII",
        40,  # header size
        size,
        size * 2,  # XOR image and AND mask stacked
        1,  # planes
        8,  # bits per pixel
        0,  # BI_RGB
        len(xor) + len(mask),
        0,
        0,
        256,  # colours used
        0,
    )
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + colours + bytes(xor) + bytes(mask)


def make_ico():
    sizes = (32, 16)
    images = [render(s) for s in sizes]
    palette, snap = build_palette(images)
    blobs = [dib(rows, palette, snap) for rows in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, blob in zip(sizes, blobs):
        # Colour count 0 means 256 or more; planes 1, 8 bits per pixel.
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    target = argv[1] if len(argv) > 1 else os.path.join(here, "tavi.ico")
    with open(target, "wb") as f:
        f.write(make_ico())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
