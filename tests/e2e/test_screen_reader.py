#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

"""What a screen reader reads from the curve window, read the way it reads it: over the AT-SPI
bus, from another process. The real program runs under an X server, a D-Bus session and an
accessibility bus of this test's own; the test walks it to the curve window with xdotool, as a
person would, then looks for every focusable control of that window in the program's accessible
tree and compares their names and roles with the Italian ones the window gives them.

    test_screen_reader.py PROGRAM [FOLDER FOR A SCREENSHOT OF A FAILURE]
"""

import ctypes
import importlib.util
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

# Every focusable control of the curve window, as (name, role).
EXPECTED = {
    ("dal PUNTO, X", "text"),
    ("dal PUNTO, Y", "text"),
    ("al PUNTO, X", "text"),
    ("al PUNTO, Y", "text"),
    ("ESCI", "push button"),
    ("ESEGUI", "push button"),
    ("CANCELLA ed esegui", "push button"),
    ("Istruzioni", "push button"),
    ("SPOSTAMENTO VERTICALE", "scroll bar"),
    ("valore dello SPOSTAMENTO VERTICALE", "text"),
    ("Azzera SPOSTAMENTO VERTICALE", "push button"),
    ("SPOSTAMENTO ORIZZONTALE", "scroll bar"),
    ("valore dello SPOSTAMENTO ORIZZONTALE", "text"),
    ("Azzera SPOSTAMENTO ORIZZONTALE", "push button"),
    ("PUNTO da raggiungere con la CURVA, x", "text"),
    ("PUNTO da raggiungere con la CURVA, y", "text"),
    ("INCREMENTO DI ALFA, Verticale", "text"),
    ("INCREMENTO DI ALFA, Orizzontale", "text"),
    ("Incremento dei Punti-Curva", "text"),
    ("Curve Singole", "check box"),
}

TOOLS = ["Xvfb", "openbox", "xdotool", "xprop", "import", "dbus-daemon"]
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
PACKAGES = "xvfb, openbox, xdotool, x11-utils, imagemagick, dbus, at-spi2-core and python3-pyatspi"

# Generous for a loaded machine and a sanitized build: every wait polls.
WAIT_S = 30
POLL_S = 0.1
TWIPS_PER_PIXEL = 15

PR_SET_PDEATHSIG = 1
PR_SET_CHILD_SUBREAPER = 36
libc = ctypes.CDLL(None, use_errno=True)


class Failure(Exception):
    pass


def twips_centre(left, top, width, height):
    """The middle of a control placed in twips, in window pixels."""
    return ((2 * left + width) // (2 * TWIPS_PER_PIXEL),
            (2 * top + height) // (2 * TWIPS_PER_PIXEL))


def wait_until(condition, what, timeout=WAIT_S):
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"{what}: nothing after {timeout} s")
        time.sleep(POLL_S)


def die_with_parent():
    libc.prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


class Session:
    """The processes this test starts, stopped in the reverse order, each by its own pid."""

    def __init__(self, folder):
        self.processes = []
        # What the buses say goes here, to be shown only when something fails.
        self.log = open(folder / "buses.log", "w+", encoding="utf-8")
        self.env = {k: v for k, v in os.environ.items()
                    if k not in {"DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                                 "WAYLAND_DISPLAY", "LC_ALL", "LC_NUMERIC", "QT_QPA_PLATFORM"}}
        runtime = folder / "runtime"
        runtime.mkdir(mode=0o700)
        self.env["XDG_RUNTIME_DIR"] = str(runtime)
        self.env["HOME"] = str(folder / "home")
        for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"):
            self.env[name] = str(folder / "home" / name.lower())

    def start(self, command, env=None, **options):
        process = subprocess.Popen(command, env=env or self.env, stdin=subprocess.DEVNULL,
                                   preexec_fn=die_with_parent, **options)
        self.processes.append(process)
        return process

    def run(self, *command):
        return subprocess.run(command, env=self.env, capture_output=True, text=True,
                              timeout=WAIT_S).stdout

    def stop(self):
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(3)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        # Services that a bus started, and gave up as orphans, came back to this process.
        for _ in range(10):
            left = orphans()
            if not left:
                break
            for pid in left:
                stop_orphan(pid)
        self.log.close()

    def start_x(self):
        # The first display number from 120 up that nobody holds. Xvfb writes it back once it
        # accepts connections, or ends without a word when another server took it meanwhile.
        for number in range(120, 400):
            if (Path(f"/tmp/.X{number}-lock").exists()
                    or Path(f"/tmp/.X11-unix/X{number}").exists()):
                continue
            read, write = os.pipe()
            server = self.start(["Xvfb", f":{number}", "-displayfd", str(write), "-screen", "0",
                                 "1280x1024x24", "-noreset", "-nolisten", "tcp"],
                                pass_fds=(write,), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
            os.close(write)
            if read_line(read) == str(number):
                break
            server.wait()
            self.processes.remove(server)
        else:
            raise Failure("no X server could be started")
        self.env["DISPLAY"] = f":{number}"
        self.start(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(lambda: "window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                   "openbox on the root window")

    def start_buses(self):
        read, write = os.pipe()
        bus = self.start(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                          f"--address=unix:dir={self.env['XDG_RUNTIME_DIR']}",
                          f"--print-address={write}"], pass_fds=(write,),
                         stdout=subprocess.DEVNULL, stderr=self.log)
        os.close(write)
        address = read_line(read)
        if not address:
            raise Failure(f"the session bus did not start (status {bus.poll()})")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        # The launcher starts the accessibility bus and tells its address on the session bus
        # and on the root window, where both the program and this test look for it.
        launcher = self.start([BUS_LAUNCHER, "--launch-immediately", "--a11y=1"],
                              stdout=subprocess.DEVNULL, stderr=self.log)
        wait_until(lambda: launcher.poll() is not None or "AT_SPI_BUS" in
                   self.run("xprop", "-root", "AT_SPI_BUS"), "the accessibility bus")
        if launcher.poll() is not None:
            raise Failure(f"{BUS_LAUNCHER} ended with status {launcher.returncode}")


def read_line(fd):
    """The first line written to a pipe, or "" when none comes in time."""
    with os.fdopen(fd) as pipe:
        ready, _, _ = select.select([pipe], [], [], WAIT_S)
        return pipe.readline().strip() if ready else ""


def stop_orphan(pid):
    try:
        os.kill(pid, signal.SIGTERM)
        deadline = time.monotonic() + 3
        while os.waitpid(pid, os.WNOHANG)[0] != pid:
            if time.monotonic() > deadline:
                os.kill(pid, signal.SIGKILL)
                os.waitpid(pid, 0)
                return
            time.sleep(0.05)
    except (ProcessLookupError, ChildProcessError):
        pass


def orphans():
    mine = []
    for stat in Path("/proc").glob("[0-9]*/stat"):
        try:
            # The parent's pid follows the command's closing parenthesis.
            fields = stat.read_text().rpartition(")")[2].split()
        except OSError:
            continue
        if int(fields[1]) == os.getpid():
            mine.append(int(stat.parent.name))
    return mine


class Program:
    def __init__(self, session, path):
        self.session = session
        # Italian settings, as the program's users have them; accessibility on without a
        # desktop's settings service to turn it on.
        env = dict(session.env, LANG="it_IT.UTF-8", QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        Path(env["HOME"]).mkdir(exist_ok=True)
        self.process = session.start([path], env=env, stdout=subprocess.DEVNULL)

    def window(self, title):
        def visible():
            if self.process.poll() is not None:
                raise Failure(f"the program ended with status {self.process.returncode}")
            found = self.session.run("xdotool", "search", "--onlyvisible", "--name",
                                     f"^{title}$").split()
            return found[0] if found else None

        return wait_until(visible, f"a visible window {title}")

    def maximized(self, window):
        state = self.session.run("xprop", "-id", window, "_NET_WM_STATE")
        return "MAXIMIZED_VERT" in state and "MAXIMIZED_HORZ" in state

    def click(self, window, at):
        self.session.run("xdotool", "mousemove", "--window", window, str(at[0]), str(at[1]),
                         "click", "1")


def accessible_application(pyatspi, pid):
    def find():
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.clear_cache()
        for app in desktop:
            if app is not None and app.get_process_id() == pid:
                return app
        return None

    return wait_until(find, "the program on the accessibility bus")


def accessible_window(app, title):
    def find():
        app.clear_cache()
        return next((w for w in app if w is not None and w.name == title), None)

    return wait_until(find, f"the accessible window {title}")


def focusable_controls(pyatspi, window):
    found, pending = set(), [window]
    while pending:
        node = pending.pop()
        for child in node:
            if child is None:
                continue
            states = child.getState()
            if states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_SHOWING):
                found.add((child.name, child.getRoleName()))
            pending.append(child)
    return found


def scroll_position(pyatspi, window, name):
    for control in pyatspi.findAllDescendants(window, lambda a: a.name == name):
        return control.queryValue().currentValue
    return None


def walk(session, program_path):
    program = Program(session, program_path)
    # Only now does this process know which buses to read.
    os.environ.update({k: session.env[k] for k in
                       ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR")})
    import pyatspi

    form1 = program.window("Form1")
    app = accessible_application(pyatspi, program.process.pid)
    program.click(form1, twips_centre(10560, 4320, 1095, 1455))  # AVANTI

    form2 = program.window("Form2")
    wait_until(lambda: program.maximized(form2), "Form2 maximized")
    calibration = accessible_window(app, "Form2")
    # One step right of the start: a ratio of 0.55, above the lowest one accepted.
    bar = "barra di scorrimento della calibrazione"
    start = wait_until(lambda: scroll_position(pyatspi, calibration, bar), f"the bar \"{bar}\"")
    right_arrow = ((480 + 5895) // TWIPS_PER_PIXEL - 6, twips_centre(480, 1080, 5895, 255)[1])
    program.click(form2, right_arrow)
    wait_until(lambda: (scroll_position(pyatspi, calibration, bar) or start) > start,
               "the calibration bar one step right")
    program.click(form2, twips_centre(3120, 2880, 1575, 615))  # OK - continua

    form4 = program.window("Form4")
    curve = accessible_window(app, "Form4")
    found = set()

    def complete():
        nonlocal found
        app.clear_cache()
        found = focusable_controls(pyatspi, curve)
        return found >= EXPECTED

    # The tree fills in as the bridge hears of the window: wait for all, then say what differs.
    try:
        wait_until(complete, "the curve window's controls on the accessibility bus")
    except Failure:
        pass
    problems = [f"missing: {n!r} ({r})" for n, r in sorted(EXPECTED - found)]
    problems += [f"not expected: {n!r} ({r})" for n, r in sorted(found - EXPECTED)]
    if problems:
        raise Failure("the curve window's focusable controls differ:\n  " +
                      "\n  ".join(problems))
    print(f"Form4 {form4}: {len(found)} focusable controls, each with its name and role")


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    program_path = sys.argv[1]
    shots = Path(sys.argv[2]) if len(sys.argv) == 3 else None
    missing = [t for t in TOOLS if shutil.which(t) is None]
    if not os.access(BUS_LAUNCHER, os.X_OK):
        missing.append(BUS_LAUNCHER)
    try:
        import gi
        gi.require_version("Atspi", "2.0")
        if importlib.util.find_spec("pyatspi") is None:
            raise ImportError("pyatspi")
    except (ImportError, ValueError):
        missing.append("pyatspi")
    if missing:
        sys.exit(f"missing {', '.join(missing)}: scripts/install-deps.sh installs {PACKAGES}")
    if not os.access(program_path, os.X_OK):
        sys.exit(f"{program_path} has not been built")

    # Orphans of what this test starts become its children, so that it can stop them too; a
    # request to stop runs the same clean-up.
    libc.prctl(PR_SET_CHILD_SUBREAPER, 1)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
    with tempfile.TemporaryDirectory(prefix="screen-reader-") as folder:
        session = Session(Path(folder))
        try:
            session.start_x()
            session.start_buses()
            walk(session, program_path)
        except (Failure, subprocess.TimeoutExpired) as failure:
            if shots and "DISPLAY" in session.env:
                shot = shots / "screen-reader-fail.png"
                subprocess.run(["import", "-silent", "-window", "root", str(shot)],
                               env=session.env, timeout=WAIT_S)
                print(f"screenshot of the failure: {shot}", file=sys.stderr)
            session.log.seek(0)
            print(f"the buses said:\n{session.log.read()}FAIL: {failure}", file=sys.stderr)
            return 1
        finally:
            session.stop()
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
