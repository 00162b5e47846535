#!/usr/bin/env python3
"""Writes the example images and their points files into this folder.

Each example is a 512 x 512 picture of a dark vertical band, about 12 pixels
wide, on a light background. The band's centre line bends, so a user (or
`rowshift-cli fit --points NAME.points`) can straighten it. Coordinates are
the program's logical ones: x is the pixel column, y grows upwards, so
y = 511 - pixel row.

Only the Python 3 standard library is used, and the output is the same byte
for byte on every run: run it again after changing a curve and commit the
result.

    python3 examples/make-examples.py
"""

import math
import struct
import zlib
from pathlib import Path

SIZE = 512
HERE = Path(__file__).resolve().parent

# Heights of the points 1..8, and of A and B, as the window places them.
POINT_HEIGHTS = [32 + 64 * i for i in range(8)]
REFERENCE_BOTTOM, REFERENCE_TOP = 10, 500

# The band: fully dark within CORE of its centre line, fading out with a
# half cosine over the next EDGE pixels, so it is about 12 pixels wide at
# half depth.
CORE = 3.0
EDGE = 6.0


def parabola(x0, a):
    """x = x0 + a * t^2 with t = (y - 256) / 224: t runs from -1 to 1 over
    the heights of the points 1..8."""
    return lambda y: x0 + a * ((y - 256) / 224) ** 2


def cubic(x0, a, b):
    """x = x0 + a * t + b * t^3, t as above: an S-bend."""
    return lambda y: x0 + a * ((y - 256) / 224) + b * ((y - 256) / 224) ** 3


# name, file kind, centre line x(y), what it shows
EXAMPLES = [
    ("parabola-24bit", "bmp24", parabola(236.0, 48.0),
     "a band that bows to the right towards top and bottom, 24-bit BMP"),
    ("parabola-8bit", "bmp8", parabola(300.0, -30.0),
     "a band that bows to the left towards top and bottom, 8-bit grey BMP"),
    ("cubic", "png", cubic(256.0, 10.0, 26.0),
     "an S-shaped band (cubic), 8-bit grey PNG"),
]


def band_depth(distance):
    """How dark the band is (0..1) at a horizontal distance from its centre."""
    d = abs(distance)
    if d <= CORE:
        return 1.0
    if d >= CORE + EDGE:
        return 0.0
    return 0.5 * (1.0 + math.cos(math.pi * (d - CORE) / EDGE))


def grey_rows(centre):
    """The picture as 512 rows of grey levels, top row first.

    The background brightens gently from bottom to top (noise-free shading
    a real detector image also has); the band core is nearly black."""
    rows = []
    for row in range(SIZE):
        y = SIZE - 1 - row
        background = 200 + 30 * y / (SIZE - 1)
        cx = centre(y)
        line = bytearray(SIZE)
        for x in range(SIZE):
            value = background - (background - 30) * band_depth(x - cx)
            line[x] = int(round(value))
        rows.append(bytes(line))
    return rows


def bmp_bytes(rows, bits):
    """A bottom-up Windows bitmap with a BITMAPINFOHEADER: 24-bit with equal
    channels, or 8-bit with a 256-entry grey palette."""
    if bits == 24:
        palette = b""
        pixels = b"".join(bytes(v for v in line for _ in range(3)) for line in reversed(rows))
    else:
        palette = b"".join(struct.pack("<BBBB", i, i, i, 0) for i in range(256))
        pixels = b"".join(reversed(rows))
    # 512 pixels make every row a multiple of 4 bytes: no padding needed.
    offset = 14 + 40 + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, bits, 0, len(pixels),
                              2835, 2835, 256 if bits == 8 else 0, 0)
    return file_header + info_header + palette + pixels


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png_bytes(rows):
    """An 8-bit greyscale PNG; each row uses the Up filter (the band moves
    little from one row to the next, so this packs well)."""
    raw = bytearray()
    previous = bytes(SIZE)
    for line in rows:
        raw.append(2)
        raw.extend((a - b) & 0xFF for a, b in zip(line, previous))
        previous = line
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 0, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header)
            + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))


def points_text(name, description, centre):
    """Ten "x,y" lines: A and B on a vertical reference line through the
    leftmost part of the band, then 1..8 on the band's centre line."""
    band = [(round(centre(y)), y) for y in POINT_HEIGHTS]
    reference_x = min(x for x, _ in band)
    lines = [
        f"# {name}: {description}.",
        "# Control points as x,y in logical coordinates (x = pixel column,",
        "# y = 511 - pixel row), in the order A, B, 1..8: A and B span a",
        "# vertical reference line, 1..8 sit on the centre line of the band.",
        "# Made by make-examples.py.",
        f"{reference_x},{REFERENCE_BOTTOM}",
        f"{reference_x},{REFERENCE_TOP}",
    ]
    lines += [f"{x},{y}" for x, y in band]
    return "\n".join(lines) + "\n"


def main():
    for name, kind, centre, description in EXAMPLES:
        rows = grey_rows(centre)
        if kind == "png":
            image, suffix = png_bytes(rows), ".png"
        else:
            image, suffix = bmp_bytes(rows, 24 if kind == "bmp24" else 8), ".bmp"
        (HERE / (name + suffix)).write_bytes(image)
        (HERE / (name + ".points")).write_text(points_text(name, description, centre))
        print(f"wrote {name}{suffix} and {name}.points")


if __name__ == "__main__":
    main()
