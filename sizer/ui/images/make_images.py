#!/usr/bin/env python3
"""Draws QarnSizer's three built-in pictures as PNG files (standard library only).

  window_icon.png  45 x 45, RGB        main window icon
  9pbnIcon.png     32 x 32, 8-bit palette (256 entries)  splash window icon
  splash.png       680 x 370, RGB      shaded terrain with the program's name

Run from anywhere: python3 make_images.py [output-dir]. The output is
deterministic, so re-running it changes nothing unless the drawing changes.
"""
import math
import os
import struct
import sys
import zlib


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png_rgb(path, width, height, pixels):
    rows = b"".join(b"\x00" + bytes(c for p in pixels[y * width:(y + 1) * width] for c in p)
                    for y in range(height))
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(png_chunk(b"IDAT", zlib.compress(rows, 9)))
        out.write(png_chunk(b"IEND", b""))


def write_png_indexed(path, width, height, indices, palette):
    assert len(palette) == 256
    rows = b"".join(b"\x00" + bytes(indices[y * width:(y + 1) * width]) for y in range(height))
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)))
        out.write(png_chunk(b"PLTE", bytes(c for p in palette for c in p)))
        out.write(png_chunk(b"IDAT", zlib.compress(rows, 9)))
        out.write(png_chunk(b"IEND", b""))


def terrain_height(x, y):
    """A smooth made-up landscape in 0..1: a ridge, two peaks and rolling ground."""
    h = 0.35
    h += 0.35 * math.exp(-((x - 0.30) ** 2 + (y - 0.40) ** 2) / 0.02)
    h += 0.28 * math.exp(-((x - 0.72) ** 2 + (y - 0.62) ** 2) / 0.035)
    h += 0.18 * math.exp(-((x + 0.6 * y - 1.05) ** 2) / 0.01)
    h += 0.06 * math.sin(11 * x + 3 * y) * math.cos(7 * y - 2 * x)
    h += 0.03 * math.sin(31 * x) * math.sin(23 * y + 1)
    h -= 0.30 * math.exp(-((x - 0.08) ** 2 + (y - 0.90) ** 2) / 0.05)  # a lake in the corner
    return max(0.0, min(1.0, h))


TINTS = [  # height, colour: water, lowland green, upland tan, rock, snow
    (0.00, (40, 90, 170)), (0.22, (70, 130, 200)), (0.2201, (60, 140, 70)), (0.45, (130, 170, 80)),
    (0.62, (200, 180, 110)), (0.78, (150, 110, 80)), (0.90, (235, 235, 240)), (1.00, (255, 255, 255)),
]


def tint(h):
    for (h0, c0), (h1, c1) in zip(TINTS, TINTS[1:]):
        if h <= h1:
            t = 0.0 if h1 == h0 else (h - h0) / (h1 - h0)
            return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(3))
    return TINTS[-1][1]


def shaded_terrain(width, height, scale_x=1.0):
    """Hypsometric tint with hill shading lit from the north-west, in 10-pixel blocks."""
    pixels = []
    for py in range(height):
        for px in range(width):
            # Sample once per 10 x 10 block, the way the maps are painted.
            bx, by = (px // 10) * 10 + 5, (py // 10) * 10 + 5
            x, y = bx / width * scale_x, by / height
            h = terrain_height(x, y)
            dx = terrain_height(x + 0.01, y) - h
            dy = terrain_height(x, y + 0.01) - h
            shade = 0.85 + 25.0 * (-dx - dy) if h > 0.22 else 1.0
            shade = max(0.45, min(1.25, shade))
            pixels.append(tuple(max(0, min(255, int(c * shade))) for c in tint(h)))
    return pixels


FONT = {  # 5 x 7 capitals, one string per row
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "Z": ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    " ": ["00000"] * 7,
}


def text_width(text, scale):
    return len(text) * 6 * scale - scale


def draw_text(pixels, width, text, left, top, scale, colour, shadow=None):
    for offset, col in ([(scale // 2 + 1, shadow)] if shadow else []) + [(0, colour)]:
        for i, ch in enumerate(text):
            for row, bits in enumerate(FONT[ch]):
                for column, bit in enumerate(bits):
                    if bit != "1":
                        continue
                    for yy in range(scale):
                        for xx in range(scale):
                            x = left + offset + (i * 6 + column) * scale + xx
                            y = top + offset + row * scale + yy
                            pixels[y * width + x] = col


def splash(out_dir):
    width, height = 680, 370
    pixels = shaded_terrain(width, height)
    # A dark band behind the name so it reads on any ground.
    for y in range(110, 250):
        for x in range(width):
            r, g, b = pixels[y * width + x]
            pixels[y * width + x] = (int(r * 0.45), int(g * 0.45), int(b * 0.45))
    title = "QARN SIZER"
    draw_text(pixels, width, title, (width - text_width(title, 10)) // 2, 125, 10, (255, 230, 120), (60, 0, 0))
    sub = "MAP SIZE CALCULATOR"
    draw_text(pixels, width, sub, (width - text_width(sub, 4)) // 2, 215, 4, (255, 255, 255))
    write_png_rgb(os.path.join(out_dir, "splash.png"), width, height, pixels)


def window_icon(out_dir):
    size = 45
    pixels = shaded_terrain(size * 4, size * 4)
    small = [pixels[(y * 4) * size * 4 + x * 4] for y in range(size) for x in range(size)]
    # A 5 x 5 grid of block lines: the picture is drawn in blocks.
    for y in range(size):
        for x in range(size):
            if x % 9 == 0 or y % 9 == 0:
                small[y * size + x] = (170, 0, 0)
    write_png_rgb(os.path.join(out_dir, "window_icon.png"), size, size, small)


def splash_icon(out_dir):
    size = 32
    # 256-entry palette: the tint ramp in the first 200 entries, the rest dark red.
    palette = [tuple(int(c) for c in tint(i / 199.0)) for i in range(200)] + [(170, 0, 0)] * 56
    indices = []
    for y in range(size):
        for x in range(size):
            if x in (0, size - 1) or y in (0, size - 1):
                indices.append(255)
            else:
                h = terrain_height((x // 4) * 4 / size, (y // 4) * 4 / size)
                indices.append(int(h * 199))
    write_png_indexed(os.path.join(out_dir, "9pbnIcon.png"), size, size, indices, palette)


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    splash(target)
    window_icon(target)
    splash_icon(target)
