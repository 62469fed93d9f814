#!/usr/bin/env python3
"""Draws QarnPainter's icon and writes it as qarnpainter.png beside this script.

Standard library only (zlib writes the PNG data), so the output is the same on
every machine. The icon is a hill painted in blocks of the system colours with
a lake in one corner and a pencil across it:

    python3 painter/ui/images/make_icon.py
"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32
BLOCK = 8

# Rungs of the system colour set, lowest first, and the flat-area colour.
RUNGS = [(0, 132, 33), (99, 198, 0), (165, 231, 66), (231, 198, 66), (198, 99, 0)]
LAKE = (0, 128, 192)
# Rung of each 8 x 8 block, -1 for the lake.
HILL = [
    [0, 1, 1, 0],
    [1, 3, 2, 1],
    [1, 4, 3, 1],
    [-1, 1, 1, 0],
]


def write_png(path, rows):
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter: none
        for px in row:
            raw.extend(px)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def draw():
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            rung = HILL[y // BLOCK][x // BLOCK]
            r, g, b = LAKE if rung < 0 else RUNGS[rung]
            if x % BLOCK == 0 or y % BLOCK == 0 or x == SIZE - 1 or y == SIZE - 1:
                r, g, b = (r * 3 // 5, g * 3 // 5, b * 3 // 5)  # block edges, darker
            row.append((r, g, b, 255))
        rows.append(row)
    # A pencil from the bottom right towards the middle: a yellow shaft with a
    # dark outline and a black tip.
    for t in range(14):
        cx, cy = 29 - t, 29 - t
        for dx, dy, colour in ((0, 0, (250, 210, 40, 255)), (1, 0, (250, 210, 40, 255)),
                               (-1, 0, (60, 40, 10, 255)), (2, 0, (60, 40, 10, 255)),
                               (0, 1, (60, 40, 10, 255)), (1, -1, (60, 40, 10, 255))):
            x, y = cx + dx, cy + dy
            if 0 <= x < SIZE and 0 <= y < SIZE:
                rows[y][x] = colour
    for x, y in ((15, 15), (16, 15), (15, 16), (14, 14)):
        rows[y][x] = (20, 20, 20, 255)
    return rows


if __name__ == "__main__":
    write_png(os.path.join(HERE, "qarnpainter.png"), draw())
