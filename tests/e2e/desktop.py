"""Drives the editor from outside, the way a user does: a private X server,
the keyboard and the mouse through xdotool, window titles, and files on disk.

Every wait is bounded; a Session ends the editor and the X server whatever
happens inside it. Standard library only.
"""

import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WAIT = 20.0     # seconds for a window or a file to appear
POLL = 0.1
KEY_DELAY = 40  # milliseconds between keys: the editor handles each one


class Failure(Exception):
    """A step of a test did not give what the user should see."""


def log(text):
    print(text, flush=True)


def _stop(proc, grace=5.0):
    """Ends a process started in its own session, with all its children."""
    if proc is None or proc.poll() is not None:
        return
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            return
        try:
            proc.wait(timeout=grace)
            return
        except subprocess.TimeoutExpired:
            continue


class Session:
    """A temporary home, a private X server and, once started, the editor."""

    def __init__(self, name, editor, size="1280x1024", root=None):
        """root: a fixed folder to use (made anew) instead of a fresh temporary one."""
        for tool in ("Xvfb", "xdotool"):
            if shutil.which(tool) is None:
                raise Failure(f"{tool} is not installed (scripts/install-deps.sh installs it)")
        self.editor = editor
        if root is None:
            self.root = tempfile.mkdtemp(prefix=f"qv-{name}-")
        else:
            shutil.rmtree(root, ignore_errors=True)
            os.makedirs(root)
            self.root = root
        self.home = os.path.join(self.root, "home")
        self.saves = os.path.join(self.root, "saves")
        runtime = os.path.join(self.root, "runtime")
        for d in (self.home, self.saves, runtime):
            os.makedirs(d)
        os.chmod(runtime, 0o700)
        self.xvfb = None
        self.app = None
        self.app_log = os.path.join(self.root, "editor.log")
        self.display = self._start_x(size)
        self.env = self._environment(runtime)

    # -- set-up and tear-down ------------------------------------------------

    def _start_x(self, size):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{size}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + WAIT
        try:
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_end], [], [], left)[0]:
                    raise Failure("Xvfb did not report its display in time")
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise Failure("Xvfb ended before it reported its display")
                number += chunk
        finally:
            os.close(read_end)
        return ":" + number.decode().strip()

    def _environment(self, runtime):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "XDG_", "WAYLAND_", "XAUTHORITY"))}
        env.update({
            "DISPLAY": self.display,
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "XDG_STATE_HOME": os.path.join(self.home, ".local", "state"),
            "XDG_RUNTIME_DIR": runtime,
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
            # A plain look that does not depend on the desktop the tests run in.
            "QT_STYLE_OVERRIDE": "Fusion",
        })
        return env

    def close(self):
        _stop(self.app)
        _stop(self.xvfb)
        if os.environ.get("QV_KEEP_TEMP"):
            log(f"kept {self.root}")
        else:
            shutil.rmtree(self.root, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if exc[0] is not None and self.app is not None and os.path.exists(self.app_log):
            with open(self.app_log, errors="replace") as f:
                text = f.read().strip()
            if text:
                log("editor output:\n" + text)
        self.close()
        return False

    # -- the editor ------------------------------------------------------------

    def start(self, *args, extra_env=None):
        env = dict(self.env)
        env.update(extra_env or {})
        out = open(self.app_log, "ab")
        self.app = subprocess.Popen([self.editor, *args], env=env, cwd=self.home,
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                                    start_new_session=True)
        out.close()

    def running(self):
        return self.app is not None and self.app.poll() is None

    def wait_exit(self, timeout=WAIT):
        try:
            return self.app.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the editor was still running {timeout:.0f} s later") from None

    # -- X -------------------------------------------------------------------

    def xdo(self, *args, check=True):
        try:
            r = subprocess.run(["xdotool", *args], env=self.env, capture_output=True,
                               text=True, timeout=WAIT)
        except subprocess.TimeoutExpired:
            raise Failure(f"xdotool {' '.join(args)} did not return") from None
        if check and r.returncode != 0:
            raise Failure(f"xdotool {' '.join(args)} failed: {r.stderr.strip()}")
        return r.stdout

    def windows(self):
        """The visible top-level windows with a title: {window id: title}."""
        ids = self.xdo("search", "--onlyvisible", "--name", "", check=False).split()
        found = {}
        for wid in ids:
            r = subprocess.run(["xdotool", "getwindowname", wid], env=self.env,
                               capture_output=True, text=True, timeout=WAIT)
            if r.returncode == 0 and r.stdout.strip():
                found[wid] = r.stdout.rstrip("\n")
        return found

    def titles(self):
        return sorted(self.windows().values())

    def wait_window(self, title, timeout=WAIT):
        """Waits until a window with exactly this title is shown; its id."""
        deadline = time.monotonic() + timeout
        while True:
            if not self.running():
                raise Failure(f"the editor ended (code {self.app.returncode}) while "
                              f"waiting for the window {title!r}")
            for wid, name in self.windows().items():
                if name == title:
                    return wid
            if time.monotonic() > deadline:
                raise Failure(f"no window {title!r}; shown: {self.titles()}")
            time.sleep(POLL)

    def wait_gone(self, title, timeout=WAIT):
        deadline = time.monotonic() + timeout
        while title in self.windows().values():
            if time.monotonic() > deadline:
                raise Failure(f"the window {title!r} is still shown")
            time.sleep(POLL)

    def focus(self, wid):
        self.xdo("windowfocus", "--sync", wid)

    def key(self, *keys):
        self.xdo("key", "--delay", str(KEY_DELAY), *keys)
        self.settle()

    def type(self, text):
        self.xdo("type", "--delay", str(KEY_DELAY), text)
        self.settle()

    def replace_text(self, text):
        """Replaces the whole text of the focused box, as select-all and typing do."""
        self.key("ctrl+a")
        self.type(text)

    def click(self, wid, x, y):
        """A left click at x, y inside the window."""
        self.xdo("mousemove", "--window", wid, str(x), str(y))
        self.xdo("click", "1")
        self.settle()

    def geometry(self, wid):
        """(x, y, width, height) of the window on the screen."""
        values = {}
        for line in self.xdo("getwindowgeometry", "--shell", wid).splitlines():
            name, _, value = line.partition("=")
            values[name] = int(value)
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def settle(self):
        """Lets the editor handle what it was sent: a round trip through the
        X server and a short pause for the event loop."""
        time.sleep(0.15)

    def screenshot(self, wid, path):
        r = subprocess.run(["import", "-window", wid, path], env=self.env,
                           capture_output=True, text=True, timeout=WAIT)
        if r.returncode != 0:
            raise Failure(f"screenshot of {wid} failed: {r.stderr.strip()}")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def wait_file(path, predicate, what, timeout=WAIT):
    """Waits until the file's bytes satisfy predicate; raises with what."""
    deadline = time.monotonic() + timeout
    while True:
        data = read(path) if os.path.exists(path) else None
        if data is not None and predicate(data):
            return data
        if time.monotonic() > deadline:
            raise Failure(f"{os.path.basename(path)}: {what}")
        time.sleep(POLL)


def describe_difference(actual, expected, limit=12):
    if actual == expected:
        return "equal"
    parts = []
    if len(actual) != len(expected):
        parts.append(f"length {len(actual)}, expected {len(expected)}")
    diffs = [i for i in range(min(len(actual), len(expected))) if actual[i] != expected[i]]
    for i in diffs[:limit]:
        parts.append(f"@{i}: {actual[i]:#04x}, expected {expected[i]:#04x}")
    if len(diffs) > limit:
        parts.append(f"... {len(diffs) - limit} more")
    return "; ".join(parts)


def run_steps(steps):
    """Runs the test's steps in order, printing each; the exit code of the test."""
    passed = 0
    for name, step in steps:
        log(f"- {name}")
        try:
            step()
        except Failure as e:
            log(f"FAIL: {name}: {e}")
            log(f"{passed} passed, 1 failed")
            return 1
        except Exception as e:  # a tool or a library gave up: the step failed too
            log(f"FAIL: {name}: {type(e).__name__}: {e}")
            log(f"{passed} passed, 1 failed")
            return 1
        passed += 1
    log(f"{passed} passed, 0 failed")
    return 0


def under_private_bus():
    """Runs this script again inside a session bus of its own, with a temporary
    HOME, and gives its exit code; None when already inside it.

    The editor claims its automation name on the session bus, and the
    accessibility bus is found through it: neither may reach the bus of the
    desktop the tests run on. Whatever the bus started is ended afterwards."""
    if os.environ.get("QV_PRIVATE_BUS") == "1":
        return None
    if shutil.which("dbus-run-session") is None:
        raise Failure("dbus-run-session is not installed (scripts/install-deps.sh installs it)")
    root = tempfile.mkdtemp(prefix="qv-bus-")
    home = os.path.join(root, "home")
    os.makedirs(home)
    env = {k: v for k, v in os.environ.items()
           if k not in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS")}
    env.update({"HOME": home, "QV_PRIVATE_BUS": "1"})
    output = os.path.join(root, "output.log")
    bound = int(os.environ.get("QV_E2E_BOUND", "240"))
    with open(output, "wb") as out:
        proc = subprocess.Popen(["dbus-run-session", "--", sys.executable, *sys.argv],
                                env=env, stdin=subprocess.DEVNULL, stdout=out,
                                stderr=subprocess.STDOUT, start_new_session=True)
    timed_out = False
    try:
        code = proc.wait(timeout=bound + 30)
    except subprocess.TimeoutExpired:
        timed_out, code = True, 1
    finally:
        _stop(proc, grace=2.0)
        try:
            os.killpg(proc.pid, signal.SIGKILL)   # what the bus started, if still there
        except ProcessLookupError:
            pass
    with open(output, errors="replace") as f:
        sys.stdout.write(f.read())
    if timed_out:
        log("FAIL: the test did not end in time")
    shutil.rmtree(root, ignore_errors=True)
    return code


def main_guard(run):
    """Runs run() inside a private session bus and under an overall bound, so
    the test never hangs."""
    code = under_private_bus()
    if code is not None:
        sys.exit(code)

    def expired(*_):
        raise Failure("the test ran out of time")
    signal.signal(signal.SIGALRM, expired)
    signal.alarm(int(os.environ.get("QV_E2E_BOUND", "240")))
    try:
        code = run()
    except Failure as e:
        log(f"FAIL: {e}")
        code = 1
    finally:
        signal.alarm(0)
    sys.exit(code)
