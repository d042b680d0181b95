#!/usr/bin/python3
"""The installed editor's command line and automation: --help and --version
answer without a display, a wrong command line is refused before the editor
starts, and an editor started for automation serves a client (the installed
brennicor-automation-client), only hides when its window is closed while held,
and ends when the client lets go or leaves."""

import argparse
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import WAIT, Failure, Session, main_guard, run_steps  # noqa: E402

NOT_HOLDER = "Brennicor.Error.NotHolder"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--fixture")
    opts = parser.parse_args()
    editor = os.path.join(opts.prefix, "bin", "brennicor")
    client_program = os.path.join(opts.prefix, "bin", "brennicor-automation-client")

    with Session("automation", editor) as s:
        service = os.path.join(s.env["XDG_DATA_HOME"], "dbus-1", "services", "Brennicor.Application.service")

        def command_line():
            no_display = {k: v for k, v in s.env.items() if k != "DISPLAY"}
            rows = [(["--help"], 0, "Usage: brennicor [OPTION]... [FILE]\n", ""),
                    (["Hero.d2s", "-h"], 0, "-Automation, /Automation", ""),
                    (["--version"], 0, "brennicor ", ""),
                    (["--automation"], 2, "", "unknown option '--automation'"),
                    (["-Automate"], 2, "", "'-Automate'"),
                    (["a.d2s", "b.d2s"], 2, "", "'b.d2s'")]
            for args, code, out, err in rows:
                platform = "offscreen" if code else "xcb"   # help and version need no display at all
                r = subprocess.run([editor, *args], env={**no_display, "QT_QPA_PLATFORM": platform}, cwd=s.home,
                                   capture_output=True, text=True, timeout=WAIT)
                if r.returncode != code or out not in r.stdout or err not in r.stderr or (code and "--help" not in r.stderr):
                    raise Failure(f"brennicor {' '.join(args)}: code {r.returncode}, {r.stdout!r}, {r.stderr!r}")
            if os.path.exists(service):
                raise Failure("a refused start wrote the activation file")

        def held(option, close, end):
            s.start(option)
            s.wait_window("QUARVINEL")
            client = subprocess.Popen([client_program], env=s.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                      text=True, start_new_session=True)
            name, path, pid = (client.stdout.readline().split() + ["", "", "0"])[:3]
            if int(pid) != s.app.pid:
                raise Failure(f"the client holds {name} {path} of process {pid}, not the editor started")
            s.key(*close)
            s.wait_gone("QUARVINEL")
            # The editor still answers on the bus: a release from another connection is refused.
            r = subprocess.run(["gdbus", "call", "--session", "--dest", name, "--object-path", path,
                                "--method", "Brennicor.Application.Release"], env=s.env,
                               capture_output=True, text=True, timeout=WAIT)
            if NOT_HOLDER not in r.stderr or s.app.poll() is not None:
                raise Failure(f"after the close, a stranger's release gave {r.stderr.strip()!r}")
            out, _ = client.communicate(end + "\n", timeout=WAIT)
            if client.returncode != 0 or (end == "release" and out.strip() != "released"):
                raise Failure(f"the client ended with {client.returncode}: {out!r}")
            if s.wait_exit() != 0:
                raise Failure("the editor did not end with code 0 once let go")
            if os.path.exists(service):
                raise Failure("a start for automation wrote the activation file")

        return run_steps([
            ("the command line without a window", command_line),
            ("-Automation: Esc only hides the window, a release ends the editor",
             lambda: held("-Automation", ["Escape"], "release")),
            ("/embedding: File, Exit only hides the window; a client that leaves ends the editor",
             lambda: held("/embedding", ["alt+f", "x"], "leave")),
        ])


if __name__ == "__main__":
    main_guard(main)
