#!/usr/bin/env python3
"""Strokes for the QarnPainter screenshots on a new 70 x 45 block map shown
fitted in the first-run window: `hills` (spirals for Raise), `ridge`, `lake`
`hover` and `hover2` (the pointer over the first or second hill's top);
`where ROW COL` prints a block's screen point, and `scan FILE` draws a
scanned sheet of the same ground for the reference picture."""
import math
import subprocess
import sys
from pathlib import Path

DRIVE = ["python3", str(Path(__file__).resolve().parent.parent.parent / "scripts" / "xdrive.py")]


def screen(row, col):
    # The canvas shows the map at 549 x 352 pixels from (270, 218).
    return int(270 + (col + 0.5) * 549 / 70), int(218 + (row + 0.5) * 352 / 45)


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
elif what in ("hover", "hover2"):
    x, y = screen(18, 18) if what == "hover" else screen(30, 52)
    subprocess.run(DRIVE + ["move", str(x), str(y)], check=True)
elif what == "where":
    print(*screen(float(sys.argv[2]), float(sys.argv[3])))
elif what == "scan":
    # 700 x 450 pixels, ten a block: contour rings round both hill tops, a
    # stream and the sheet's title, in the browns of a printed map.
    draw = []
    for k in range(1, 9):
        draw.append(f"ellipse 185,185 {17 * k},{int(15.5 * k)} 0,360")
    for k in range(1, 7):
        draw.append(f"ellipse 525,305 {17 * k},{int(13.5 * k)} 0,360")
    draw.append("path 'M 0,420 C 150,360 300,460 420,400 S 620,360 700,380'")
    subprocess.run(["convert", "-size", "700x450", "xc:#f3ead2", "-fill", "none", "-stroke", "#8a5a2b",
                    "-strokewidth", "2"] + sum((["-draw", d] for d in draw), []) +
                   ["-stroke", "none", "-fill", "#3c2a14", "-font", "DejaVu-Serif", "-pointsize", "22",
                    "-annotate", "+430+60", "Hollow Fell 1:25000", "-blur", "0x0.6", sys.argv[2]], check=True)
else:
    sys.exit(__doc__)
