#!/usr/bin/python3
"""The installed editor started for automation serves a client (the installed
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
            ("-Automation: Esc only hides the window, a release ends the editor",
             lambda: held("-Automation", ["Escape"], "release")),
            ("/embedding: File, Exit only hides the window; a client that leaves ends the editor",
             lambda: held("/embedding", ["alt+f", "x"], "leave")),
        ])


if __name__ == "__main__":
    main_guard(main)
