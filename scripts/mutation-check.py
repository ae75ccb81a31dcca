#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

"""Plants the faults listed in tests/mutations.txt one at a time in a scratch copy of the tree,
rebuilds it incrementally, runs the test suite and tells whether the suite caught each fault.

    scripts/mutation-check.py [--only ID ...] [--scratch DIR] [--timeout SECONDS]

It needs only what scripts/install-deps.sh installs; ccache speeds the builds up when it is
installed and is left out when it is not. The scratch copy holds the tracked files as they are in
the working tree. It is built once (Release preset) and the unmodified suite must pass; then each
fault is planted, built, tested and taken out again. The tests whose executables the fault rebuilt
run first, then the other fast tests, and the end-to-end tests only if they all pass; the test of
the checkout's licences has nothing to say of a copy without git and is left out. A fault is caught when a test fails for it; a fault whose only
failures are tests running past the timeout (a test's own TIMEOUT property takes precedence) is
reported apart, as caught by a timeout. After every ten faults (--check-every), and after the last, the unmodified
tree is built and tested again: if it fails then, the environment is broken and the results since
the previous check do not count, and the script stops with status 2, as it does when the
unmodified tree fails at the start.
The closing line reads "N caught (F by a failing test, T by a timeout), M missed"; the exit
status is 1 when a fault was missed.
"""

import argparse
import json
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
        if key in block:
            sys.exit(f"{path}:{number}: a second '{key}' in one fault: a blank line missing?")
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


def build(scratch, env, launcher, log):
    # The launcher is given on every configure, so that a scratch copy configured earlier with
    # ccache still builds once ccache is gone.
    for command in (["cmake", "--preset", "default", f"-DCMAKE_CXX_COMPILER_LAUNCHER={launcher}"],
                    ["cmake", "--build", "--preset", "default", "-j2"]):
        result = subprocess.run(command, cwd=scratch, env=env, stdout=log, stderr=log)
        if result.returncode != 0:
            return False
    return True


# "Test  #3: name ....***Failed  0.5 sec"; the outcome can be several words ("Subprocess
# aborted***Exception:", "***Not Run").
OUTCOME = re.compile(r"Test\s+#\d+: (\S+) \.*\s*(.+?)\s+[\d.]+ sec")


def outcome(text):
    return " ".join(text.replace("*", " ").replace(":", " ").split())


class SuiteError(Exception):
    """ctest ended badly without any test failing: nothing can be said about the fault."""


def test_programs(scratch, env):
    """Each test's name with the program it runs, for the tests that run a built program."""
    shown = subprocess.run(["ctest", "--test-dir", "build/default", "--show-only=json-v1"],
                           cwd=scratch, env=env, check=True, capture_output=True, text=True)
    programs = {}
    for test in json.loads(shown.stdout)["tests"]:
        command = test.get("command") or []
        if command and Path(command[0]).is_relative_to(scratch / "build"):
            programs[test["name"]] = Path(command[0])
    return programs


def stamps(programs):
    return {name: path.stat().st_mtime_ns if path.exists() else 0
            for name, path in programs.items()}


def run_suite(scratch, env, timeout, log, first=()):
    """The tests named in first, then the other fast tests, then the end-to-end tests; returns
    the failed tests and how each ended ("Failed", "Timeout", "Subprocess aborted Exception",
    ...), empty when everything passed."""
    names = "^(" + "|".join(re.escape(name) for name in first) + ")$"
    selections = [["-R", names], ["-LE", "e2e|checkout", "-E", names]] if first else [
        ["-LE", "e2e|checkout"]]
    for selection in selections + [["-L", "e2e"]]:
        result = subprocess.run(
            ["ctest", "--test-dir", "build/default", "-j2", "--stop-on-failure",
             "--timeout", str(timeout), "--output-on-failure"] + selection,
            cwd=scratch, env=env, capture_output=True, text=True, errors="replace")
        log.write(result.stdout + result.stderr)
        log.flush()
        ends = [(m.group(1), outcome(m.group(2))) for m in OUTCOME.finditer(result.stdout)]
        failed = [(name, end) for name, end in ends if end != "Passed"]
        if result.returncode != 0:
            if not failed:
                raise SuiteError(f"ctest ended with status {result.returncode} and no failed test")
            return failed
    return []


def verdict(failed):
    if not failed:
        return "missed"
    return "timeout" if all(end == "Timeout" for _, end in failed) else "caught"


def tail(path, lines=20):
    return "\n".join(path.read_text(encoding="utf-8", errors="replace").splitlines()[-lines:])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", nargs="+", metavar="ID", help="plant only these faults")
    parser.add_argument("--scratch", type=Path, default=Path("/tmp/curve-mutation"))
    parser.add_argument("--timeout", type=int, default=120, help="seconds per test")
    parser.add_argument("--check-every", type=int, default=10, metavar="N",
                        help="faults between two checks of the unmodified tree")
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
    launcher = shutil.which("ccache") or ""
    env = dict(os.environ, CCACHE_BASEDIR=str(scratch))
    log_path = scratch / "mutation.log"
    counts = {"caught": 0, "timeout": 0, "missed": 0}

    def closing_line():
        minutes = (time.monotonic() - started) / 60
        caught = counts["caught"] + counts["timeout"]
        return (f"{caught} caught ({counts['caught']} by a failing test, {counts['timeout']} by a "
                f"timeout), {counts['missed']} missed ({minutes:.1f} min)")

    with open(log_path, "w", encoding="utf-8") as log:
        print(f"scratch copy {scratch}, log {log_path}, "
              f"{'ccache ' + launcher if launcher else 'no ccache'}", flush=True)

        def unmodified_fails():
            """Builds and tests the tree without a fault; tells what went wrong, if anything."""
            log.write("\n=== unmodified tree\n")
            log.flush()
            if not build(scratch, env, launcher, log):
                return "it does not build"
            try:
                failed = run_suite(scratch, env, args.timeout, log)
            except SuiteError as error:
                return str(error)
            return f"the suite fails: {failed}" if failed else ""

        problem = unmodified_fails()
        if problem:
            print(f"unmodified tree: {problem}; the log ends:\n{tail(log_path)}", file=sys.stderr)
            return 2
        print(f"unmodified tree built and green in {time.monotonic() - started:.0f} s",
              flush=True)
        programs = test_programs(scratch, env)

        # Results count only once the unmodified suite has passed again after them.
        pending = []
        for number, f in enumerate(faults, 1):
            path = scratch / f.file
            original = path.read_text(encoding="utf-8")
            log.write(f"\n=== {f.id}: {f.file}\n")
            log.flush()
            t0 = time.monotonic()
            path.write_text(original.replace(f.find, f.replace, 1), encoding="utf-8")
            try:
                before = stamps(programs)
                if not build(scratch, env, launcher, log):
                    sys.exit(f"{f.id}: the planted fault does not compile: see {log_path}")
                after = stamps(programs)
                rebuilt = [name for name in programs if after[name] != before[name]]
                failed = run_suite(scratch, env, args.timeout, log, rebuilt)
            except SuiteError as error:
                sys.exit(f"{f.id}: {error}: see {log_path}")
            finally:
                path.write_text(original, encoding="utf-8")
            seconds = time.monotonic() - t0
            result = verdict(failed)
            pending.append((f.id, result))
            if result == "missed":
                print(f"missed  {f.id:32} {f.file}: {f.why} [{seconds:.0f} s]", flush=True)
            else:
                how = ", ".join(f"{name} ({end.lower()})" for name, end in failed)
                print(f"{result:7} {f.id:32} by {how} [{seconds:.0f} s]", flush=True)

            if number % args.check_every == 0 or number == len(faults):
                t0 = time.monotonic()
                problem = unmodified_fails()
                if problem:
                    again = [i for i, _ in pending] + [later.id for later in faults[number:]]
                    print(f"unmodified tree after {f.id}: {problem}; the results since the "
                          f"previous check do not count, see {log_path}; to go on: --only "
                          f"{' '.join(again)}", flush=True)
                    print(closing_line())
                    return 2
                print(f"unmodified tree still green [{time.monotonic() - t0:.0f} s]", flush=True)
                for _, result in pending:
                    counts[result] += 1
                pending = []

    print(closing_line())
    return 1 if counts["missed"] else 0


if __name__ == "__main__":
    sys.exit(main())
