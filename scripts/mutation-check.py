#!/usr/bin/env python3
"""Plants the faults listed in tests/mutations.txt one at a time in a scratch copy of the tree,
rebuilds it incrementally, runs the test suite and tells whether the suite caught each fault.

    scripts/mutation-check.py [--only ID ...] [--scratch DIR] [--timeout SECONDS]

The scratch copy holds the tracked files as they are in the working tree. It is built once
(Release preset, ccache), the unmodified suite must pass, then each fault is planted, built,
tested and taken out again. The fast tests run first and the end-to-end test only if they all
pass; a test that runs past the timeout counts as caught, and is reported as a timeout.
The closing line reads "N caught, M missed"; the exit status is 1 when a fault was missed.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FAULTS = ROOT / "tests" / "mutations.txt"


@dataclass
class Fault:
    id: str
    file: str
    find: str
    replace: str
    why: str
    line: int


def unescape(text):
    # "\n" in the list stands for a line break, "\\" for a backslash.
    return re.sub(r"\\(.)", lambda m: "\n" if m.group(1) == "n" else m.group(1), text)


def read_faults(path):
    """Blocks of "key: value" lines separated by blank lines; "#" starts a comment line."""
    faults, block, start = [], {}, 0
    lines = path.read_text(encoding="utf-8").splitlines() + [""]
    for number, line in enumerate(lines, 1):
        if line.startswith("#"):
            continue
        if not line.strip():
            if block:
                missing = {"id", "file", "find", "replace", "why"} - block.keys()
                if missing:
                    sys.exit(f"{path}:{start}: fault without {', '.join(sorted(missing))}")
                faults.append(Fault(block["id"], block["file"], unescape(block["find"]),
                                    unescape(block["replace"]), block["why"], start))
                block = {}
            continue
        key, sep, value = line.partition(":")
        if not sep or key not in {"id", "file", "find", "replace", "why"}:
            sys.exit(f"{path}:{number}: expected 'id|file|find|replace|why: ...', got {line!r}")
        if not block:
            start = number
        block[key] = value[1:] if value.startswith(" ") else value
    ids = [f.id for f in faults]
    duplicates = {i for i in ids if ids.count(i) > 1}
    if duplicates:
        sys.exit(f"{path}: ids used twice: {', '.join(sorted(duplicates))}")
    return faults


def check_faults(faults, tree):
    """Every original text must occur exactly once in its file, or the list has gone stale."""
    problems = []
    for f in faults:
        source = tree / f.file
        if not source.is_file():
            problems.append(f"{FAULTS.name}:{f.line} {f.id}: no file {f.file}")
            continue
        count = source.read_text(encoding="utf-8").count(f.find)
        if count != 1:
            where = "not found" if count == 0 else f"found {count} times"
            problems.append(f"{FAULTS.name}:{f.line} {f.id}: original text {where} in {f.file}")
        elif f.find == f.replace:
            problems.append(f"{FAULTS.name}:{f.line} {f.id}: the replacement changes nothing")
    if problems:
        sys.exit("The fault list does not match the code:\n  " + "\n  ".join(problems))


def copy_tree(scratch):
    files = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, check=True,
                           capture_output=True).stdout.decode().split("\0")
    for name in filter(None, files):
        source, target = ROOT / name, scratch / name
        if not source.is_file():
            continue  # deleted in the working tree
        target.parent.mkdir(parents=True, exist_ok=True)
        # Copied with its mode and a new time stamp: an older stamp than a stale object would keep
        # the object.
        if not target.exists() or target.read_bytes() != source.read_bytes():
            shutil.copy(source, target)


def build(scratch, env, log):
    for command in (["cmake", "--preset", "default"],
                    ["cmake", "--build", "--preset", "default", "-j2"]):
        result = subprocess.run(command, cwd=scratch, env=env, stdout=log, stderr=log)
        if result.returncode != 0:
            return False
    return True


OUTCOME = re.compile(r"Test\s+#\d+: (\S+) \.*\s*(\*\*\*)?(\w+)")


def run_suite(scratch, env, timeout, log):
    """Fast tests first, the end-to-end test after; returns the failed tests and how each
    ended ("Failed", "Timeout", ...), empty when everything passed."""
    for selection in (["-LE", "e2e"], ["-L", "e2e"]):
        result = subprocess.run(
            ["ctest", "--test-dir", "build/default", "-j2", "--stop-on-failure",
             "--timeout", str(timeout), "--output-on-failure"] + selection,
            cwd=scratch, env=env, capture_output=True, text=True)
        log.write(result.stdout + result.stderr)
        log.flush()
        failed = [(m.group(1), m.group(3)) for m in OUTCOME.finditer(result.stdout)
                  if m.group(3) != "Passed"]
        if result.returncode != 0:
            return failed or [("ctest", f"exit status {result.returncode}")]
    return []


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", nargs="+", metavar="ID", help="plant only these faults")
    parser.add_argument("--scratch", type=Path, default=Path("/tmp/curve-mutation"))
    parser.add_argument("--timeout", type=int, default=120, help="seconds per test")
    args = parser.parse_args()

    faults = read_faults(FAULTS)
    check_faults(faults, ROOT)
    if args.only:
        unknown = set(args.only) - {f.id for f in faults}
        if unknown:
            sys.exit(f"unknown fault ids: {', '.join(sorted(unknown))}")
        faults = [f for f in faults if f.id in args.only]

    started = time.monotonic()
    scratch = args.scratch.resolve()
    scratch.mkdir(parents=True, exist_ok=True)
    copy_tree(scratch)
    env = dict(os.environ, CMAKE_CXX_COMPILER_LAUNCHER="ccache", CCACHE_BASEDIR=str(scratch))
    log_path = scratch / "mutation.log"
    with open(log_path, "w", encoding="utf-8") as log:
        print(f"scratch copy {scratch}, log {log_path}", flush=True)
        if not build(scratch, env, log):
            sys.exit(f"the unmodified tree does not build: see {log_path}")
        failed = run_suite(scratch, env, args.timeout, log)
        if failed:
            sys.exit(f"the unmodified suite fails ({failed}): see {log_path}")
        print(f"unmodified tree built and green in {time.monotonic() - started:.0f} s",
              flush=True)

        caught = missed = 0
        for f in faults:
            path = scratch / f.file
            original = path.read_text(encoding="utf-8")
            log.write(f"\n=== {f.id}: {f.file}\n")
            log.flush()
            t0 = time.monotonic()
            path.write_text(original.replace(f.find, f.replace, 1), encoding="utf-8")
            try:
                if not build(scratch, env, log):
                    sys.exit(f"{f.id}: the planted fault does not compile: see {log_path}")
                failed = run_suite(scratch, env, args.timeout, log)
            finally:
                path.write_text(original, encoding="utf-8")
            seconds = time.monotonic() - t0
            if failed:
                caught += 1
                how = ", ".join(f"{name} ({end.lower()})" for name, end in failed)
                print(f"caught  {f.id:32} by {how} [{seconds:.0f} s]", flush=True)
            else:
                missed += 1
                print(f"missed  {f.id:32} {f.file}: {f.why} [{seconds:.0f} s]", flush=True)

    minutes = (time.monotonic() - started) / 60
    print(f"{caught} caught, {missed} missed ({minutes:.1f} min)")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
