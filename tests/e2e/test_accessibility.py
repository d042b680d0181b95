#!/usr/bin/python3
"""The editor as assistive technology sees it, on the real accessibility bus.

The installed editor runs under a private X server inside a session bus of its
own; Qt joins the accessibility bus (at-spi2-core) because
QT_LINUX_ACCESSIBILITY_ALWAYS_ON is set. The test reads the window through
pyatspi: the gold box found by its label and read, a keyboard edit seen there,
every edit named, and the Tab key walking the controls in the order the eye
reads them, in the main window and in each dialog of the Edit menu.
"""

import argparse
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import WAIT, Failure, Session, log, main_guard, run_steps  # noqa: E402

try:
    import pyatspi
except ImportError:
    pyatspi = None

TITLE = "QUARVINEL: Hero.d2s"
CONTROL_ROLES = ("text", "combo box", "check box", "push button")

# The dialogs of the Edit menu: how the keyboard opens each, its title and the
# names its edits must carry (the first is where the focus starts).
DIALOGS = [
    (["alt+e", "e"], "Edit value", ["Value", "Offset", "Last offset"]),
    (["alt+e", "f"], "Find value", ["Value", "Offset", "Last offset"]),
    (["alt+e", "c"], "Compare To", ["File", "Offset"]),
    # Rename Character... is the sixth item of the Edit menu.
    (["alt+e", "Down", "Down", "Down", "Down", "Down", "Return"], "Rename My Character",
     ["New Name"]),
]


def plain(label_text):
    text = label_text.replace("&", "").strip()
    return text[:-1] if text.endswith(":") else text


def relation_targets(node, kind):
    targets = []
    for rel in node.getRelationSet():
        if rel.getRelationType() == kind:
            targets += [rel.getTarget(i) for i in range(rel.getNTargets())]
    return targets


def descendants(window, roles):
    """The window's nodes of these roles in the order of the accessible tree
    (the lists of combo boxes and the menu bar are not entered)."""
    found = []

    def walk(node):
        for child in node:
            if child is None:
                continue
            role = child.getRoleName()
            if role in roles:
                found.append(child)
            if role not in ("combo box", "list", "menu bar"):
                walk(child)
    walk(window)
    return found


def controls(window):
    return descendants(window, CONTROL_ROLES)


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def text_of(node):
    t = node.queryText()
    return t.getText(0, t.characterCount)


def describe(node):
    return f"{node.getRoleName()} {node.name!r}"


class Bus:
    """The editor's windows on the accessibility bus."""

    def __init__(self, session):
        self.s = session
        self.app = None

    def wait_app(self):
        deadline = time.monotonic() + WAIT
        while True:
            desktop = pyatspi.Registry.getDesktop(0)
            for app in desktop:
                if app is not None and app.name == "brennicor":
                    self.app = app
                    return
            if time.monotonic() > deadline:
                names = [a.name for a in desktop if a is not None]
                raise Failure(f"brennicor did not join the accessibility bus; there: {names}")
            time.sleep(0.2)

    def window(self, title):
        deadline = time.monotonic() + WAIT
        while True:
            for child in self.app:
                if child is not None and child.name == title:
                    return child
            if time.monotonic() > deadline:
                raise Failure(f"no window {title!r} on the accessibility bus")
            time.sleep(0.2)

    def focused(self, candidates):
        for node in candidates:
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                return node
        return None

    def wait_focused(self, candidates, previous=None):
        """The control that holds the focus, once it is not previous."""
        deadline = time.monotonic() + 5
        while True:
            node = self.focused(candidates)
            if node is not None and node != previous:
                return node
            if time.monotonic() > deadline:
                return node
            time.sleep(0.05)

    def tab_cycle(self, wid, candidates):
        """Presses Tab until the focus comes back where it started; the
        controls in the order they took the focus."""
        self.s.focus(wid)
        start = self.wait_focused(candidates)
        if start is None:
            raise Failure("no control holds the focus")
        order = [start]
        for _ in range(2 * len(candidates) + 2):
            self.s.key("Tab")
            node = self.wait_focused(candidates, order[-1])
            if node is None or node == order[-1]:
                raise Failure(f"Tab left the focus on {describe(order[-1])}")
            if node == start:
                return order
            if node in order:
                raise Failure(f"Tab came back to {describe(node)} without passing "
                              f"{describe(start)}")
            order.append(node)
        raise Failure("Tab never came back to where it started")


def check_names(window, first_names):
    """Every edit has a name, from its label where a label names it (or a
    fuller one that holds the label's words, as "Maximum mana" for "Max:");
    the names of a window's edits are its own."""
    edits = [c for c in controls(window) if c.getRoleName() == "text"]
    names = [e.name for e in edits]
    for edit in edits:
        if not edit.name:
            raise Failure(f"an edit at {extents(edit)} has no accessible name")
        for label in relation_targets(edit, pyatspi.RELATION_LABELLED_BY):
            if plain(label.name).lower() not in edit.name.lower():
                raise Failure(f"edit {edit.name!r} is labelled {label.name!r}")
    if len(set(names)) != len(names):
        raise Failure(f"two edits share a name: {names}")
    if first_names and names[:len(first_names)] != first_names:
        raise Failure(f"edits named {names}, expected {first_names} first")
    # A list's name is the item it shows; its label comes through the relation.
    for combo in (c for c in controls(window) if c.getRoleName() == "combo box"):
        for label in relation_targets(combo, pyatspi.RELATION_LABELLED_BY):
            if not plain(label.name):
                raise Failure(f"combo box {combo.name!r} is labelled by an empty label")
    return edits


def row_major(order, tolerance):
    """Checks that each control stands after the one before it in reading order:
    further right on the same row, or on a row below."""
    def centre(node):
        x, y, w, h = extents(node)
        return x + w / 2, y + h / 2
    for a, b in zip(order, order[1:]):
        (ax, ay), (bx, by) = centre(a), centre(b)
        same_row = abs(by - ay) <= tolerance
        if not ((same_row and bx > ax) or by > ay + tolerance):
            raise Failure(f"Tab goes from {describe(a)} at {extents(a)} back to "
                          f"{describe(b)} at {extents(b)}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--fixture", required=True)
    opts = parser.parse_args()
    if pyatspi is None:
        raise Failure("pyatspi is missing: run the test with Debian's /usr/bin/python3 and "
                      "python3-pyatspi installed (scripts/install-deps.sh)")

    with Session("a11y", os.path.join(opts.prefix, "bin", "brennicor")) as s:
        bus = Bus(s)
        hero = os.path.join(s.saves, "Hero.d2s")
        subprocess.run([opts.fixture, hero, "--name", "Aldric", "--gold", "4321"],
                       check=True, timeout=60)
        state = {}

        def start():
            s.start(extra_env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
            wid = s.wait_window("QUARVINEL")
            s.focus(wid)
            s.key("alt+f", "o")
            s.focus(s.wait_window("Open"))
            s.type(hero)
            s.key("Return")
            state["wid"] = s.wait_window(TITLE)
            bus.wait_app()
            state["main"] = bus.window(TITLE)

        def gold_by_label():
            labels = [c for c in descendants(state["main"], ("label",)) if c.name == "Gold:"]
            if len(labels) != 1:
                raise Failure(f"{len(labels)} labels 'Gold:' in the window")
            boxes = relation_targets(labels[0], pyatspi.RELATION_LABEL_FOR)
            if len(boxes) != 1 or boxes[0].getRoleName() != "text":
                raise Failure(f"the label 'Gold:' names {[describe(b) for b in boxes]}")
            gold = boxes[0]
            if gold.name != "Gold" or text_of(gold) != "4321":
                raise Failure(f"the gold box is named {gold.name!r} and reads {text_of(gold)!r}")
            if labels[0] not in relation_targets(gold, pyatspi.RELATION_LABELLED_BY):
                raise Failure("the gold box does not say it is labelled by 'Gold:'")
            state["gold"] = gold

        def edit_seen():
            gold = state["gold"]
            s.focus(state["wid"])
            if not gold.queryComponent().grabFocus():
                raise Failure("the gold box did not take the focus")
            bus.wait_focused([gold])
            s.replace_text("5000")
            deadline = time.monotonic() + WAIT
            while text_of(gold) != "5000":
                if time.monotonic() > deadline:
                    raise Failure(f"the gold box reads {text_of(gold)!r} after typing 5000")
                time.sleep(0.1)

        def main_window_names():
            edits = check_names(state["main"], ["Name", "Experience", "Level number", "Gold"])
            if len(edits) != 18:
                raise Failure(f"{len(edits)} edits in the main window, expected 18")
            # Every list says what it is for through a label, visible or not.
            combos = [c for c in controls(state["main"]) if c.getRoleName() == "combo box"]
            unlabelled = [describe(c) for c in combos
                          if not relation_targets(c, pyatspi.RELATION_LABELLED_BY)]
            if len(combos) != 8 or unlabelled:
                raise Failure(f"{len(combos)} lists, without a label: {unlabelled}")

        def main_window_tab_order():
            all_controls = controls(state["main"])
            enabled = [c for c in all_controls if c.getState().contains(pyatspi.STATE_ENABLED)]
            order = bus.tab_cycle(state["wid"], enabled)
            missed = [describe(c) for c in enabled if c not in order]
            if missed:
                raise Failure(f"Tab never reaches {missed}")
            # Start the cycle at the control the eye reads first.
            first = min(order, key=lambda c: (extents(c)[1] // 12, extents(c)[0]))
            i = order.index(first)
            row_major(order[i:] + order[:i], tolerance=10)

        def dialogs():
            for keys, title, names in DIALOGS:
                s.focus(state["wid"])
                s.key(*keys)
                wid = s.wait_window(title)
                s.focus(wid)
                window = bus.window(title)
                edits = check_names(window, names)
                everything = controls(window)
                focus = bus.wait_focused(everything)
                if focus != edits[0]:
                    raise Failure(f"{title}: the focus starts on "
                                  f"{describe(focus) if focus else 'nothing'}, not on "
                                  f"{describe(edits[0])}")
                order = bus.tab_cycle(wid, everything)
                missed = [describe(c) for c in everything if c not in order]
                if missed:
                    raise Failure(f"{title}: Tab never reaches {missed}")
                log(f"  {title}: {', '.join(describe(c) for c in order)}")
                s.key("Escape")
                s.wait_gone(title)

        return run_steps([
            ("the editor joins the accessibility bus", start),
            ("the gold box, found by its label, reads the character's gold", gold_by_label),
            ("a keyboard edit of the gold box is seen there", edit_seen),
            ("every edit of the main window is named", main_window_names),
            ("Tab walks the main window in reading order", main_window_tab_order),
            ("the Edit menu's dialogs: named edits, focus and Tab", dialogs),
        ])


if __name__ == "__main__":
    main_guard(main)
