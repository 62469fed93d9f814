#!/usr/bin/env python3
"""Injects the faults of scripts/faults.tsv one at a time, rebuilds, runs ctest
and reports which faults the tests catch.

Each fault replaces one snippet that must occur exactly once in its file
(otherwise the fault is `stale`). The file is always put back, also on Ctrl-C
or SIGTERM, and the build folder is rebuilt once at the end.

  scripts/inject_faults.py --build build [--only ID,ID] [--results out.tsv]
                           [--ctest-args "-E fuzz_regression"]
"""
import argparse
import os
import shlex
import signal
import subprocess
import sys
import time
from pathlib import Path

FIELDS = ("id", "subsystem", "path", "original", "replacement", "description")


def read_faults(path):
    """Tab-separated, one fault a line; blank lines and '#' lines are skipped.
    Snippets are taken literally (single line, no escapes)."""
    faults = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        parts = line.split("\t")
        if len(parts) != len(FIELDS):
            sys.exit(f"{path}:{number}: expected {len(FIELDS)} tab-separated fields, got {len(parts)}")
        faults.append(dict(zip(FIELDS, parts)))
    ids = [f["id"] for f in faults]
    if len(ids) != len(set(ids)):
        sys.exit(f"{path}: duplicate fault ids")
    return faults


def run(command, log):
    """Runs a command in its own process group (killed whole on interruption);
    True when it exits with status 0."""
    log.write(f"$ {shlex.join(command)}\n")
    log.flush()
    process = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
    try:
        return process.wait() == 0
    except BaseException:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        raise


def try_fault(fault, source, build, ctest_args, log):
    path = source / fault["path"]
    if not path.is_file():
        return "stale"
    original = path.read_bytes()
    text = original.decode("utf-8")
    if text.count(fault["original"]) != 1:
        return "stale"
    try:
        path.write_bytes(text.replace(fault["original"], fault["replacement"]).encode("utf-8"))
        if not run(["cmake", "--build", str(build), "-j2"], log):
            return "no-build"
        ctest = ["ctest", "--test-dir", str(build), "-j2", "--timeout", "300", "--no-tests=error"]
        return "survived" if run(ctest + ctest_args, log) else "caught"
    finally:
        # A second Ctrl-C must not cut the restore short.
        blocked = signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGINT, signal.SIGTERM})
        path.write_bytes(original)
        signal.pthread_sigmask(signal.SIG_SETMASK, blocked)


def interrupt(*_):
    raise KeyboardInterrupt


def main():
    here = Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--source", type=Path, default=here.parent, help="source tree (default: this repository)")
    parser.add_argument("--build", type=Path, required=True, help="configured build folder")
    parser.add_argument("--faults", type=Path, default=here / "faults.tsv", help="fault list")
    parser.add_argument("--only", default="", help="comma-separated fault ids")
    parser.add_argument("--results", type=Path, help="write id, outcome, seconds as TSV")
    parser.add_argument("--ctest-args", default="", help='extra ctest arguments, e.g. "-R grid -E fuzz"')
    parser.add_argument("--log", type=Path, help="build and test output (default: BUILD/inject_faults.log)")
    args = parser.parse_args()

    source = args.source.resolve()
    build = args.build if args.build.is_absolute() else (Path.cwd() / args.build)
    faults = read_faults(args.faults)
    if args.only:
        wanted = [i.strip() for i in args.only.split(",") if i.strip()]
        unknown = set(wanted) - {f["id"] for f in faults}
        if unknown:
            sys.exit("unknown fault ids: " + ", ".join(sorted(unknown)))
        faults = [f for f in faults if f["id"] in wanted]
    # SIGTERM unwinds like Ctrl-C, so the finally clauses restore the file.
    signal.signal(signal.SIGTERM, interrupt)
    header = "# commit {} measured {} ctest-args: {}".format(
        subprocess.run(["git", "-C", str(source), "rev-parse", "--short", "HEAD"], capture_output=True,
                       text=True).stdout.strip() or "unknown",
        time.strftime("%Y-%m-%d %H:%M"), args.ctest_args or "(none)")

    results = []
    outcome = None
    log_path = args.log or build / "inject_faults.log"
    with open(log_path, "a", encoding="utf-8") as log:
        try:
            if not run(["cmake", "--build", str(build), "-j2"], log):
                sys.exit(f"the unchanged tree does not build; see {log_path}")
            for number, fault in enumerate(faults, 1):
                log.write(f"\n=== {fault['id']}: {fault['description']}\n")
                started = time.monotonic()
                outcome = try_fault(fault, source, build, shlex.split(args.ctest_args), log)
                seconds = round(time.monotonic() - started)
                results.append((fault["id"], outcome, seconds))
                print(f"[{number}/{len(faults)}] {fault['id']:<24} {outcome:<9} {seconds:>5} s", flush=True)
                if args.results:
                    write_results(args.results, header, results)
        except KeyboardInterrupt:
            print("interrupted; the faulted file was restored", file=sys.stderr)
        finally:
            signal.signal(signal.SIGTERM, signal.SIG_DFL)
            print("rebuilding the unchanged tree ...", flush=True)
            run(["cmake", "--build", str(build), "-j2"], log)

    by_outcome = {}
    for fault_id, result, _ in results:
        by_outcome.setdefault(result, []).append(fault_id)
    print(f"\n{len(results)} faults tried")
    for name in ("caught", "survived", "stale", "no-build"):
        ids = by_outcome.get(name, [])
        line = f"{name:<9} {len(ids):>3}"
        print(line + (": " + " ".join(ids) if ids and name != "caught" else ""))
    return 0


def write_results(path, header, results):
    with open(path, "w", encoding="utf-8") as out:
        out.write(header + "\nid\toutcome\tseconds\n")
        for row in results:
            out.write("\t".join(map(str, row)) + "\n")


if __name__ == "__main__":
    sys.exit(main())
