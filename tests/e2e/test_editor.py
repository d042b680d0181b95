#!/usr/bin/python3
"""The installed editor driven as a user drives it, with the keyboard and the
mouse: File, Open through the real file dialog, edits in the character panel,
Save, Set value of the Edit value tool, Rename Character with a refused name
and then a good one, and Exit without saving. Each step is checked on the bytes
of the files on disk against a model of the image the editor must hold."""

import argparse
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Failure, Session, main_guard, read, run_steps, wait_file  # noqa: E402

TITLE = "QUARVINEL"
# Tab stops of the main window from the first one (the difficulty list).
GOLD, SKILL_LEVEL, QUEST_STATE = 13, 15, 3
# Edit value is 236 x 80 dialog units; its Set value button 174, 24, 55 x 14.
TOOL_SIZE, SET_VALUE = (236, 80), (174, 24, 55, 14)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--fixture", required=True)
    opts = parser.parse_args()
    editor = os.path.join(opts.prefix, "bin", "brennicor")

    with Session("e2e", editor) as s:
        hero, zed = os.path.join(s.saves, "Hero.d2s"), os.path.join(s.saves, "Zed.d2s")
        expanded = os.path.join(s.root, "Hero.image")
        # Gold in the stash is left out of the file: the first save writes the
        # stat block the load completed.
        subprocess.run([opts.fixture, hero, "--expanded", expanded, "--name", "Aldric", "--gold", "1234",
                        "--without-stash"], check=True, timeout=60)
        original, image = read(hero), bytearray(read(expanded))
        companions = {".map": b"map of Aldric\n", ".key": b"key of Aldric\n"}
        for ext, data in companions.items():
            with open(os.path.join(s.saves, "Hero" + ext), "wb") as f:
                f.write(data)
        at = {"focus": 0, "main": None}

        def main_window(title):
            at["main"] = s.wait_window(title)

        def enter(stop, text):
            """Tabs from the main window's focus to a tab stop and types there."""
            steps = stop - at["focus"]
            s.key(*(["Tab"] * steps if steps > 0 else ["shift+Tab"] * -steps))
            at["focus"] = stop
            if text:
                s.type(text, replace=True)

        def unchanged(path, expected, what):
            if read(path) != bytes(expected):
                raise Failure(what)

        def start():
            s.start()
            main_window(TITLE)
            # The file through which the session bus starts the editor for an automation client.
            service = os.path.join(s.env["XDG_DATA_HOME"], "dbus-1", "services", "Brennicor.Application.service")
            if f"Exec={editor} -Automation" not in (read(service).decode() if os.path.exists(service) else ""):
                raise Failure(f"{service} does not start {editor}")

        def open_and_save_edits():
            s.key("alt+f", "o")
            s.wait_window("Open")
            s.type(hero)
            s.key("Return")
            main_window(f"{TITLE}: Hero.d2s")
            unchanged(hero, original, "opening wrote to the file")
            enter(GOLD, "4242")
            image[621:625] = (4242).to_bytes(4, "little")
            enter(SKILL_LEVEL, "7")
            image[631] = 7
            enter(QUEST_STATE, "")
            s.key("End")                      # the last state of Den of Evil: Done
            image[142:144] = b"\x07\x10"
            unchanged(hero, original, "the file changed before Save")
            s.key("alt+f", "s")
            wait_file(hero, image, "Save did not write exactly the edits and the completed stat block")

        def edit_value_tool():
            s.key("alt+e", "e")
            tool = s.wait_window("Edit value")   # the focus starts in Value; Offset follows
            s.key("Tab")
            s.type("40", replace=True)
            s.key("shift+Tab")
            s.type("77", replace=True)
            (units_w, units_h), (x, y, w, h) = TOOL_SIZE, SET_VALUE
            _, _, width, height = s.geometry(tool)
            s.click(tool, round((x + w / 2) * width / units_w), round((y + h / 2) * height / units_h))
            s.key("Escape")
            s.wait_gone("Edit value")
            main_window(f"{TITLE}: Hero.d2s")
            s.key("alt+f", "s")
            image[40] = 77
            wait_file(hero, image, "Set value did not reach the file")

        def rename():
            enter(GOLD, "6000")                # unsaved: the rename saves it first
            image[621:625] = (6000).to_bytes(4, "little")
            s.key("alt+e", *["Down"] * 5, "Return")   # Rename Character..., the sixth item
            s.wait_window("Rename My Character")
            s.type("Zed2")
            s.key("Return")
            s.wait_window("Rename Character")    # a digit is refused
            s.key("Return")
            s.wait_gone("Rename Character")
            s.wait_window("Rename My Character")
            s.type("Zed", replace=True)
            s.key("Return")
            main_window(f"{TITLE}: Zed.d2s")
            image[8:23] = b"Zed".ljust(15, b"\0")
            wait_file(zed, image, "the renamed character")
            for ext, data in companions.items():
                unchanged(os.path.join(s.saves, "Zed" + ext), data, f"Zed{ext} is not Hero{ext} moved")
            left = [f for f in os.listdir(s.saves) if f.startswith("Hero")]
            if left:
                raise Failure(f"left under the old name: {left}")

        def exit_without_saving():
            enter(GOLD, "7")
            s.key("alt+f", "x")
            if s.wait_exit() != 0:
                raise Failure("the editor did not end with code 0")
            unchanged(zed, image, "Exit saved the unsaved edit")

        return run_steps([
            ("start: the window is titled QUARVINEL and automation can find the editor", start),
            ("File, Open through the file dialog; gold, skill level and quest state; File, Save",
             open_and_save_edits),
            ("Edit value sets a byte, File, Save writes it", edit_value_tool),
            ("Rename Character refuses a digit, then renames the file and its companions", rename),
            ("File, Exit drops an unsaved edit", exit_without_saving),
        ])


if __name__ == "__main__":
    main_guard(main)
