#!/usr/bin/python3
"""Takes the pictures of the README: the main window with a character open,
its File menu, the About box, the rename dialog, the three raw tools, Character and
Mercenary and Items (the character's page, a mercenary's, and one read with a
folder of the game's .txt tables), each filled the way a user would fill it. Run through scripts/screenshots.sh."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from desktop import Failure, Session, log, main_guard, run_steps  # noqa: E402

# Sizes and controls of the raw tools in dialog units: a click finds a button
# from the dialog's size on the screen.
TOOL_SIZES = {"Edit value": (236, 80), "Find value": (236, 80), "Compare To": (276, 80)}
TOOL_CONTROLS = {
    ("Edit value", "Value"): (47, 26, 62, 13), ("Edit value", "Get value"): (174, 7, 55, 14),
    ("Edit value", "Set value"): (174, 24, 55, 14), ("Edit value", "Find a value..."): (174, 41, 55, 14),
    ("Find value", "Find"): (174, 7, 55, 14), ("Find value", "Find Next"): (174, 24, 55, 14),
    ("Find value", "Compare..."): (174, 41, 55, 14), ("Compare To", "Load..."): (214, 7, 55, 14),
    ("Compare To", "Find..."): (214, 24, 55, 14), ("Compare To", "Find Next"): (214, 41, 55, 14),
}
# Rename Character... is the sixth item of the Edit menu.
RENAME_KEYS = ["alt+e", "Down", "Down", "Down", "Down", "Down", "Return"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--editor", required=True)
    parser.add_argument("--fixture", required=True)
    parser.add_argument("--out", required=True)
    opts = parser.parse_args()
    os.makedirs(opts.out, exist_ok=True)

    # A fixed folder, so that the path the Compare tool shows is the same in
    # every run of the script.
    root = os.path.join(tempfile.gettempdir(), "quarvinel")
    with Session("screenshots", os.path.abspath(opts.editor), root=root) as s:
        hero = os.path.join(s.saves, "Aldric.d2s")
        other = os.path.join(s.saves, "Before.d2s")
        subprocess.run([opts.fixture, hero, "--name", "Aldric", "--class", "4",
                        "--gold", "48210", "--stash", "150000"], check=True, timeout=60)
        subprocess.run([opts.fixture, other, "--name", "Aldric", "--class", "4",
                        "--gold", "12000", "--stash", "150000"], check=True, timeout=60)
        title = "QUARVINEL: Aldric.d2s"
        state = {}

        def shoot(wid, name):
            path = os.path.join(opts.out, name)
            subprocess.run(["import", "-window", wid, path], env=s.env, check=True, timeout=60)
            log(f"  wrote {path}")

        def click(dialog, wid, control):
            units_w, units_h = TOOL_SIZES[dialog]
            _, _, width, height = s.geometry(wid)
            x, y, w, h = TOOL_CONTROLS[(dialog, control)]
            s.click(wid, round((x + w / 2) * width / units_w), round((y + h / 2) * height / units_h))

        def open_dialog(keys, dialog_title):
            s.xdo("windowfocus", "--sync", state["main"])
            s.key(*keys)
            wid = s.wait_window(dialog_title)
            s.xdo("windowfocus", "--sync", wid)
            return wid

        def close(wid, dialog_title):
            s.xdo("windowfocus", "--sync", wid)
            s.key("Escape")
            s.wait_gone(dialog_title)

        def main_window():
            s.start(hero)
            state["main"] = s.wait_window(title)
            s.xdo("windowfocus", "--sync", state["main"])
            time.sleep(0.5)  # let the window paint before the picture
            shoot(state["main"], "main.png")

        def file_menu():
            # The menu opens in a window of its own: the picture is the part
            # of the screen that holds the main window and the open menu.
            s.xdo("windowfocus", "--sync", state["main"])
            s.key("alt+f")
            time.sleep(0.5)
            x, y, width, height = s.geometry(state["main"])
            path = os.path.join(opts.out, "menu-file.png")
            subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage", path],
                           env=s.env, check=True, timeout=60)
            log(f"  wrote {path}")
            s.key("Escape")

        def about():
            wid = open_dialog(["alt+h", "a"], "About QUARVINEL")
            shoot(wid, "about.png")
            close(wid, "About QUARVINEL")

        def rename():
            wid = open_dialog(RENAME_KEYS, "Rename My Character")
            s.type("Zerkon")
            shoot(wid, "rename.png")
            close(wid, "Rename My Character")

        def edit_value():
            wid = open_dialog(["alt+e", "e"], "Edit value")
            s.key("Tab")
            s.type("621", replace=True)
            s.key("Tab")
            s.type("624", replace=True)
            shoot(wid, "edit-value.png")
            close(wid, "Edit value")

        def find_value():
            wid = open_dialog(["alt+e", "f"], "Find value")
            s.type("48210", replace=True)
            shoot(wid, "find-value.png")
            close(wid, "Find value")

        def compare():
            wid = open_dialog(["alt+e", "c"], "Compare To")
            click("Compare To", wid, "Load...")
            dialog = s.wait_window("Open")
            s.xdo("windowfocus", "--sync", dialog)
            s.type(other)
            s.key("Return")
            s.wait_gone("Open")
            s.xdo("windowfocus", "--sync", wid)
            click("Compare To", wid, "Find...")
            shoot(wid, "compare.png")
            close(wid, "Compare To")

        def leave():
            s.xdo("windowfocus", "--sync", state["main"])
            s.key("alt+f", "x")
            if s.wait_exit() != 0:
                raise Failure("the editor did not end cleanly")

        def character_and_mercenary():
            # A real file of the game: a hardcore character with a mercenary.
            real = os.path.join(s.saves, "NokkaSorc.d2s")
            shutil.copyfile(os.path.join(ROOT, "tests", "data", "v96_sorceress_level94.d2s"), real)
            s.start(real)
            state["main"] = s.wait_window("QUARVINEL: NokkaSorc.d2s")
            wid = open_dialog(["ctrl+m"], "Character and Mercenary")
            time.sleep(0.5)
            shoot(wid, "character-and-mercenary.png")
            close(wid, "Character and Mercenary")
            leave()

        def items(sample, name, saved, keys, game_data=False):
            # Items of a real file: Tab goes from the tabs to the body slots,
            # which choose their first item; keys then move on from there.
            # With game_data, a mod's folder of tables is the one remembered.
            settings = os.path.join(s.home, ".config", "quarvinel", "brennicor.conf")
            os.makedirs(os.path.dirname(settings), exist_ok=True)
            with open(settings, "w", encoding="utf-8") as f:
                if game_data:
                    folder = os.path.join(s.home, "MyMod", "data", "global", "excel")
                    shutil.copytree(os.path.join(ROOT, "tests", "data", "gamedata-1.14d"), folder, dirs_exist_ok=True)
                    f.write(f"[Items]\ngameDataFolder={folder}\n")
            real = os.path.join(s.saves, name)
            shutil.copyfile(os.path.join(ROOT, "tests", "data", sample), real)
            s.start(real)
            state["main"] = s.wait_window(f"QUARVINEL: {name}")
            wid = open_dialog(["ctrl+i"], "Items")
            if keys:
                s.key(*keys)
            time.sleep(0.5)
            shoot(wid, saved)
            close(wid, "Items")
            leave()

        return run_steps([
            ("main window with a character", main_window),
            ("File menu with its keys", file_menu),
            ("About box", about),
            ("rename dialog", rename),
            ("Edit value", edit_value),
            ("Find value", find_value),
            ("Compare", compare),
            ("exit", leave),
            ("Character and Mercenary", character_and_mercenary),
            ("Items, the character's", lambda: items("v96_sorceress_level94.d2s", "NokkaSorc.d2s",
                                                     "items-character.png", ["Tab", "Down", "Down"])),
            ("Items, the mercenary's", lambda: items("v98_sorceress_level66.d2s", "Velra.d2s",
                                                     "items-mercenary.png", ["Right", "Tab"])),
            ("Items, read with a mod's tables", lambda: items("v96_sorceress_level94.d2s", "NokkaSorc.d2s",
                                                             "items-game-data.png", ["Tab", "Down", "Down"],
                                                             game_data=True)),
        ])


if __name__ == "__main__":
    main_guard(main)
