#!/usr/bin/env python3
"""Works out the expected grids of the tests from the build rules alone, not
from the C++ code: cells are shared Python objects in a padded list of lists,
a border position is the nearest real cell, the anti-diagonal pass mirrors every row
in place, and flat areas are labelled breadth first.

  reference_grid.py MAP.bmp MIN INTERVAL [user]   the saved grid's map rows
      (whole metres, as "qarn build" writes them); 8- and 24-bit pictures
  reference_grid.py VALUES.tsv                     exact heights of a grid of
      block values (first line: contour interval and rimless level)
"""
import struct
import sys
K = 92.76587126
BORDER = 20
NO_LEVEL = 99999.0


def f32(x):
    return struct.unpack('<f', struct.pack('<f', x))[0]


def round_height(v):
    t = float(int(v))  # truncation toward zero
    return t + 1.0 if v - t > 0.5 else t


def higher_of(a, b):
    return b if a < b else a


class Cell:
    def __init__(self, base):
        self.base = f32(base)
        self.kind = 'height' if base >= 0 else ('blue1' if int(base) == -9020 else 'other')
        self.area = 0
        self.cands = []
        self.height = 0.0

    def add(self, v):
        if len(self.cands) < 4:
            self.cands.append(f32(v))


def ramp_step(k, n, a, b, keep_slope_float=True):
    s = (b - a) / (n * K)
    if keep_slope_float:
        s = f32(s)
    return f32(k * s * K + a)


def smooth_line(line, c):
    L = len(line)
    h = [x.base for x in line]

    def give(i, v):
        line[i].add(v)

    def own(i):
        give(i, h[i])

    def raised(i, f):
        give(i, f32(f * c + h[i]))

    s = e = p = 0
    while e <= L:
        n = 0
        while e < L and h[e] == h[s]:
            n += 1
            e += 1
        if e == L:
            if h[p] < h[s]:
                if n == 1:
                    own(s)
                elif n == 2:
                    own(s); raised(s + 1, 0.2)
                elif n == 3:
                    own(s); raised(s + 1, 0.1); raised(s + 2, 0.2)
                else:
                    top = f32(0.4 * c + h[L - 1])
                    for k in range(n - 1):
                        give(s + k, ramp_step(k, n, h[s], top))
                    give(L - 1, top)
            elif h[p] > h[s]:
                for k in range(1, n):
                    give(p + k, ramp_step(k, n, h[p], h[L - 1]))
                own(L - 1)
            else:
                for k in range(n):
                    own(s + k)
            break
        hp, hs, he = h[p], h[s], h[e]
        if hp <= hs < he:  # rise
            for k in range(n):
                give(s + k, ramp_step(k, n, hs, he))
        elif hp == hs > he:  # shoulder
            if n == 1:
                own(s)
            elif n == 2:
                raised(s, 0.2); own(s + 1)
            elif n == 3:
                raised(s, 0.2); raised(s + 1, 0.1); own(s + 2)
            else:
                base = f32(0.4 * c + hs)
                for k in range(1, n - 1):
                    give(s + k, ramp_step(k, n, base, h[e - 1]))
                own(e - 1)
                give(s, f32(0.4 * c + hs))
        elif hp < hs > he:  # crest
            if n <= 2:
                for k in range(n):
                    own(s + k)
            elif n <= 6:
                pattern = {3: [0, .2, 0], 4: [0, .2, .2, 0], 5: [0, .2, .4, .2, 0],
                           6: [0, .2, .4, .4, .2, 0]}[n]
                for k, f in enumerate(pattern):
                    own(s + k) if f == 0 else raised(s + k, f)
            elif n % 2:
                m = n // 2
                top = f32(0.4 * c + h[s + m])
                for k in range(m):
                    give(s + k, ramp_step(k, m, hs, top))
                give(s + m, top)
                for k in range(1, m):
                    give(s + m + k, ramp_step(k, m, top, h[e - 1]))
                own(e - 1)
            else:
                m = n // 2
                top = f32(0.4 * c + h[s + m - 1])
                for k in range(m - 1):
                    give(s + k, ramp_step(k, m - 1, hs, top))
                give(s + m - 1, top)
                give(s + m, top)
                for k in range(1, m - 1):
                    give(s + m + k, ramp_step(k, m - 1, top, h[e - 1]))
                own(e - 1)
        elif hp > hs > he:  # fall
            for k in range(1, n):
                give(p + k, ramp_step(k, n, hp, h[e - 1]))
            own(e - 1)
        else:  # trough
            A = [ramp_step(k, n, hp, h[e - 1]) for k in range(n)]
            B = [ramp_step(k, n, hs, he, keep_slope_float=False) for k in range(n)]
            for k in range(n - 1):
                give(s + k, higher_of(A[k + 1], B[k]))
            give(s + n - 1, B[n - 1])
        p = e - 1
        s = e


def build(values, c, rimless):
    rows, cols = len(values), len(values[0])
    pr, pc = rows + 2 * BORDER, cols + 2 * BORDER
    real = [[Cell(values[r][q]) for q in range(cols)] for r in range(rows)]
    grid = [[real[min(max(i - BORDER, 0), rows - 1)][min(max(j - BORDER, 0), cols - 1)] for j in range(pc)]
            for i in range(pr)]

    # Flat areas over the real cells, eight neighbours inside the map.
    levels = [NO_LEVEL]
    for r in range(rows):
        for q in range(cols):
            if real[r][q].kind == 'blue1' and real[r][q].area == 0:
                a = len(levels)
                levels.append(NO_LEVEL)
                real[r][q].area = a
                queue, rim = [(r, q)], []
                while queue:
                    y, x = queue.pop(0)
                    for dy in (-1, 0, 1):
                        for dx in (-1, 0, 1):
                            ny, nx = y + dy, x + dx
                            if (dy, dx) == (0, 0) or not (0 <= ny < rows and 0 <= nx < cols):
                                continue
                            nb = real[ny][nx]
                            if nb.kind == 'blue1' and nb.area == 0:
                                nb.area = a
                                queue.append((ny, nx))
                            elif nb.kind == 'height':
                                rim.append(nb.base)
                levels[a] = min([NO_LEVEL] + rim) if rim else rimless
    for row in real:
        for cell in row:
            if cell.kind == 'blue1':
                cell.base = levels[cell.area]

    for i in range(pr):
        smooth_line(grid[i], c)
    for j in range(pc):
        smooth_line([grid[i][j] for i in range(pr)], c)

    def diagonals():
        for d in range(pr - 1, 0, -1):
            smooth_line([grid[d + t][t] for t in range(min(pr - d, pc))], c)
        for j in range(pc):
            smooth_line([grid[t][j + t] for t in range(min(pr, pc - j))], c)

    diagonals()
    for row in grid:  # the anti-diagonals are the diagonals of the mirror image
        row.reverse()
    diagonals()
    for row in grid:
        row.reverse()

    cells = [cell for row in real for cell in row]
    for cell in cells:  # candidates summed in order, in double precision
        cell.height = f32(sum(cell.cands) / len(cell.cands)) if cell.cands else 0.0
    levels = [NO_LEVEL] * len(levels)
    for cell in cells:
        if cell.kind == 'blue1' and cell.height < levels[cell.area]:
            levels[cell.area] = cell.height
    for cell in cells:
        if cell.kind == 'blue1':
            cell.height = round_height(levels[cell.area])
    return real


# The system colour set, lowest rung first, then the reserved colours (R, G, B).
RUNGS = [(0, 132, 33), (99, 198, 0), (66, 231, 0), (165, 231, 66), (165, 198, 0), (165, 165, 0),
         (198, 198, 0), (231, 198, 132), (231, 198, 66), (231, 165, 0), (198, 165, 66), (198, 165, 132),
         (173, 123, 41), (165, 99, 0), (132, 66, 66), (165, 66, 0), (198, 99, 0), (231, 99, 0)]
BLUE1 = (0, 128, 192)
RESERVED = [(0, 0, 255), BLUE1, (0, 192, 192), (0, 255, 0), (255, 255, 0), (255, 255, 255), (0, 0, 0)]


def read_bmp(path):
    """Pixels [y][x] as (R, G, B), y from the top, of an uncompressed 8- or 24-bit BMP."""
    d = open(path, 'rb').read()
    off, hsize, w, h, bits = struct.unpack_from('<I I i i 2x H', d, 10)
    pal = [tuple(d[14 + hsize + 4 * i + 2 - k] for k in range(3)) for i in range(256)] if bits == 8 else []
    stride = (w * bits + 31) // 32 * 4
    rows = []
    for k in range(abs(h)):
        row = d[off + k * stride:]
        rows.append([pal[row[x]] if bits == 8 else (row[3 * x + 2], row[3 * x + 1], row[3 * x]) for x in range(w)])
    return rows if h < 0 else rows[::-1]


def block_values(path, minimum, interval, user):
    px = read_bmp(path)
    colours = list(RUNGS)
    top = 0
    if user:
        top, colours, x = 10, [], 5
        while x < len(px[0]) and px[3][x] != (255, 255, 255):
            colours.append(px[5][x])
            x += 10
    heights, k = {}, 0
    for c in colours + RESERVED:
        if c not in heights:
            heights[c] = -9020 if c == BLUE1 else (-9999 if c in RESERVED else minimum + k * interval)
        k += c not in RESERVED
    return [[heights[px[top + 10 * r + 5][10 * c + 5]] for c in range(len(px[0]) // 10)]
            for r in range((len(px) - top) // 10)]


def main():
    if sys.argv[1].endswith('.bmp'):
        minimum, interval = int(sys.argv[2]), int(sys.argv[3])
        values = block_values(sys.argv[1], minimum, interval, sys.argv[4:] == ['user'])
        for row in build(values, float(interval), float(minimum)):
            print(' '.join(str(int(cell.height)) for cell in row))
    else:
        lines = [line.split() for line in open(sys.argv[1]) if line.strip() and not line.startswith('#')]
        interval, rimless = float(lines[0][0]), float(lines[0][1])
        real = build([[float(v) for v in line] for line in lines[1:]], interval, rimless)
        for row in real:
            print('\t'.join('%.9g' % cell.height for cell in row))


if __name__ == '__main__':
    main()
