#!/usr/bin/python3
"""What an install puts on the desktop: the launcher entry, the icon in every
size, the character file type that makes file managers offer the editor, the
software-centre description, the manual pages and the manual."""

import argparse
import configparser
import gzip
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Failure, log, read, run_steps  # noqa: E402

APP_ID = "org.quarvinel.Quarvinel"
MIME_TYPE = "application/x-diablo2-character"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def run(args, **kw):
    r = subprocess.run(args, capture_output=True, text=True, timeout=60, **kw)
    return r.returncode, r.stdout, r.stderr


def need_tool(name):
    if shutil.which(name) is None:
        raise Failure(f"{name} is not installed (scripts/install-deps.sh installs it)")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--fixture")
    parser.add_argument("--source", required=True)
    opts = parser.parse_args()
    share = os.path.join(opts.prefix, "share")
    desktop_file = os.path.join(share, "applications", APP_ID + ".desktop")
    metainfo_file = os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")

    def desktop_entry():
        if not os.path.isfile(desktop_file):
            raise Failure(f"no {desktop_file}")
        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(desktop_file, encoding="utf-8")
        e = entry["Desktop Entry"]
        # X11 windows carry the program's name as their class: docks match it.
        expected = {"Type": "Application", "Name": "QUARVINEL", "Exec": "brennicor %f",
                    "Icon": "quarvinel", "Terminal": "false", "StartupWMClass": "brennicor"}
        for key, value in expected.items():
            if e.get(key) != value:
                raise Failure(f"{key}={e.get(key)!r}, expected {value!r}")
        if MIME_TYPE not in e.get("MimeType", "").split(";"):
            raise Failure(f"MimeType={e.get('MimeType')!r} does not name {MIME_TYPE}")
        if not os.access(os.path.join(opts.prefix, "bin", "brennicor"), os.X_OK):
            raise Failure("the install did not put brennicor into bin/")
        need_tool("desktop-file-validate")
        code, out, err = run(["desktop-file-validate", desktop_file])
        if code != 0 or out.strip() or err.strip():
            raise Failure(f"desktop-file-validate: {out}{err}")

    def icons():
        for size in ICON_SIZES:
            path = os.path.join(share, "icons", "hicolor", f"{size}x{size}", "apps", "quarvinel.png")
            data = read(path) if os.path.isfile(path) else b""
            if data[:8] != b"\x89PNG\r\n\x1a\n":
                raise Failure(f"{path} is not a PNG")
            width, height = struct.unpack(">II", data[16:24])
            if (width, height) != (size, size):
                raise Failure(f"{path} is {width}x{height}")

    def file_type():
        # The databases a desktop builds from the installed files, built here in
        # a copy: *.d2s must be the character type, and the type must be offered
        # to the editor's launcher.
        need_tool("update-mime-database")
        need_tool("update-desktop-database")
        with tempfile.TemporaryDirectory() as tmp:
            shutil.copytree(os.path.join(share, "mime"), os.path.join(tmp, "mime"))
            shutil.copytree(os.path.join(share, "applications"), os.path.join(tmp, "applications"))
            code, out, err = run(["update-mime-database", os.path.join(tmp, "mime")],
                                 env=dict(os.environ, PKGSYSTEM_ENABLE_FSYNC="0"))
            if code != 0:
                raise Failure(f"update-mime-database: {err}")
            with open(os.path.join(tmp, "mime", "globs2"), encoding="utf-8") as f:
                globs = [line.strip().split(":") for line in f if not line.startswith("#")]
            if not any(g[1:3] == [MIME_TYPE, "*.d2s"] for g in globs if len(g) >= 3):
                raise Failure(f"globs2 does not map *.d2s to {MIME_TYPE}")
            code, out, err = run(["update-desktop-database", os.path.join(tmp, "applications")])
            if code != 0:
                raise Failure(f"update-desktop-database: {err}")
            with open(os.path.join(tmp, "applications", "mimeinfo.cache"), encoding="utf-8") as f:
                cache = f.read().splitlines()
            if f"{MIME_TYPE}={APP_ID}.desktop;" not in cache:
                raise Failure(f"mimeinfo.cache does not offer {APP_ID}.desktop for {MIME_TYPE}")

    def metainfo():
        root = ET.parse(metainfo_file).getroot()
        found = [root.findtext(p) for p in ("id", "launchable", "provides/mediatype")]
        if found != [APP_ID, APP_ID + ".desktop", MIME_TYPE]:
            raise Failure(f"metainfo names {found}")
        need_tool("appstreamcli")
        code, out, err = run(["appstreamcli", "validate", "--no-net", "--no-color", metainfo_file])
        if code != 0:
            raise Failure(f"appstreamcli validate: {out}{err}")

    def manual():
        for page in ("brennicor", "brennicor-cli", "brennicor-automation-client"):
            text = gzip.decompress(read(os.path.join(share, "man", "man1", page + ".1.gz"))).decode()
            if not text.startswith(".TH " + page.upper().replace("-", "\\-") + " 1"):
                raise Failure(f"no {page}(1) page")
        if not os.path.isfile(os.path.join(share, "bash-completion", "completions", "brennicor-cli")):
            raise Failure("no bash completion for brennicor-cli")
        service = read(os.path.join(share, "dbus-1", "services", "Brennicor.Application.service")).decode()
        if f"\nExec={opts.prefix}/bin/brennicor -Automation\n" not in service:
            raise Failure(f"the session bus's activation file does not start this install: {service}")
        readme = os.path.join(share, "doc", "quarvinel", "README.md")
        if read(readme) != read(os.path.join(opts.source, "README.md")):
            raise Failure(f"{readme} is not the project's README.md")
        shot = os.path.join(opts.source, "docs", "screenshots", "main.png")
        if os.path.exists(shot):
            installed = os.path.join(share, "doc", "quarvinel", "docs", "screenshots", "main.png")
            if not os.path.isfile(installed) or read(installed) != read(shot):
                raise Failure(f"{installed} is missing: the README's picture is not installed")

    return run_steps([
        ("desktop entry opens character files with brennicor", desktop_entry),
        ("icon in every size", icons),
        ("*.d2s is a character file and offered to the editor", file_type),
        ("software-centre description", metainfo),
        ("manual pages, completion, bus activation file and manual", manual),
    ])


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Failure as e:
        log(f"FAIL: {e}")
        sys.exit(1)
