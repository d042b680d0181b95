#!/usr/bin/python3
"""The installed editor from end to end, driven as a user drives it.

A private X server, a temporary home, and the program from the install prefix.
Everything goes through the keyboard and the mouse: File, Open and the real
file dialog, edits in the character panel, the skill row and the quest group,
Save, Backup, Restore, Reload, the three raw tools chained as the Edit menu
offers them, Rename Character with its dialog and its refusal, and Exit. Each
step is checked on the bytes of the files on disk or on the window titles;
message boxes are found by their captions.

The test keeps a model of the character image the editor must hold: the
fixture builder's expanded image, changed by every edit the test makes.
"""

import argparse
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (Failure, Session, describe_difference, main_guard, read,  # noqa: E402
                     run_steps, wait_file)

TITLE = "QUARVINEL"

# Fields of the character file the test edits (offset of the first byte, width).
CHAR_NAME = (8, 15)
GOLD = (621, 4)
SKILL_0 = (631, 1)
DEN_OF_EVIL_NORMAL = (142, 2)   # the quest word of Normal, Act 1, first quest
QUEST_DONE = bytes([0x07, 0x10])

# The tab order of the main window: the visual order, row by row, left to right.
MAIN_TAB_ORDER = [
    "difficulty", "act", "quest", "quest state",
    "difficulty open", "act open", "waypoint", "waypoint active",
    "name", "class",
    "experience", "level from experience", "level",
    "gold", "skill", "skill level",
    "gold in stash", "skill points to add",
    "strength", "attribute points to add",
    "dexterity", "maximum stamina", "stamina",
    "vitality", "maximum health", "health",
    "energy", "maximum mana", "mana",
]

# Controls of the raw tools in dialog units, and each dialog's size.
TOOL_SIZES = {"Edit value": (236, 80), "Find value": (236, 80), "Compare To": (276, 80)}
TOOL_CONTROLS = {
    ("Edit value", "Value"): (47, 26, 62, 13),
    ("Edit value", "Get value"): (174, 7, 55, 14),
    ("Edit value", "Set value"): (174, 24, 55, 14),
    ("Edit value", "Find a value..."): (174, 41, 55, 14),
    ("Find value", "Find"): (174, 7, 55, 14),
    ("Find value", "Find Next"): (174, 24, 55, 14),
    ("Find value", "Compare..."): (174, 41, 55, 14),
    ("Compare To", "Load..."): (214, 7, 55, 14),
    ("Compare To", "Find..."): (214, 24, 55, 14),
    ("Compare To", "Find Next"): (214, 41, 55, 14),
}


def le(value, width):
    return value.to_bytes(width, "little")


def find_value(image, value):
    """Where the Find value tool must find value first: the lowest offset, and
    at one offset the narrowest of 1 to 4 bytes."""
    for i in range(len(image)):
        for width in range(1, 5):
            if i + width <= len(image) and int.from_bytes(image[i:i + width], "little") == value:
                return i, i + width - 1
    return None


class Editor:
    """The running editor seen from outside, with the image it must hold."""

    def __init__(self, session):
        self.s = session
        self.main = None
        self.focus_at = 0   # position in MAIN_TAB_ORDER of the main window's focus

    def window(self, title):
        """Waits for the window and gives it the keyboard, as a click on it would."""
        wid = self.s.wait_window(title)
        self.s.focus(wid)
        return wid

    def back_to_main(self, title):
        self.main = self.window(title)

    def menu(self, keys, title):
        """Runs a menu command with the keyboard in the main window."""
        self.s.focus(self.main)
        self.s.key(*keys)
        return self.window(title) if title else None

    def tab_to(self, field):
        """Moves the main window's focus with Tab and Shift+Tab to field."""
        target = MAIN_TAB_ORDER.index(field)
        n = len(MAIN_TAB_ORDER)
        forward = (target - self.focus_at) % n
        backward = (self.focus_at - target) % n
        self.s.focus(self.main)
        if forward <= backward:
            for _ in range(forward):
                self.s.key("Tab")
        else:
            for _ in range(backward):
                self.s.key("shift+Tab")
        self.focus_at = target

    def enter(self, field, text):
        self.tab_to(field)
        self.s.replace_text(text)

    def click(self, dialog, wid, control):
        """A mouse click on a raw tool's control, placed from the dialog's size."""
        units_w, units_h = TOOL_SIZES[dialog]
        _, _, width, height = self.s.geometry(wid)
        x, y, w, h = TOOL_CONTROLS[(dialog, control)]
        self.s.click(wid, round((x + w / 2) * width / units_w), round((y + h / 2) * height / units_h))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--fixture", required=True)
    opts = parser.parse_args()
    editor_path = os.path.join(opts.prefix, "bin", "brennicor")

    with Session("e2e", editor_path) as s:
        ed = Editor(s)
        hero = os.path.join(s.saves, "Hero.d2s")
        expanded = os.path.join(s.root, "Hero.image")
        # Gold in the stash is left out of the file: the first save writes the
        # character with the stat block the load completed.
        subprocess.run([opts.fixture, hero, "--expanded", expanded, "--name", "Aldric",
                        "--gold", "1234", "--without-stash"], check=True, timeout=60)
        original = read(hero)
        companions = {".map": b"map of Aldric\n", ".key": b"key of Aldric\n"}
        for ext, data in companions.items():
            with open(os.path.join(s.saves, "Hero" + ext), "wb") as f:
                f.write(data)
        image = bytearray(read(expanded))
        saved = {}   # the bytes of the last save the test checked

        def put(field, data):
            first, width = field
            assert len(data) == width
            image[first:first + width] = data

        def expect_file(path, expected, what):
            def differs(_):
                return describe_difference(read(path), bytes(expected))
            try:
                wait_file(path, lambda d: d == bytes(expected), what)
            except Failure:
                raise Failure(f"{what}: {differs(None)}") from None

        def unchanged(path, expected, what):
            data = read(path)
            if data != bytes(expected):
                raise Failure(f"{what}: {describe_difference(data, bytes(expected))}")

        def start():
            s.start()
            ed.back_to_main(TITLE)
            unchanged(hero, original, "the file changed before it was opened")
            # The one file an ordinary start writes outside the user's files: how
            # the session bus starts the editor for an automation client.
            service = os.path.join(s.env["XDG_DATA_HOME"], "dbus-1", "services",
                                   "Brennicor.Application.service")
            text = read(service).decode() if os.path.exists(service) else ""
            if f"Exec={editor_path} " not in text:
                raise Failure(f"{service} does not start {editor_path}: {text!r}")

        def open_through_dialog():
            ed.menu(["alt+f", "o"], "Open")
            s.type(hero)
            s.key("Return")
            s.wait_gone("Open")
            ed.back_to_main(f"{TITLE}: Hero.d2s")
            unchanged(hero, original, "opening wrote to the file")

        def edit_panels_and_save():
            ed.enter("gold", "4242")
            put(GOLD, le(4242, 4))
            ed.enter("skill level", "7")
            put(SKILL_0, b"\x07")
            # The quest-state list: End picks its last state, "Done".
            ed.tab_to("quest state")
            s.key("End")
            put(DEN_OF_EVIL_NORMAL, QUEST_DONE)
            unchanged(hero, original, "the file changed before Save")
            ed.menu(["alt+f", "s"], None)
            expect_file(hero, image, "Save did not write exactly the edits and the completed stat block")
            saved["bytes"] = bytes(image)

        def backup():
            bak = os.path.join(s.saves, "Hero.bak")
            ed.menu(["alt+f", "b"], None)
            expect_file(bak, image, "Backup did not write the character beside it")

        def restore():
            ed.enter("gold", "999")
            ed.menu(["alt+f", "r"], None)
            # Restore names the window after the character, not the file.
            ed.back_to_main(f"{TITLE}: Aldric.d2s")
            unchanged(hero, saved["bytes"], "Restore wrote to the character file")
            ed.enter("skill level", "9")     # a change after the restore, saved below
            put(SKILL_0, b"\x09")
            ed.menu(["alt+f", "s"], None)
            expect_file(hero, image, "Save after Restore did not write the backup's values")
            saved["bytes"] = bytes(image)

        def reload():
            ed.enter("gold", "1")
            # Reload has no mnemonic: the second item of the File menu.
            ed.menu(["alt+f", "Down", "Return"], None)
            ed.back_to_main(f"{TITLE}: Aldric.d2s")
            ed.menu(["alt+f", "s"], None)
            expect_file(hero, image, "the edit dropped by Reload was saved")

        def edit_value_tool():
            tool = ed.menu(["alt+e", "e"], "Edit value")
            # Value, Offset, last offset: the offset is typed first, since a new
            # first offset shows the value stored there.
            s.key("Tab")
            s.replace_text("40")
            s.key("shift+Tab")
            s.replace_text("77")
            ed.click("Edit value", tool, "Set value")
            put((40, 1), b"\x4d")
            s.key("Escape")
            s.wait_gone("Edit value")
            ed.back_to_main(f"{TITLE}: Aldric.d2s")
            ed.menu(["alt+f", "s"], None)
            expect_file(hero, image, "Set value of the Edit value tool did not reach the file")

        def find_value_tool():
            # Through Edit value: the match of Find value becomes the range edited.
            tool = ed.menu(["alt+e", "e"], "Edit value")
            ed.click("Edit value", tool, "Find a value...")
            ed.window("Find value")
            s.replace_text("4242")
            s.key("Escape")
            s.wait_gone("Find value")
            ed.window("Edit value")
            ed.click("Edit value", tool, "Value")
            s.replace_text("5151")
            ed.click("Edit value", tool, "Set value")
            first, last = find_value(image, 4242)
            width = last - first + 1
            put((first, width), le(5151, width))
            s.key("Escape")
            s.wait_gone("Edit value")
            ed.back_to_main(f"{TITLE}: Aldric.d2s")
            ed.menu(["alt+f", "s"], None)
            expect_file(hero, image, f"the value found at {first}..{last} was not the one set")

        def compare_tool():
            # The compare file differs at offset 50 and is 10 bytes longer.
            other = os.path.join(s.saves, "Other.d2s")
            other_image = bytearray(image) + bytes(range(10))
            other_image[50] ^= 0x55
            with open(other, "wb") as f:
                f.write(other_image)
            edit = ed.menu(["alt+e", "e"], "Edit value")
            ed.click("Edit value", edit, "Find a value...")
            find = ed.window("Find value")
            ed.click("Find value", find, "Compare...")
            compare = ed.window("Compare To")
            ed.click("Compare To", compare, "Load...")
            ed.window("Open")
            s.type(other)
            s.key("Return")
            s.wait_gone("Open")
            s.focus(compare)
            ed.click("Compare To", compare, "Find...")
            ed.click("Compare To", compare, "Find Next")
            # No difference after 50: the walk ends with the size message.
            ed.window("Compare result")
            s.key("Return")
            s.wait_gone("Compare result")
            s.focus(compare)
            ed.click("Compare To", compare, "Find Next")   # from the start again: 50
            s.key("Escape")
            s.wait_gone("Compare To")
            # Find value shows 50 .. 50 and the edited file's byte there; Edit
            # value takes the range over.
            s.focus(find)
            s.key("Escape")
            s.wait_gone("Find value")
            s.focus(edit)
            ed.click("Edit value", edit, "Value")
            s.replace_text("33")
            ed.click("Edit value", edit, "Set value")
            put((50, 1), b"\x21")
            s.key("Escape")
            s.wait_gone("Edit value")
            ed.back_to_main(f"{TITLE}: Aldric.d2s")
            ed.menu(["alt+f", "s"], None)
            expect_file(hero, image, "the difference Compare showed was not the range edited")
            unchanged(other, other_image, "Compare changed the compare file")

        def tools_from_menu():
            ed.menu(["alt+e", "f"], "Find value")
            s.replace_text("10")
            s.key("Escape")
            s.wait_gone("Find value")
            ed.menu(["alt+e", "c"], "Compare To")
            s.key("Escape")
            s.wait_gone("Compare To")
            ed.back_to_main(f"{TITLE}: Aldric.d2s")
            unchanged(hero, image, "looking at the tools changed the file")

        def rename():
            ed.enter("gold", "6000")     # not saved: the rename saves it first
            put(GOLD, le(6000, 4))
            # Rename Character... has no mnemonic: the sixth item of the Edit menu.
            ed.menu(["alt+e"] + ["Down"] * 5 + ["Return"], "Rename My Character")
            s.type("Zed2")
            s.key("Return")
            ed.window("Rename Character")     # a digit is refused
            s.key("Return")
            s.wait_gone("Rename Character")
            ed.window("Rename My Character")
            s.replace_text("Zed")
            s.key("Return")
            s.wait_gone("Rename My Character")
            ed.back_to_main(f"{TITLE}: Zed.d2s")
            name = b"Zed".ljust(CHAR_NAME[1], b"\0")
            put(CHAR_NAME, name)
            zed = os.path.join(s.saves, "Zed.d2s")
            expect_file(zed, image, "the renamed character")
            for ext, data in companions.items():
                if os.path.exists(os.path.join(s.saves, "Hero" + ext)):
                    raise Failure(f"Hero{ext} was not moved")
                unchanged(os.path.join(s.saves, "Zed" + ext), data, f"Zed{ext}")
            if os.path.exists(hero):
                raise Failure("Hero.d2s is still there after the rename")

        def exit_without_saving():
            ed.enter("gold", "7")
            ed.menu(["alt+f", "x"], None)
            code = s.wait_exit()
            if code != 0:
                raise Failure(f"the editor ended with code {code}")
            unchanged(os.path.join(s.saves, "Zed.d2s"), image, "Exit saved the unsaved edit")

        def open_from_desktop():
            # As the desktop entry starts it for a double-clicked file.
            zed = os.path.join(s.saves, "Zed.d2s")
            s.start(zed)
            ed.back_to_main(f"{TITLE}: Zed.d2s")
            ed.focus_at = 0
            ed.enter("gold", "8")
            s.key("Escape")       # closes the editor without a question
            code = s.wait_exit()
            if code != 0:
                raise Failure(f"the editor ended with code {code}")
            unchanged(zed, image, "Esc saved the unsaved edit")

        return run_steps([
            ("start: the window is titled QUARVINEL", start),
            ("File, Open through the file dialog", open_through_dialog),
            ("gold, skill level and quest state, then File, Save", edit_panels_and_save),
            ("File, Backup", backup),
            ("File, Restore drops an unsaved edit; the character file waits for Save", restore),
            ("File, Reload drops an unsaved edit", reload),
            ("Edit value sets a byte", edit_value_tool),
            ("Find value, from Edit value, finds the range to set", find_value_tool),
            ("Compare, from Find value, finds the difference to set", compare_tool),
            ("Find value and Compare from the Edit menu", tools_from_menu),
            ("Rename Character with a refused name, then a good one", rename),
            ("File, Exit drops an unsaved edit", exit_without_saving),
            ("brennicor PATH opens the character; Esc leaves without saving", open_from_desktop),
        ])


if __name__ == "__main__":
    main_guard(main)
