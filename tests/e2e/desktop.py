"""Drives the editor from outside, as a user does: a private X server and session
bus, the keyboard and the mouse through xdotool, window titles, files on disk.

Every step waits for a state (a window shown or gone, the keyboard focus, the
bytes of a file), never for a fixed time; every wait is bounded. Standard
library only.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WAIT = 20.0   # seconds for a window, the focus or a file to become what is expected


class Failure(Exception):
    """A step did not give what the user should see."""


def log(text):
    print(text, flush=True)


def _stop(proc):
    """Ends a process started in a session of its own, and what it started."""
    if proc is not None:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.wait()


def wait_for(state, what, timeout=WAIT):
    """Polls state() until it gives a true value, which it returns."""
    deadline = time.monotonic() + timeout
    while True:
        value = state()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(what() if callable(what) else what)
        time.sleep(0.05)


class Session:
    """A temporary home with a saves folder, a private X server and, once
    started, the editor."""

    def __init__(self, name, editor, root=None):
        """root: a fixed folder to use (made anew) instead of a fresh temporary one."""
        self.editor, self.app = editor, None
        if root:
            shutil.rmtree(root, ignore_errors=True)
            os.makedirs(root)
        self.root = root or tempfile.mkdtemp(prefix=f"qv-{name}-")
        self.home, self.saves = (os.path.join(self.root, d) for d in ("home", "saves"))
        runtime = os.path.join(self.root, "runtime")
        for d in (self.home, self.saves, runtime):
            os.makedirs(d, mode=0o700)
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            display = f.readline().strip()   # Xvfb writes the number once it accepts clients
        if not display:
            raise Failure("Xvfb did not start")
        self.env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "XDG_", "WAYLAND_"))}
        self.env.update({"DISPLAY": ":" + display, "HOME": self.home, "XDG_RUNTIME_DIR": runtime,
                         "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
                         "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
                         "LANG": "C.UTF-8", "LC_ALL": "C.UTF-8", "QT_STYLE_OVERRIDE": "Fusion"})

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        _stop(self.app)
        _stop(self.xvfb)
        shutil.rmtree(self.root, ignore_errors=True)
        return False

    def start(self, *args):
        self.app = subprocess.Popen([self.editor, *args], env=self.env, cwd=self.home,
                                    stdin=subprocess.DEVNULL, start_new_session=True)

    def wait_exit(self):
        try:
            return self.app.wait(timeout=WAIT)
        except subprocess.TimeoutExpired:
            raise Failure("the editor did not end") from None

    def xdo(self, *args):
        r = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True, timeout=WAIT)
        return r.stdout if r.returncode == 0 else ""

    def windows(self):
        """The visible windows with a title: {window id: title}."""
        ids = self.xdo("search", "--onlyvisible", "--name", "").split()
        return {w: t for w in ids if (t := self.xdo("getwindowname", w).rstrip("\n"))}

    def wait_window(self, title):
        """Waits until a window with exactly this title is shown and gives it the
        keyboard, as a click on it would; its id."""
        def shown():
            if self.app.poll() is not None:
                raise Failure(f"the editor ended (code {self.app.returncode}) before {title!r} showed")
            return next((w for w, t in self.windows().items() if t == title), None)
        wid = wait_for(shown, lambda: f"no window {title!r}; shown: {sorted(self.windows().values())}")
        self.xdo("windowfocus", "--sync", wid)
        wait_for(lambda: self.xdo("getwindowfocus").strip() == wid, f"{title!r} did not get the keyboard")
        return wid

    def wait_gone(self, title):
        wait_for(lambda: title not in self.windows().values(), f"the window {title!r} is still shown")

    def key(self, *keys):
        self.xdo("key", *keys)

    def type(self, text, replace=False):
        """Types text into the focused box; replace: over its whole text."""
        if replace:
            self.key("ctrl+a")
        self.xdo("type", text)

    def click(self, wid, x, y):
        self.xdo("mousemove", "--window", wid, str(x), str(y), "click", "1")

    def geometry(self, wid):
        v = dict(line.split("=") for line in self.xdo("getwindowgeometry", "--shell", wid).split())
        return int(v["X"]), int(v["Y"]), int(v["WIDTH"]), int(v["HEIGHT"])


def read(path):
    with open(path, "rb") as f:
        return f.read()


def wait_file(path, expected, what):
    """Waits until the file holds exactly the expected bytes."""
    wait_for(lambda: os.path.exists(path) and read(path) == bytes(expected), what)


def run_steps(steps):
    """Runs the steps in order, printing each; the exit code of the test."""
    for n, (name, step) in enumerate(steps):
        log(f"- {name}")
        try:
            step()
        except Exception as e:  # noqa: BLE001 - any error fails the step
            log(f"FAIL: {name}: {type(e).__name__}: {e}")
            return 1
    log(f"{len(steps)} passed")
    return 0


def main_guard(run):
    """Runs run() again inside a session bus of its own (the editor claims its
    automation name there), under an overall bound; exits with its code."""
    if os.environ.get("QV_PRIVATE_BUS") != "1":
        env = {k: v for k, v in os.environ.items() if k != "DBUS_SESSION_BUS_ADDRESS"}
        env.update({"QV_PRIVATE_BUS": "1", "HOME": tempfile.mkdtemp(prefix="qv-bus-")})
        proc = subprocess.Popen(["dbus-run-session", "--", sys.executable, *sys.argv], env=env,
                                start_new_session=True)
        try:
            code = proc.wait(timeout=270)
        except subprocess.TimeoutExpired:
            log("FAIL: the test did not end in time")
            code = 1
        _stop(proc)
        shutil.rmtree(env["HOME"], ignore_errors=True)
        sys.exit(code)
    try:
        code = run()
    except Failure as e:
        log(f"FAIL: {e}")
        code = 1
    sys.exit(code)
