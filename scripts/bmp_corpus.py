#!/usr/bin/env python3
"""Pictures for comparing two `qarn` programs, and the comparison itself.

  bmp_corpus.py big DIR             the three memory pictures: 5400 x 5410 24-bit map,
                                    12000 x 12000 1-bit map, 24000 x 24000 1-bit picture
  bmp_corpus.py corpus DIR          valid pictures (own writer and ImageMagick) of every bit
                                    depth, header and row order, and mutated ones
  bmp_corpus.py compare OLD NEW DIR runs `OLD build` and `NEW build` on every picture of DIR
                                    (colour set from the name) and reports any difference in
                                    exit status, printed text or written files
"""
import os, random, shutil, struct, subprocess, sys, tempfile

RUNGS = [(0, 132, 33), (99, 198, 0), (66, 231, 0), (165, 231, 66), (165, 198, 0), (165, 165, 0),
         (198, 198, 0), (231, 198, 132), (231, 198, 66), (231, 165, 0), (198, 165, 66), (198, 165, 132),
         (173, 123, 41), (165, 99, 0), (132, 66, 66), (165, 66, 0), (198, 99, 0), (231, 99, 0)]
WHITE = (255, 255, 255)
PALETTE = [WHITE] + RUNGS + [(i, 7 * i % 256, 255 - i) for i in range(256)]  # index 0 white, then the rungs


def bmp(w, h, bits, colour, top_down=False, header=40, rows=None, palette=PALETTE):
    """A BMP as bytes. colour(x, y) gives an (r, g, b) for 16 and 24 bits, else a palette index;
    rows(y) may give whole packed rows instead."""
    core = header <= 12
    pal = b''
    if bits <= 8:
        entries = palette[:1 << bits]
        pal = b''.join(bytes((b, g, r)) + (b'' if core else b'\0') for r, g, b in entries)
    data = (w * bits + 7) // 8
    stride = (data + 3) // 4 * 4
    off = 14 + header + len(pal)
    if core:
        info = struct.pack('<IhhHH', header, w, -h if top_down else h, 1, bits)
    else:
        info = struct.pack('<IiiHHI', header, w, -h if top_down else h, 1, bits, 0).ljust(header, b'\0')
    out = [b'BM', struct.pack('<IHHI', 0, 0, 0, off), info, pal]
    for k in range(h):
        y = k if top_down else h - 1 - k
        row = rows(y) if rows else pack_row([colour(x, y) for x in range(w)], bits)
        out.append(row.ljust(stride, b'\0'))
    blob = b''.join(out)
    return blob[:2] + struct.pack('<I', len(blob)) + blob[6:]


def pack_row(values, bits):
    if bits == 24:
        return b''.join(bytes((b, g, r)) for r, g, b in values)
    if bits == 16:
        return b''.join(struct.pack('<H', (r >> 3) << 10 | (g >> 3) << 5 | b >> 3) for r, g, b in values)
    n = 0
    for v in values:
        n = n << bits | v
    pad = -len(values) * bits % 8
    return (n << pad).to_bytes((len(values) * bits + 7) // 8, 'big')


def painted(w, h, bits, user, rng):
    """Sample pixels painted in valid colours, every other pixel random, band on rows 3 and 5."""
    ncol = min(len(RUNGS), (1 << bits) - 1) if bits <= 8 else len(RUNGS)
    n_band = min(rng.randrange(1, ncol + 1), max(1, (w - 6) // 10))  # leaves room for the white block
    top = 10 if user else 0
    seed = rng.randrange(1 << 30)

    def value(i):  # rung i as a colour or a palette index; -1 is white
        return i + 1 if bits <= 8 else (RUNGS[i] if i >= 0 else WHITE)

    def colour(x, y):
        r = random.Random(seed ^ (x * 7919 + y * 104729))
        if x % 10 == 5 and user and y in (3, 5):
            i = x // 10
            return value(-1 if (y == 3 and i == n_band) else i % ncol)
        if x % 10 == 5 and y >= top and (y - top) % 10 == 5:
            return value(((x // 10) * 3 + (y - top) // 10) % (n_band if user else ncol))
        return r.randrange(1 << bits) if bits <= 8 else (r.randrange(256), r.randrange(256), r.randrange(256))
    return colour


def big(d):
    os.makedirs(d, exist_ok=True)
    rung = lambda i: bytes(reversed(RUNGS[i]))
    with open(os.path.join(d, 'largest24.bmp'), 'wb') as f:
        f.write(bmp(5400, 5410, 24, None, rows=lambda y: b''.join(
            rung((x // 37 + y // 230) % 6) * 10 for x in range(540))))
    for size, name in ((12000, 'map12000_1bit.bmp'), (24000, 'pic24000_1bit.bmp')):
        even = int(('1' * 10 + '0' * 10) * (size // 20), 2).to_bytes(size // 8, 'big')
        odd = bytes(255 - b for b in even)
        with open(os.path.join(d, name), 'wb') as f:
            f.write(bmp(size, size, 1, None, rows=lambda y: even if (y // 10) % 2 else odd, palette=RUNGS))


def corpus(d):
    os.makedirs(d, exist_ok=True)
    rng = random.Random(18)
    valid = []

    def put(name, blob):
        with open(os.path.join(d, name), 'wb') as f:
            f.write(blob)

    sizes = [(10, 10), (11, 19), (16, 20), (20, 21), (25, 30), (37, 43), (9, 30), (30, 9), (64, 65)]
    for bits in (1, 4, 8, 16, 24):
        for header in (12, 40, 64, 108, 124):
            for top_down in (False, True):
                for user in (False, True):
                    w, h = rng.choice(sizes)
                    name = f'ok_{bits}b_h{header}_{"td" if top_down else "bu"}_{w}x{h}_{"usr" if user else "sys"}.bmp'
                    blob = bmp(w, h, bits, painted(w, h, bits, user, rng), top_down, header)
                    put(name, blob)
                    valid.append((name, blob))
    # Block limits: 1-bit pictures around 1201 blocks a side.
    for w, h in ((12010, 20), (12019, 25), (12020, 20), (20, 12010), (20, 12019), (25, 12020), (12030, 12)):
        for user in (False, True):
            for td in (False, True):
                blob = bmp(w, h, 1, lambda x, y: (x // 10 + y // 10) & 1, top_down=td, palette=RUNGS)
                for cut in (len(blob), len(blob) - 1, len(blob) // 2, 62, 61, 30):  # also cut short
                    put(f'lim{cut}_{w}x{h}_{"td" if td else "bu"}_{"usr" if user else "sys"}.bmp', blob[:cut])
    # ImageMagick's own writers, from a painted picture.
    with tempfile.TemporaryDirectory() as t:
        for i, (w, h, user) in enumerate([(30, 20, False), (40, 40, True), (55, 31, False), (64, 64, True)]):
            ppm = os.path.join(t, f'p{i}.ppm')
            col = painted(w, h, 24, user, rng)
            with open(ppm, 'wb') as f:
                f.write(b'P6 %d %d 255\n' % (w, h) + b''.join(bytes(col(x, y)) for y in range(h) for x in range(w)))
            for fmt in ('BMP', 'BMP2', 'BMP3'):
                for opts in ([], ['-type', 'TrueColor'], ['-type', 'Palette'], ['-type', 'Palette', '-compress', 'None'], ['-colors', '16'], ['-colors', '2'],
                             ['-monochrome'], ['-define', 'bmp:subtype=RGB555'], ['-flip']):
                    name = f'im_{fmt}_{"_".join(o.strip("-").replace(":", "").replace("=", "") for o in opts)}_{i}_{"usr" if user else "sys"}.bmp'
                    subprocess.run(['convert', ppm, *opts, f'{fmt}:{os.path.join(d, name)}'], check=True)
                    with open(os.path.join(d, name), 'rb') as f:
                        valid.append((name, f.read()))
    # Mutations of the valid ones.
    for kind in ('ok_1b_h40', 'ok_4b_h12', 'ok_8b_h124', 'ok_16b_h40', 'ok_24b_h64', 'im_BMP2_'):
        name, blob = min((v for v in valid if v[0].startswith(kind)), key=lambda v: len(v[1]))
        for n in range(len(blob)):
            put(f'cut{n}_{name}', blob[:n])
    for k in range(1500):
        name, blob = rng.choice(valid)
        b = bytearray(blob)
        off = struct.unpack_from('<I', blob, 10)[0]
        for _ in range(rng.randrange(1, 4)):
            b[rng.randrange(min(len(b), max(off, 18)))] = rng.choice([0, 1, 0xFF, 0x80, 0x7F, rng.randrange(256)])
        put(f'flip{k}_{name}', bytes(b))
    huge = [0, 1, 9, 10, 11, 19, 20, 21, 12010, 12019, 12020, 24000, 65535, 0x7FFFFFFF, -1, -10, -12020, -0x80000000]
    for k in range(600):
        name, blob = rng.choice(valid)
        b = bytearray(blob)
        core = struct.unpack_from('<I', blob, 14)[0] <= 12
        field = rng.choice([18, 22]) if not core else rng.choice([18, 20])
        v = rng.choice(huge)
        if core:
            struct.pack_into('<h', b, field, max(-32768, min(32767, v)))
        else:
            struct.pack_into('<i', b, field, v)
        w, h = struct.unpack_from('<hh' if core else '<ii', b, 18)
        bits = struct.unpack_from('<H', b, 22 if core else 28)[0]
        holds = struct.unpack_from('<I', b, 10)[0] + ((abs(w) * bits + 31) // 32 * 4) * abs(h)  # pixels fit
        cut = rng.choice([len(b), len(b), len(b) // 2, holds if holds < 1 << 22 else len(b)])
        put(f'huge{k}_{name}', bytes(b[:cut]).ljust(cut, b'\0'))
    for k in range(400):
        name, blob = rng.choice(valid)
        b = bytearray(blob)
        struct.pack_into('<I', b, 10, rng.choice([0, 1, 13, 14, 54, len(b) - 1, len(b), len(b) + 1, 0xFFFFFFFF,
                                                  0x80000000, rng.randrange(len(b))]))
        put(f'off{k}_{name}', bytes(b))


def compare(old, new, d):
    names = sorted(n for n in os.listdir(d) if n.endswith('.bmp'))
    diffs = 0
    results = {}
    for n in names:
        outs = []
        for prog in (old, new):
            with tempfile.TemporaryDirectory() as t:
                shutil.copy(os.path.join(d, n), os.path.join(t, 'map.bmp'))
                p = subprocess.run([prog, 'build', 'map.bmp', '--colour-set', 'user' if '_usr' in n else 'system',
                                    '--min', '100', '--interval', '20', '--output', 'out.asc'],
                                   cwd=t, capture_output=True, timeout=120)
                files = {f: open(os.path.join(t, f), 'rb').read() for f in sorted(os.listdir(t)) if f != 'map.bmp'}
                outs.append((p.returncode, p.stdout, p.stderr, files))
        kind = (outs[0][0], (outs[0][2].split(b'\n')[0] or outs[0][1].split(b'\n')[-2]).decode())
        results[kind] = results.get(kind, 0) + 1
        if outs[0] != outs[1]:
            diffs += 1
            print(f'DIFF {n}: old {outs[0][0]} {outs[0][2][:80]!r} new {outs[1][0]} {outs[1][2][:80]!r}')
    for (status, text), count in sorted(results.items()):
        print(f'{count:6} exit {status}: {text[:70]}')
    print(f'{len(names)} pictures compared, {diffs} differ')


if __name__ == '__main__':
    {'big': lambda: big(sys.argv[2]), 'corpus': lambda: corpus(sys.argv[2]),
     'compare': lambda: compare(*sys.argv[2:5])}[sys.argv[1]]()
