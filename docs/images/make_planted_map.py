#!/usr/bin/env python3
"""Draws planted-mistakes.bmp, the map with planted mistakes that the README's
`qarn check` section shows: a gentle slope in the system colours with a lake,
and on it one block of a reserved colour, one of a colour a shade off the set,
one painted with a soft brush, a spike three rungs above its neighbours, and
7 pixel columns and 3 pixel rows too many for its 40 x 25 blocks.

Usage: make_planted_map.py [OUTPUT.bmp]   (default: planted-mistakes.bmp)
"""
import struct
import sys

RUNGS = [
    (0, 132, 33), (99, 198, 0), (66, 231, 0), (165, 231, 66), (165, 198, 0),
    (165, 165, 0), (198, 198, 0), (231, 198, 132), (231, 198, 66), (231, 165, 0),
]
FLAT_AREA = (0, 128, 192)
WIDTH, HEIGHT = 407, 253


def colour_at(x, y):
    c, r = min(x // 10, 39), min(y // 10, 24)
    if ((c - 30) / 4.0) ** 2 + ((r - 17) / 3.0) ** 2 <= 1.0:
        return FLAT_AREA
    if (r, c) == (0, 0):
        return RUNGS[3]                          # a spike: 3 rungs above its neighbours
    if (r, c) == (11, 29):
        return (0, 0, 255)                       # reserved BLUE
    if (r, c) == (5, 5):
        return (99, 198, 1)                      # one shade off rung 1
    if (r, c) == (2, 8):                         # soft brush: two blends at the block's edges
        if x % 10 < 2:
            return (132, 214, 0)
        if y % 10 > 7:
            return (82, 214, 0)
    return RUNGS[(c + r) // 8]                   # at most one rung between any two neighbours


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "planted-mistakes.bmp"
    row_bytes = (WIDTH * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in range(HEIGHT - 1, -1, -1):
        row = bytearray()
        for x in range(WIDTH):
            red, green, blue = colour_at(x, y)
            row += bytes((blue, green, red))
        pixels += row + bytes(row_bytes - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    main()
