"""Driving the real program on a private X display and a private session bus.

Index
  1. Tools, skipping and the private bus
  2. Session: the display, the folders, the program
  3. The control tree (orvane --inspect)
  4. Input: clicks and keys (xdotool)
  5. Waiting, windows, screenshots, the settings database
  6. Running a script's tests

A script imports this module, defines functions named test_* that take a
Session, and ends with `orvane_e2e.main(globals())`. A test that cannot run
here raises Skipped with the reason. Each test gets a fresh
Xvfb, bus and data folders; nothing of the user's is read or written.
Python standard library only.
"""

import argparse
import os
import re
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time
import traceback

SKIP = 77  # CTest's SKIP_RETURN_CODE for these scripts
BUS_MARK = "ORVANE_E2E_PRIVATE_BUS"

# --- 1. Tools, skipping and the private bus ---------------------------------------


def missing_tool(bin_dir):
    """The reason the suite cannot run here, or None when it can."""
    for tool, package in (("Xvfb", "xvfb"), ("xdotool", "xdotool"), ("dbus-run-session", "dbus")):
        if shutil.which(tool) is None:
            return f"{tool} is not installed (scripts/install-deps.sh installs {package})"
    program = os.path.join(bin_dir, "orvane")
    if not os.access(program, os.X_OK):
        return f"the program is not built: {program}"
    return None


def skip(reason):
    print(f"SKIP: {reason}")
    sys.exit(SKIP)


def ensure_private_bus():
    """Runs this script again inside its own session bus (dbus-run-session),
    so the tray icon and portal calls never reach the user's desktop."""
    if os.environ.get(BUS_MARK) == "1":
        return
    env = dict(os.environ, **{BUS_MARK: "1"})
    argv = ["dbus-run-session", "--", sys.executable] + sys.argv
    os.execvpe(argv[0], argv, env)


# --- 2. Session --------------------------------------------------------------------


class E2EFailure(AssertionError):
    pass


class Skipped(Exception):
    """Raised by a test that cannot run here; the reason is printed."""


class Session:
    """One private X server, one set of XDG folders, and the programs started
    on them. Use as a context manager; everything ends with it."""

    def __init__(self, bin_dir, artifacts, name, width=1920, height=1080):
        self.bin_dir = bin_dir
        self.artifacts = artifacts
        self.name = name
        self.width, self.height = width, height
        self.tmp = tempfile.mkdtemp(prefix="orvane-e2e-")
        self.procs = []
        self.xvfb = None
        self.display = None

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        # -displayfd: the server picks a free display number and writes it.
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{self.width}x{self.height}x24",
             "-noreset", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip().isdigit():
            self.__exit__(None, None, None)
            raise E2EFailure("Xvfb did not report its display")
        self.display = ":" + number.strip().decode()
        for folder in ("data", "config", "home", "runtime"):
            os.makedirs(os.path.join(self.tmp, folder), mode=0o700)
        os.makedirs(self.artifacts, exist_ok=True)
        return self

    def __exit__(self, *exc):
        for proc in reversed(self.procs):
            end_process(proc)
        if self.xvfb is not None:
            end_process(self.xvfb)
        shutil.rmtree(self.tmp, ignore_errors=True)
        return False

    def env(self):
        env = dict(os.environ)
        for key in ("ORVANE_LOG", "WAYLAND_DISPLAY"):
            env.pop(key, None)
        env.update({
            "DISPLAY": self.display,
            "SDL_VIDEODRIVER": "x11",
            "ORVANE_HEADLESS": "0",
            "HOME": os.path.join(self.tmp, "home"),
            "XDG_DATA_HOME": os.path.join(self.tmp, "data"),
            "XDG_CONFIG_HOME": os.path.join(self.tmp, "config"),
            "XDG_RUNTIME_DIR": os.path.join(self.tmp, "runtime"),
        })
        return env

    def program(self):
        return os.path.join(self.bin_dir, "orvane")

    def start(self, *args):
        """Starts the program with the arguments; it ends with the session."""
        log = open(os.path.join(self.tmp, f"orvane-{len(self.procs)}.log"), "wb")
        proc = subprocess.Popen([self.program(), *args], env=self.env(), stdout=log, stderr=subprocess.STDOUT)
        log.close()
        self.procs.append(proc)
        return proc

    def run(self, *args, timeout=10):
        """Runs the program to its end (a command, or a second start)."""
        return subprocess.run([self.program(), *args], env=self.env(), capture_output=True, text=True,
                              timeout=timeout)

    def data_folder(self):
        return os.path.join(self.tmp, "data", "Orvane Files")

    def program_log(self, index=0):
        try:
            with open(os.path.join(self.tmp, f"orvane-{index}.log"), "rb") as f:
                return f.read().decode(errors="replace")
        except OSError:
            return ""


def end_process(proc):
    if proc.poll() is not None:
        return
    proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(timeout=3)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()


# --- 3. The control tree ---------------------------------------------------------

LINE = re.compile(
    r"^(?P<indent> *)id=(?P<id>\d+) class=(?P<cls>\S+)(?: name=(?P<name>\S+))?(?: area=1)? path=(?P<path>\S+)"
    r" pos=(?P<x>-?\d+),(?P<y>-?\d+) size=(?P<w>\d+)x(?P<h>\d+) visible=(?P<visible>\d) shown=(?P<shown>\d)"
    r" enabled=(?P<enabled>\d) state=(?P<state>.*?) text=\"(?P<text>(?:[^\"\\]|\\.)*)\"$")
WINDOW = re.compile(r"^window class=(?P<cls>\S+) title=\"(?P<title>(?:[^\"\\]|\\.)*)\" pos=(?P<x>-?\d+),(?P<y>-?\d+)"
                    r" size=(?P<w>\d+)x(?P<h>\d+) visible=(?P<visible>\d) enabled=(?P<enabled>\d)")


def unquote(text):
    return re.sub(r"\\(x[0-9A-F]{2}|.)",
                  lambda m: chr(int(m.group(1)[1:], 16)) if m.group(1).startswith("x") and len(m.group(1)) == 3
                  else {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)


class Control:
    def __init__(self, m):
        self.id = int(m["id"])
        self.cls = m["cls"]
        self.path = m["path"]
        self.x, self.y, self.w, self.h = int(m["x"]), int(m["y"]), int(m["w"]), int(m["h"])
        self.visible = m["visible"] == "1"
        self.shown = m["shown"] == "1"
        self.enabled = m["enabled"] == "1"
        self.state = m["state"]
        self.text = unquote(m["text"])

    def centre(self):
        return self.x + self.w // 2, self.y + self.h // 2

    def tabs(self):
        """A tab strip's tabs: {tab id: (x, y, w, h) on the screen}."""
        tabs = {}
        for tab_id, dx, dy, w, h in re.findall(r";tab(\d+)=(-?\d+),(-?\d+),(\d+)x(\d+)", self.state):
            tabs[int(tab_id)] = (self.x + int(dx), self.y + int(dy), int(w), int(h))
        return tabs

    def selected(self):
        m = re.match(r"selected:(-?\d+)", self.state)
        return int(m.group(1)) if m else None

    def __repr__(self):
        return f"<{self.cls} {self.path} {self.x},{self.y} {self.w}x{self.h} shown={int(self.shown)} {self.text!r}>"


class Tree:
    def __init__(self, text):
        self.text = text
        lines = text.splitlines()
        head = WINDOW.match(lines[0]) if lines else None
        if head is None:
            raise E2EFailure(f"not a control tree: {text[:200]!r}")
        self.window = head.groupdict()
        self.title = unquote(head["title"])
        self.controls = []
        for line in lines[1:]:
            m = LINE.match(line)
            if m:
                self.controls.append(Control(m))

    def find_all(self, id=None, path=None, cls=None, text=None, shown=None):
        return [c for c in self.controls
                if (id is None or c.id == id) and (path is None or c.path == path)
                and (cls is None or c.cls == cls) and (text is None or c.text == text)
                and (shown is None or c.shown == shown)]

    def find(self, **what):
        found = self.find_all(**what)
        if len(found) != 1:
            raise E2EFailure(f"{len(found)} controls match {what}")
        return found[0]


def inspect(session):
    """The running program's control tree, or None while it has none."""
    result = session.run("--inspect")
    if result.returncode != 0:
        return None
    return Tree(result.stdout)


def wait_for_tree(session, condition=lambda tree: True, what="the control tree", timeout=10):
    """The first control tree for which condition holds."""
    found = [None]

    def check():
        tree = inspect(session)
        if tree is not None and condition(tree):
            found[0] = tree
            return True
        return False

    wait_until(check, what, timeout)
    return found[0]


# --- 4. Input ----------------------------------------------------------------------


def xdotool(session, *args, check=True):
    return subprocess.run(["xdotool", *args], env=session.env(), capture_output=True, text=True, check=check,
                          timeout=10)


DOUBLE_CLICK_S, DOUBLE_CLICK_SLOP = 0.5, 2  # the toolkit's double-click time and box


def click_at(session, x, y, button=1):
    """One deliberate click. A second click on the same spot within the
    double-click time would be the second half of a double click, which
    is not what a script means: it waits that time out first."""
    last = getattr(session, "last_click", None)
    if last and abs(last[1] - x) <= DOUBLE_CLICK_SLOP and abs(last[2] - y) <= DOUBLE_CLICK_SLOP:
        time.sleep(max(0.0, last[0] + DOUBLE_CLICK_S + 0.1 - time.monotonic()))
    # Moving first gives the control its hover state, as a hand on the mouse does.
    xdotool(session, "mousemove", str(x), str(y))
    xdotool(session, "mousemove", str(x), str(y), "click", str(button))
    session.last_click = (time.monotonic(), x, y)


def click(session, control):
    click_at(session, *control.centre())


def click_tab(session, tree, tab_id):
    strip = tree.find(cls="MTabCtrl", shown=True)
    tabs = strip.tabs()
    if tab_id not in tabs:
        raise E2EFailure(f"no tab {tab_id} in {strip.state}")
    x, y, w, h = tabs[tab_id]
    click_at(session, x + w // 2, y + h // 2)


def key(session, *names):
    """Key presses by X keysym name: "Return", "ctrl+a", "F1"."""
    xdotool(session, "key", "--clearmodifiers", *names)


def type_text(session, text):
    xdotool(session, "type", "--delay", "20", text)


# --- 5. Waiting, windows, screenshots, the settings database ----------------------


def wait_until(condition, what, timeout=10, interval=0.05):
    """Waits for condition() to hold; a loaded machine is slow, so scripts
    wait for what they expect instead of sleeping a fixed time."""
    deadline = time.monotonic() + timeout
    while True:
        if condition():
            return
        if time.monotonic() >= deadline:
            raise E2EFailure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def windows(session, name, visible=True):
    """Ids of the top-level windows whose title is exactly name."""
    args = ["search"] + (["--onlyvisible"] if visible else []) + ["--name", "^" + re.escape(name) + "$"]
    result = xdotool(session, *args, check=False)
    return [w for w in result.stdout.split() if w.isdigit()]


def geometry(session, window):
    """(x, y, width, height) of a window on the screen."""
    out = xdotool(session, "getwindowgeometry", "--shell", window).stdout
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def screenshot(session, label):
    """The whole screen into the artifacts folder; returns the file's path
    (None when ImageMagick's import is not installed)."""
    if shutil.which("import") is None:
        return None
    path = os.path.join(session.artifacts, f"{session.name}-{label}.png")
    subprocess.run(["import", "-window", "root", path], env=session.env(), capture_output=True, timeout=20)
    return path


def query(session, database, sql, params=()):
    """Rows from one of the program's settings databases, read-only."""
    path = os.path.join(session.data_folder(), "db", database)
    if not os.path.exists(path):
        raise E2EFailure(f"no database {path}")
    uri = "file:" + path.replace("?", "%3f").replace("#", "%23") + "?mode=ro"
    con = sqlite3.connect(uri, uri=True, timeout=5)
    try:
        return con.execute(sql, params).fetchall()
    finally:
        con.close()


def databases(session):
    folder = os.path.join(session.data_folder(), "db")
    return sorted(f for f in os.listdir(folder) if f.endswith(".db")) if os.path.isdir(folder) else []


def config_value(session, database, profile, name):
    rows = query(session, database, "SELECT value FROM t_configdata WHERE profile = ? AND key = ?",
                 (profile, name))
    return rows[-1][0] if rows else None


def check(condition, message):
    if not condition:
        raise E2EFailure(message)


# --- 6. Running a script's tests ------------------------------------------------------


def main(namespace):
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True, help="the build's bin folder (orvane and its data)")
    parser.add_argument("--artifacts", required=True, help="where screenshots are kept")
    parser.add_argument("-k", default="", help="run only tests whose name contains this")
    args = parser.parse_args()
    reason = missing_tool(args.bin)
    if reason:
        skip(reason)
    ensure_private_bus()

    tests = [(name, fn) for name, fn in namespace.items() if name.startswith("test_") and callable(fn)]
    tests = [(name, fn) for name, fn in tests if args.k in name]
    script = os.path.splitext(os.path.basename(namespace.get("__file__", "e2e")))[0]
    failed = skipped = 0
    for name, fn in tests:
        started = time.monotonic()
        try:
            with Session(args.bin, args.artifacts, f"{script}.{name}") as session:
                try:
                    fn(session)
                except Skipped:
                    raise
                except Exception:
                    screenshot(session, "failure")
                    log = session.program_log()
                    if log:
                        print(f"--- program output ({name}) ---\n{log[-3000:]}")
                    raise
            print(f"ok   {name} ({time.monotonic() - started:.1f} s)")
        except Skipped as reason:
            skipped += 1
            print(f"SKIP {name}: {reason}")
        except Exception:
            failed += 1
            print(f"FAIL {name}")
            traceback.print_exc(file=sys.stdout)
    print(f"{len(tests) - failed - skipped} of {len(tests)} passed, {skipped} skipped")
    if failed or not tests:
        sys.exit(1)
    # CTest shows a script as skipped only when all of it was.
    sys.exit(SKIP if skipped == len(tests) else 0)
