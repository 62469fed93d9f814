#!/usr/bin/env python3
"""Expected pixels of the relief preview test grid, worked out independently.

Shading uses the slope/aspect form of the hillshade (zenith and azimuth angles,
atan2 aspect), not the surface-normal form of the renderer, so a mistake in
either's sign conventions shows up as a mismatch. Prints the C++ initialiser
pasted into relief_preview_test.cpp.

    python3 tests/output/relief_preview_expected.py
"""
import math

CELL = 92.7658712627587          # metres a side of one cell
Z_FACTOR = 3.0                   # shading exaggeration of heights
AZIMUTH, ALTITUDE = 315.0, 45.0  # light from the north-west
LAND, WATER_STRENGTH = 0.8, 0.3
RAMP = [(0.00, (46, 112, 60)), (0.15, (96, 156, 72)), (0.32, (170, 196, 100)), (0.48, (226, 212, 132)),
        (0.64, (196, 150, 90)), (0.80, (150, 110, 80)), (0.90, (165, 160, 155)), (1.00, (250, 250, 250))]
WATER = (62, 120, 196)

HEIGHTS = [
    [100, 120, 140, 160, 180],
    [100, 130, 170, 200, 220],
    [90, 110, 150, 150, 150],
    [80, 90, 150, 150, 150],
]
FLAT = {(2, 3), (2, 4), (3, 3), (3, 4)}


def ramp(t):
    for (a, ca), (b, cb) in zip(RAMP, RAMP[1:]):
        if t <= b:
            f = (t - a) / (b - a)
            return tuple(x + f * (y - x) for x, y in zip(ca, cb))
    return RAMP[-1][1]


def hillshade(z, r, c):
    rows, cols = len(z), len(z[0])
    at = lambda i, j: z[min(max(i, 0), rows - 1)][min(max(j, 0), cols - 1)] * Z_FACTOR
    a, b, cc = at(r - 1, c - 1), at(r - 1, c), at(r - 1, c + 1)
    d, f = at(r, c - 1), at(r, c + 1)
    g, h, i = at(r + 1, c - 1), at(r + 1, c), at(r + 1, c + 1)
    dzdx = ((cc + 2 * f + i) - (a + 2 * d + g)) / (8 * CELL)
    dzdy = ((g + 2 * h + i) - (a + 2 * b + cc)) / (8 * CELL)   # rows run south
    slope = math.atan(math.hypot(dzdx, dzdy))
    aspect = math.atan2(dzdy, -dzdx)
    if aspect < 0:
        aspect += 2 * math.pi
    zenith = math.radians(90 - ALTITUDE)
    azimuth = math.radians((360 - AZIMUTH + 90) % 360)
    return math.cos(zenith) * math.cos(slope) + math.sin(zenith) * math.sin(slope) * math.cos(azimuth - aspect)


def main():
    lo = min(min(row) for row in HEIGHTS)
    hi = max(max(row) for row in HEIGHTS)
    flat_light = math.sin(math.radians(ALTITUDE))
    lines = []
    for r, row in enumerate(HEIGHTS):
        cells = []
        for c, height in enumerate(row):
            light = max(0.0, hillshade(HEIGHTS, r, c)) / flat_light
            water = (r, c) in FLAT
            colour = WATER if water else ramp((height - lo) / (hi - lo))
            strength = WATER_STRENGTH if water else LAND
            factor = 1 - strength + strength * light
            px = [min(255, max(0, math.floor(v * factor + 0.5))) for v in colour]
            cells.append("{%3d, %3d, %3d}" % tuple(px))
        lines.append("    " + ", ".join(cells) + ",")
    print("\n".join(lines))


if __name__ == "__main__":
    main()
