#!/usr/bin/env python3
"""Draws the builder's four built-in pictures and writes them as PNG files.

Standard library only (zlib writes the PNG data), so the output is the same on
every machine. Run it from anywhere; the files land beside this script:

    python3 forge/ui/images/make_images.py
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write_png(path, width, height, rows, alpha):
    """rows: list of rows, each a list of (r, g, b) or (r, g, b, a) tuples."""
    colour_type = 6 if alpha else 2
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter: none
        for px in row:
            raw.extend(px[:4] if alpha else px[:3])

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def blank(width, height, colour):
    return [[colour for _ in range(width)] for _ in range(height)]


def fill_rect(rows, x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            rows[y][x] = colour


# --- the two 22 x 22 action icons, transparent around the drawing ----------

def icon_fileopen():
    clear = (0, 0, 0, 0)
    rows = blank(22, 22, clear)
    outline = (90, 60, 10, 255)
    back = (214, 170, 60, 255)
    front = (250, 212, 100, 255)
    # Folder back with its tab.
    fill_rect(rows, 2, 5, 9, 7, back)
    fill_rect(rows, 2, 7, 19, 18, back)
    # Front flap, slanted open.
    for y in range(10, 18):
        shift = (17 - y) // 3
        fill_rect(rows, 4 + shift, y, 21 - (17 - y) // 4, y + 1, front)
    for x in range(2, 19):
        rows[17][x] = outline
    for y in range(5, 18):
        rows[y][2] = outline
    for x in range(2, 9):
        rows[5][x] = outline
    for x in range(9, 19):
        rows[7][x] = outline
    for y in range(7, 10):
        rows[y][18] = outline
    for x in range(6, 21):
        rows[10][x] = outline
    return rows


def icon_filesave():
    clear = (0, 0, 0, 0)
    rows = blank(22, 22, clear)
    body = (40, 70, 150, 255)
    edge = (15, 30, 80, 255)
    label = (245, 245, 245, 255)
    shutter = (170, 175, 190, 255)
    fill_rect(rows, 3, 3, 19, 19, body)
    fill_rect(rows, 6, 3, 16, 9, label)          # writing label
    fill_rect(rows, 7, 13, 15, 19, shutter)      # metal shutter
    fill_rect(rows, 12, 14, 14, 18, body)        # shutter window
    for i in range(3, 19):
        rows[3][i] = rows[18][i] = edge
        rows[i][3] = rows[i][18] = edge
    rows[3][18] = clear                          # cut corner
    rows[4][18] = rows[3][17] = edge
    return rows


# --- terrain shared by the window icon and the splash -----------------------

def height_at(u, v):
    """A made-up landscape on [0, 1] x [0, 1]: a few hills over a valley."""
    h = 0.0
    hills = [(0.25, 0.35, 0.16, 1.0), (0.62, 0.28, 0.20, 0.85), (0.80, 0.70, 0.14, 0.7),
             (0.40, 0.75, 0.18, 0.55), (0.10, 0.80, 0.10, 0.35), (0.95, 0.20, 0.12, 0.5)]
    for cx, cy, r, peak in hills:
        d2 = ((u - cx) ** 2 + (v - cy) ** 2) / (r * r)
        h += peak * math.exp(-d2)
    h += 0.06 * math.sin(u * 23.0 + v * 7.0) * math.sin(v * 17.0 - u * 5.0)
    h -= 0.25 * math.exp(-((v - 0.92) ** 2) / 0.01)  # the sea along the bottom
    return h


BANDS = [  # upper bound of each elevation band and its colour
    (0.02, (40, 90, 190)),
    (0.10, (70, 150, 80)),
    (0.22, (110, 175, 90)),
    (0.35, (170, 200, 110)),
    (0.50, (215, 205, 120)),
    (0.65, (200, 160, 100)),
    (0.80, (160, 115, 80)),
    (9.99, (240, 240, 240)),
]


def band_colour(h):
    for top, colour in BANDS:
        if h < top:
            return colour
    return BANDS[-1][1]


def shaded_terrain(width, height):
    grid = [[height_at(x / (width - 1), y / (height - 1)) for x in range(width)] for y in range(height)]
    rows = []
    light = (-0.6, -0.6, 0.55)
    norm = math.sqrt(sum(c * c for c in light))
    light = tuple(c / norm for c in light)
    scale = 6.0 * max(width, height) / 686.0
    for y in range(height):
        row = []
        for x in range(width):
            h = grid[y][x]
            dx = grid[y][min(x + 1, width - 1)] - grid[y][max(x - 1, 0)]
            dy = grid[min(y + 1, height - 1)][x] - grid[max(y - 1, 0)][x]
            nx, ny, nz = -dx * scale * 40, -dy * scale * 40, 1.0
            n = math.sqrt(nx * nx + ny * ny + nz * nz)
            shade = max(0.0, (nx * light[0] + ny * light[1] + nz * light[2]) / n)
            shade = 0.45 + 0.65 * shade
            base = band_colour(h)
            if h < 0.02:
                shade = 1.0  # water stays flat
            # Quantised shading keeps the picture map-like and small on disk.
            shade = round(shade * 8) / 8
            row.append(tuple(max(0, min(255, int(c * shade))) for c in base))
        rows.append(row)
    return rows


# --- lettering for the splash (5 x 7 pixel font, scaled up) -----------------

FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "Q": ["01110", "10001", "10001", "10001", "10001", "10001", "01110", "00100", "00011"],  # tail below the line
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    " ": ["00000"] * 7,
}


def draw_text(rows, text, x0, y0, scale, colour, shadow):
    width = len(rows[0])
    height = len(rows)
    for layer, (dx, dy, col) in enumerate([(max(1, scale // 3), max(1, scale // 3), shadow), (0, 0, colour)]):
        x = x0
        for ch in text:
            glyph = FONT[ch]
            for gy, line in enumerate(glyph):
                for gx, bit in enumerate(line):
                    if bit != "1":
                        continue
                    for sy in range(scale):
                        for sx in range(scale):
                            px = x + gx * scale + sx + dx
                            py = y0 + gy * scale + sy + dy
                            if 0 <= px < width and 0 <= py < height:
                                rows[py][px] = col
            x += 6 * scale


def text_width(text, scale):
    return len(text) * 6 * scale - scale


def splash():
    w, h = 686, 377
    rows = shaded_terrain(w, h)
    title = "QARN FORGE"
    scale = 9
    draw_text(rows, title, (w - text_width(title, scale)) // 2, 60, scale, (255, 250, 235), (60, 20, 10))
    sub = "TERRAIN BUILDER"
    scale2 = 4
    draw_text(rows, sub, (w - text_width(sub, scale2)) // 2, 150, scale2, (255, 250, 235), (60, 20, 10))
    note = "CLICK TO CONTINUE"
    scale3 = 2
    draw_text(rows, note, w - text_width(note, scale3) - 12, h - 24, scale3, (255, 255, 255), (0, 0, 0))
    return rows


def small_icon():
    rows = shaded_terrain(32, 32)
    for i in range(32):  # dark frame so the icon reads on any title bar
        rows[0][i] = rows[31][i] = rows[i][0] = rows[i][31] = (60, 30, 20)
    return rows


def main():
    write_png(os.path.join(HERE, "fileopen.png"), 22, 22, icon_fileopen(), True)
    write_png(os.path.join(HERE, "filesave.png"), 22, 22, icon_filesave(), True)
    write_png(os.path.join(HERE, "smallico.png"), 32, 32, small_icon(), False)
    write_png(os.path.join(HERE, "splash.png"), 686, 377, splash(), False)


if __name__ == "__main__":
    main()
