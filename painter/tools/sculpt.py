#!/usr/bin/env python3
"""Strokes for the QarnPainter screenshots on a new 70 x 45 block map shown
fitted in the first-run window: `hills` (spirals for Raise), `ridge`, `lake`
and `hover` (the pointer over a hill top)."""
import math
import subprocess
import sys
from pathlib import Path

DRIVE = ["python3", str(Path(__file__).resolve().parent.parent.parent / "scripts" / "xdrive.py")]


def screen(row, col):
    # The canvas shows the map at 512 x 328 pixels from (281, 229).
    return int(281 + (col + 0.5) * 512 / 70), int(229 + (row + 0.5) * 328 / 45)


def drag(points):
    args = []
    for row, col in points:
        args += [str(v) for v in screen(row, col)]
    subprocess.run(DRIVE + ["drag"] + args, check=True)


def spiral(row, col, radius, squash):
    """A path from the rim of an ellipse to its centre that passes every block inside."""
    points = [(row + radius * squash, col)]
    angle = 0.0
    while True:
        angle += 0.35
        r = radius * (1 - angle / (2 * math.pi * max(1, radius / 3.0)))
        if r <= 0.5:
            break
        points.append((row + r * squash * math.cos(angle), col + r * math.sin(angle)))
    return points + [(row, col)]


what = sys.argv[1]
if what == "hills":
    # Each smaller spiral raises the blocks inside it one rung more.
    for radius in [15, 13.5, 12, 10.5, 9, 7.5, 6, 4.5, 3, 1.5, 0.6]:
        drag(spiral(18, 18, radius, 0.9))
    for radius in [11, 9, 7, 5, 3, 1, 0.6]:
        drag(spiral(30, 52, radius, 0.8))
elif what == "ridge":
    for k in range(3):
        drag([(4, 62 - k), (12, 50), (20, 40 + k), (26, 30)])
elif what == "lake":
    drag([(38, 22), (39, 26), (40, 31), (38, 34), (37, 28), (38, 24)])
elif what == "hover":
    x, y = screen(18, 18)
    subprocess.run(DRIVE + ["move", str(x), str(y)], check=True)
else:
    sys.exit(__doc__)
