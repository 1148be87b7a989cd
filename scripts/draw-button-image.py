#!/usr/bin/env python3
"""Draws Quorvane's 32 x 32 RGBA button picture: a stack of three symbol sheets, the top one
showing a small block symbol (a circle on a cross) over a blue title strip.

Run from the repository root: python3 scripts/draw-button-image.py src/module/QuorvaButton.png
The picture is committed; the build compiles it into the module and installs it as the icon."""
import struct
import sys
import zlib

SIZE = 32
CLEAR = (0, 0, 0, 0)
OUTLINE = (40, 52, 72, 255)
PAPER = (250, 250, 246, 255)
SHADE = (214, 220, 228, 255)
BLUE = (36, 110, 200, 255)
RED = (200, 48, 40, 255)

pixels = [[CLEAR for _ in range(SIZE)] for _ in range(SIZE)]


def put(x, y, colour):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        pixels[y][x] = colour


def sheet(left, top, right, bottom, fill):
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            edge = x in (left, right) or y in (top, bottom)
            put(x, y, OUTLINE if edge else fill)


# The sheets behind, each a little up and to the right, then the top sheet.
sheet(9, 2, 29, 22, SHADE)
sheet(6, 5, 26, 25, SHADE)
sheet(3, 8, 23, 29, PAPER)
# The title strip of the top sheet.
for y in range(10, 13):
    for x in range(5, 22):
        put(x, y, BLUE)
# The block symbol: a cross with a circle round its centre.
cx, cy, r = 13, 21, 5
for d in range(-7, 8):
    put(cx + d, cy, OUTLINE)
    put(cx, cy + d, OUTLINE)
for y in range(cy - r - 1, cy + r + 2):
    for x in range(cx - r - 1, cx + r + 2):
        distance = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
        if abs(distance - r) < 0.6:
            put(x, y, RED)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


rows = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in pixels)
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
       + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
with open(sys.argv[1], "wb") as out:
    out.write(png)
