#!/usr/bin/env python3
"""Runs qarn (Linux) and qarn.exe (under Wine) on the sample map and on every
row of tests/cli/build_cases.tsv that Windows can set up, each in a fresh
folder, and compares exit status, stdout, stderr and every file written, byte
for byte.

  scripts/compare_windows_build.py --linux build/cli/qarn \\
      --windows build-windows/cli/qarn.exe [--wine /usr/lib/wine/wine64]

WINEPREFIX and WINEDEBUG are taken from the environment.
"""
import argparse
import filecmp
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
MAP_DATA = "QarnSizer_MAP_Data.xdt"
SAMPLE = ("sample map, preview too", "examples/sample-map.bmp", "xdt",
          "map.bmp --colour-set system --min 100 --interval 20 --preview map.png")


def cases():
    yield SAMPLE
    for line in (ROOT / "tests/cli/build_cases.tsv").read_text(encoding="utf-8").splitlines():
        if not line or line.startswith("#"):
            continue
        row = line.split("\t") + [""] * 4
        yield row[0], row[1], row[2], row[3]


def windows_can(setup, args):
    """FIFOs, a limit on file sizes, /dev and sh's '' are Linux's."""
    return not ({"fifo", "full"} & set(setup.split())) and "/dev/" not in args and "''" not in args


def prepare(folder, picture, setup):
    pictures = folder / "pics" if "pics" in setup.split() else folder
    pictures.mkdir(parents=True, exist_ok=True)
    if picture != "-":
        shutil.copyfile(ROOT / picture, pictures / "map.bmp")
    if "xdt" in setup.split():
        shutil.copyfile(ROOT / "examples" / MAP_DATA, pictures / MAP_DATA)
    if "block" in setup.split():
        (folder / "hightvals.dat").mkdir()
    if "reportdir" in setup.split():
        (folder / "out-Build_Data.txt").mkdir()


def run(command, folder, folder_as_shown):
    """Exit status, stdout and stderr, the run's own folder (as the program
    names it: Wine shows /tmp/x as Z:\\tmp\\x) written as DIR/."""
    done = subprocess.run(command, cwd=folder, capture_output=True, timeout=120)
    def plain(text):
        for form in folder_as_shown:
            text = text.replace(form.encode() + b"/", b"DIR/").replace(form.encode() + b"\\", b"DIR/")
        return text
    return done.returncode, plain(done.stdout), plain(done.stderr)


def compare_case(linux, windows, wine, picture, setup, args):
    """Runs one case with both programs in folders of their own; whether
    status, output and every file written are the same."""
    with tempfile.TemporaryDirectory(prefix="qarn-compare-") as scratch:
        results = {}
        for side in ("linux", "windows"):
            folder = Path(scratch) / side
            prepare(folder, picture, setup)
            program = [linux] if side == "linux" else [wine, windows]
            shown = [str(folder)] if side == "linux" else ["Z:" + str(folder).replace("/", "\\")]
            results[side] = run(program + ["build"] + args.split(), folder, shown)
        same = results["linux"] == results["windows"]
        a, b = Path(scratch) / "linux", Path(scratch) / "windows"
        files = sorted(str(p.relative_to(a)) for p in a.rglob("*") if p.is_file())
        if files != sorted(str(p.relative_to(b)) for p in b.rglob("*") if p.is_file()):
            same = False
        else:
            same = same and all(filecmp.cmp(a / f, b / f, shallow=False) for f in files)
        return same, results, files


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--linux", required=True)
    parser.add_argument("--windows", required=True)
    parser.add_argument("--wine", default="/usr/lib/wine/wine64")
    options = parser.parse_args()
    linux = str(Path(options.linux).resolve())
    windows = str(Path(options.windows).resolve())
    compared = differing = 0
    for name, picture, setup, args in cases():
        if not windows_can(setup, args):
            continue
        # Wine itself crashes now and then (about one run in sixty): a case
        # that differs is run once more before it counts.
        for _ in range(2):
            same, results, files = compare_case(linux, windows, options.wine, picture, setup, args)
            if same:
                break
        compared += 1
        if not same:
            differing += 1
            print(f"DIFFERENT  {name}: linux {results['linux']!r}\n           windows {results['windows']!r}")
        else:
            print(f"same       {name} ({len(files)} files, exit {results['linux'][0]})")
    print(f"{compared} cases compared, {differing} different")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
