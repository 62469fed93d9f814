#!/usr/bin/env python3
"""Works out the expected result of a whole grid build for grid_whole_build_test.cpp.

Written from the build rules alone, not from the C++ code: cells are shared
Python objects in a padded list of lists, the border is filled in eight
sweeps, the anti-diagonal pass mirrors every row in place, and flat areas are
labelled breadth first. Run it and paste its output into the test.
"""
import struct

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
    grid = [[None] * pc for _ in range(pr)]
    real = [[Cell(values[r][q]) for q in range(cols)] for r in range(rows)]
    for r in range(rows):
        for q in range(cols):
            grid[BORDER + r][BORDER + q] = real[r][q]
    b = BORDER
    for i in range(b):  # the four corner blocks
        for j in range(b):
            grid[i][j] = real[0][0]
            grid[i][pc - 1 - j] = real[0][cols - 1]
            grid[pr - 1 - i][j] = real[rows - 1][0]
            grid[pr - 1 - i][pc - 1 - j] = real[rows - 1][cols - 1]
    for q in range(cols):  # top and bottom bands
        for i in range(b):
            grid[i][b + q] = real[0][q]
            grid[pr - 1 - i][b + q] = real[rows - 1][q]
    for r in range(rows):  # left and right bands
        for j in range(b):
            grid[b + r][j] = real[r][0]
            grid[b + r][pc - 1 - j] = real[r][cols - 1]

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
    for row in grid:
        row.reverse()
    diagonals()
    for row in grid:
        row.reverse()

    for row in grid:
        for cell in row:
            total = 0.0
            for v in cell.cands:  # in order, in double precision
                total += v
            cell.height = f32(total / len(cell.cands)) if cell.cands else 0.0

    levels = [NO_LEVEL] * len(levels)
    for row in grid:
        for cell in row:
            if cell.kind == 'blue1' and cell.height < levels[cell.area]:
                levels[cell.area] = cell.height
    levels = [round_height(v) for v in levels]
    for row in grid:
        for cell in row:
            if cell.kind == 'blue1':
                cell.height = levels[cell.area]
    return real


def literal(v):
    text = '%.9g' % v
    return (text if ('.' in text or 'e' in text) else text + '.0') + 'f'


def main():
    B1 = -9020
    values = [
        [100, 120, 140, 120, 100],
        [120, B1, B1, 160, 140],
        [140, 120, 130, 180, B1],
        [160, 140, 120, 110, B1],
    ]
    real = build(values, 10.0, 50.0)
    print('// reference_grid.py: candidates of each real cell, row by row')
    for row in real:
        for cell in row:
            print('    {%d, {%s}},' % (len(cell.cands), ', '.join(literal(v) for v in cell.cands)))
    print('// heights')
    for row in real:
        print('    ' + ', '.join(literal(cell.height) for cell in row) + ',')


if __name__ == '__main__':
    main()
