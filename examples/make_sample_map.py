#!/usr/bin/env python3
"""Draws the bundled sample map: an 8-bit BMP painted with the system colour set.

The map is 600 x 400 tens of metres (6 km x 4 km), so the picture is 700 x 450
pixels: 70 x 45 blocks of 10 x 10 pixels, each block one elevation band.
It shows two hills, a ridge, a valley, a lake in the flat-area colour that
touches no edge and a bay of the same colour on the southern edge.
Also writes QarnSizer_MAP_Data.xdt beside it, as the calculator would.

Usage: make_sample_map.py [OUTPUT_DIR]   (default: the folder of this script)
"""
import math
import os
import struct
import sys

# The 18 height rungs of the system colour set, lowest first, as (R, G, B).
RUNGS = [
    (0, 132, 33), (99, 198, 0), (66, 231, 0), (165, 231, 66), (165, 198, 0),
    (165, 165, 0), (198, 198, 0), (231, 198, 132), (231, 198, 66), (231, 165, 0),
    (198, 165, 66), (198, 165, 132), (173, 123, 41), (165, 99, 0), (132, 66, 66),
    (165, 66, 0), (198, 99, 0), (231, 99, 0),
]
FLAT_AREA = (0, 128, 192)  # BLUE1

BLOCK_COLS, BLOCK_ROWS = 70, 45
WIDTH_TENS, HEIGHT_TENS = 600, 400
METRES_PER_ARC_SECOND = 30.92208078


def bump(x, y, cx, cy, sx, sy, h):
    return h * math.exp(-(((x - cx) / sx) ** 2 + ((y - cy) / sy) ** 2))


def rough_terrain(c, r):
    """Height in rungs, unrounded, of block column c, row r (row 0 at the top)."""
    x, y = c + 0.5, r + 0.5
    h = 3.0 + 0.05 * (BLOCK_ROWS - y)                     # rises gently to the north
    h += bump(x, y, 17, 13, 13, 12, 10)                   # the high hill in the north-west
    h += bump(x, y, 52, 30, 10, 9, 6)                     # a rounder hill in the south-east
    # A ridge running from the north edge down to the south-east corner.
    ax, ay, bx, by = 42.0, 0.0, 68.0, 44.0
    t = max(0.0, min(1.0, ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)))
    d2 = (x - ax - t * (bx - ax)) ** 2 + (y - ay - t * (by - ay)) ** 2
    h += (4.0 - 1.5 * t) * math.exp(-d2 / 40.0)
    h -= bump(x, y, 37.5, 16.5, 7, 5, 1.5)                # the hollow that holds the lake
    # A valley cutting from the west edge towards the centre.
    h -= 2.5 * math.exp(-(((y - 27 - 0.15 * (x - 20)) / 4.5) ** 2)) * (1.0 if x < 36 else math.exp(-((x - 36) / 6.0) ** 2))
    return h


def terrain():
    """Rungs (0 to 17) of every block, rows of columns. Rounding can leave a
    step of two rungs where the slope is steep; the lower block of such a step
    is raised until no neighbour, across or diagonally, is more than one rung
    above it, so the map passes its own check without a cliff and the tops
    keep their height."""
    heights = [[max(0, min(len(RUNGS) - 1, int(round(rough_terrain(c, r))))) for c in range(BLOCK_COLS)]
               for r in range(BLOCK_ROWS)]
    changed = True
    while changed:
        changed = False
        for r in range(BLOCK_ROWS):
            for c in range(BLOCK_COLS):
                highest = max(heights[rr][cc] for rr in range(max(0, r - 1), min(BLOCK_ROWS, r + 2))
                              for cc in range(max(0, c - 1), min(BLOCK_COLS, c + 2)))
                if heights[r][c] < highest - 1:
                    heights[r][c] = highest - 1
                    changed = True
    return heights


def is_flat_area(c, r):
    # A lake in a basin between the hills, clear of every edge ...
    if ((c - 37) / 4.5) ** 2 + ((r - 17) / 3.0) ** 2 <= 1.0:
        return True
    # ... and a bay that opens onto the southern edge.
    return r >= 40 and ((c - 12) / 6.0) ** 2 + ((r - 45) / 5.0) ** 2 <= 1.0


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    palette = RUNGS + [FLAT_AREA]
    width, height = BLOCK_COLS * 10, BLOCK_ROWS * 10
    row_bytes = (width + 3) & ~3
    heights = terrain()
    pixels = bytearray()
    for y in range(height - 1, -1, -1):                  # bottom row first
        r = y // 10
        row = bytearray()
        for c in range(BLOCK_COLS):
            index = len(RUNGS) if is_flat_area(c, r) else heights[r][c]
            row += bytes([index]) * 10
        pixels += row + b"\0" * (row_bytes - width)
    palette_bytes = b"".join(bytes([b, g, r, 0]) for (r, g, b) in palette)
    palette_bytes += b"\0" * (1024 - len(palette_bytes))
    off_bits = 14 + 40 + 1024
    file_header = struct.pack("<2sIHHI", b"BM", off_bits + len(pixels), 0, 0, off_bits)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 3780, 3780, 256, 0)
    with open(os.path.join(out_dir, "sample-map.bmp"), "wb") as f:
        f.write(file_header + info_header + palette_bytes + pixels)
    with open(os.path.join(out_dir, "QarnSizer_MAP_Data.xdt"), "wb") as f:
        f.write(struct.pack("<iid", HEIGHT_TENS, WIDTH_TENS, METRES_PER_ARC_SECOND))


if __name__ == "__main__":
    main()
