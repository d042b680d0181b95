#!/usr/bin/python3
"""brennicor-cli and brennicor as a shell user meets them: exit statuses, one
error line per failure, read-only commands that go on past a bad file, --quiet,
the JSON against its published schema, and the bash completion."""

import argparse
import json
import os
import subprocess
import sys
import tempfile

import jsonschema

A = argparse.ArgumentParser()
for name in ("--cli", "--editor", "--fixture", "--source"):
    A.add_argument(name, required=True)
OPTS = A.parse_args()
FAILURES = []

# (what the user runs, status, lines on stdout (None: any), stderr lines)
MISSING = "brennicor-cli: nope.d2s: Failed to open document: No such file or directory"
CASES = [
    (["show", "Hero.d2s", "nope.d2s"], 1, None, [MISSING]),
    (["-q", "show", "Hero.d2s"], 0, [], []),
    (["get", "Hero.d2s", "nope.d2s", "34", "34"], 1, ["Hero.d2s: 1"], [MISSING]),
    (["find", "nope.d2s", "Hero.d2s", "48210"], 1, ["Hero.d2s: 621..622"], [MISSING]),
    (["get", "Short.d2s", "0", "0"], 1, [], ["brennicor-cli: Short.d2s: offset out of range"]),
    (["get", "Text.d2s", "0", "0"], 0, ["72"], []),  # the raw tools read any file
    (["find", "V100.d2s", "100"], 0, ["4..4"], []),
    (["diff", "V100.d2s", "Text.d2s"], 1, None, []),
    (["show", "NoItems.d2s"], 0, None, []),  # version 87 has a least size of its own
    (["diff", "Hero.d2s", "Hero.d2s"], 0, [], []),
    (["diff", "Hero.d2s", "Other.d2s"], 1, None, []),
    (["--quiet", "diff", "Hero.d2s", "Other.d2s"], 1, [], []),
    (["diff", "Hero.d2s", "nope.d2s"], 2, [], [MISSING]),
    (["set", "Hero.d2s", "golld=5"], 2, [], ["brennicor-cli: unknown field \"golld\". "
                                            "See 'brennicor-cli set --help'."]),
    (["show", "-x", "Hero.d2s"], 2, [], ["brennicor-cli: Unknown option 'x'. Try 'brennicor-cli show --help'."]),
    (["show", "--", "-q"], 1, [], ["brennicor-cli: -q: Failed to open document: No such file or directory"]),
    (["restore", "Other.d2s"], 1, [], ["brennicor-cli: Other.d2s: Failed to open document. "]),  # no Other.bak
]


def check(what, ok, detail=""):
    if not ok:
        FAILURES.append(f"{what}: {detail}")


def run(args, cwd, env=None):
    r = subprocess.run(args, cwd=cwd, capture_output=True, text=True, timeout=60, env=env)
    return r.returncode, r.stdout.splitlines(), r.stderr.splitlines()


def main():
    with tempfile.TemporaryDirectory() as d:
        def fixture(name, *args):
            subprocess.run([OPTS.fixture, os.path.join(d, name), "--name", "Hero", *args], check=True)
        fixture("Hero.d2s", "--class", "1", "--gold", "48210")
        fixture("Other.d2s", "--class", "1", "--gold", "48211")
        fixture("Odd.d2s", "--class", "7", "--without-stash")
        with open(os.path.join(d, "Short.d2s"), "wb") as f:  # version 71, cut before its skills
            f.write(bytes.fromhex("55aa55aa47000000") + bytes(292))
        with open(os.path.join(d, "Text.d2s"), "wb") as f:
            f.write(b"Hello\n")
        with open(os.path.join(d, "V100.d2s"), "wb") as f:  # a first save's header, of a version not known
            f.write(bytes.fromhex("55aa55aa64000000") + bytes(327))
        with open(os.path.join(OPTS.source, "tests", "data", "v87_barbarian_new.d2s"), "rb") as f:
            no_items = f.read()[:641] + b"JM\0\0JM\0\0"  # a 1.07 character with empty item lists
        with open(os.path.join(d, "NoItems.d2s"), "wb") as f:
            f.write(no_items)
        before = {n: open(os.path.join(d, n), "rb").read() for n in os.listdir(d)}

        for args, status, out, err in CASES:
            code, stdout, stderr = run([OPTS.cli, *args], d)
            what = " ".join(args)
            check(what, code == status, f"status {code}, expected {status}")
            check(what, out is None or stdout == out, f"stdout {stdout}")
            check(what, len(stderr) == len(err) and all(e.startswith(x) for e, x in zip(stderr, err)),
                  f"stderr {stderr}")
            # One form: the program's name once, at the start of the line.
            check(what, all(e.count("brennicor-cli") == 1 + e.count("brennicor-cli set --help")
                            + e.count("show --help") for e in stderr), f"stderr {stderr}")
        after = {n: open(os.path.join(d, n), "rb").read() for n in os.listdir(d)}
        check("nothing written", before == after)

        # Real output is valid against the published schemas: an ordinary file, one with a class
        # byte of no class and the stash left out, and every real file in tests/data, shown and its items.
        data = os.path.join(OPTS.source, "tests", "data")
        real = sorted(os.path.join(data, n) for n in os.listdir(data) if n.endswith(".d2s"))  # the first save: a held object
        shown = json.loads("\n".join(run([OPTS.cli, "show", "--json", "Hero.d2s", "Odd.d2s", *real], d)[1]))
        items = json.loads("\n".join(run([OPTS.cli, "items", "--json", *real], d)[1]))
        for output, name in ((shown, "cli-json"), (items, "cli-items-json")):
            schema = json.load(open(os.path.join(OPTS.source, "docs", name + ".schema.json")))
            try:
                jsonschema.validate(output, schema, cls=jsonschema.Draft202012Validator)
            except jsonschema.ValidationError as e:
                check(name + " against its schema", False, e.message)
        check("JSON of Hero", [shown[0][k] for k in ("class", "classByte", "absentFromFile")]
              == ["Sorceress", 1, []], shown[0])
        check("JSON of a class byte of no class", [shown[1][k] for k in ("class", "classByte", "absentFromFile")]
              == [None, 7, ["goldInStash"]], shown[1])

        # The completion offers the commands and the fields of set.
        completion = os.path.join(OPTS.source, "packaging", "brennicor-cli.bash")
        for words, expected in ((["sh"], ["show"]), (["set", "Hero.d2s", "go"], ["gold=", "goldInStash="]),
                                (["show", "--j"], ["--json"]), (["show", "He"], ["Hero.d2s"])):
            script = (f'source "{completion}"; COMP_WORDS=("{OPTS.cli}" {" ".join(words)}); '
                      f'COMP_CWORD={len(words)}; _brennicor_cli; printf "%s\\n" "${{COMPREPLY[@]}}"')
            code, stdout, _ = run(["bash", "-c", script], d)
            check(f"completion of {words}", stdout == expected, stdout)

        # The editor answers help and version and refuses a wrong command line
        # before it needs a display, and writes no activation file then.
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env["XDG_DATA_HOME"] = os.path.join(d, "data")
        for args, status, out, err in ((["--help"], 0, "Usage: brennicor [OPTION]... [FILE]", ""),
                                       (["Hero.d2s", "-h"], 0, "-Automation, /Automation", ""),
                                       (["--version"], 0, " (Quarvinel version beta 0.015)", ""),
                                       (["Hero.d2s", "--bogus=3"], 2, "", "brennicor: unknown option '--bogus'"),
                                       (["-Automate"], 2, "", "'-Automate'"),
                                       (["a.d2s", "b.d2s"], 2, "", "'b.d2s'")):
            code, stdout, stderr = run([OPTS.editor, *args], d, env)
            check(f"brennicor {' '.join(args)}", code == status and out in "\n".join(stdout)
                  and (err in "\n".join(stderr) if status else not stderr)
                  and (not status or "Usage: brennicor [OPTION]... [FILE]" in stderr),
                  (code, stdout, stderr))
        check("a refused start writes no activation file", not os.path.exists(os.path.join(d, "data")))

    for failure in FAILURES:
        print("FAIL:", failure)
    return 1 if FAILURES else 0


sys.exit(main())
