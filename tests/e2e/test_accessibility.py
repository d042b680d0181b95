#!/usr/bin/python3
"""The editor as assistive technology sees it on the real accessibility bus
(pyatspi): every edit named after its label, every list labelled, and Tab
walking the main window in reading order."""

import argparse
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Failure, Session, main_guard, run_steps, wait_for  # noqa: E402

try:
    import pyatspi
except ImportError:
    pyatspi = None

TITLE = "QUARVINEL: Hero.d2s"
CONTROLS = ("text", "combo box", "check box", "push button")


def related(node, kind):
    return [r.getTarget(i) for r in node.getRelationSet() if r.getRelationType() == kind
            for i in range(r.getNTargets())]


def controls(node):
    """The controls under node in tree order (lists and the menu bar not entered)."""
    found = []
    for child in node:
        role = child.getRoleName() if child is not None else ""
        found += [child] if role in CONTROLS else []
        found += controls(child) if child is not None and role not in ("combo box", "list", "menu bar") else []
    return found


def centre(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x + e.width / 2, e.y + e.height / 2


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--fixture", required=True)
    opts = parser.parse_args()
    if pyatspi is None:
        raise Failure("pyatspi is missing (scripts/install-deps.sh installs python3-pyatspi)")

    with Session("a11y", os.path.join(opts.prefix, "bin", "brennicor")) as s:
        hero = os.path.join(s.saves, "Hero.d2s")
        subprocess.run([opts.fixture, hero], check=True, timeout=60)
        state = {}

        def start():
            s.start(hero, extra_env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
            state["wid"] = s.wait_window(TITLE)
            app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                         if a is not None and a.name == "brennicor"), None),
                           "brennicor did not join the accessibility bus")
            state["main"] = wait_for(lambda: next((w for w in app if w is not None and w.name == TITLE), None),
                                     f"no window {TITLE!r} on the accessibility bus")

        def edits_named():
            edits = [c for c in controls(state["main"]) if c.getRoleName() == "text"]
            names = [e.name for e in edits]
            for edit in edits:
                for label in related(edit, pyatspi.RELATION_LABELLED_BY):
                    if label.name.replace("&", "").rstrip(":").lower() not in edit.name.lower():
                        raise Failure(f"edit {edit.name!r} is labelled {label.name!r}")
            if len(edits) != 18 or "" in names or len(set(names)) != len(names):
                raise Failure(f"the main window's edits are named {names}")
            combos = [c for c in controls(state["main"]) if c.getRoleName() == "combo box"]
            if len(combos) != 8 or not all(related(c, pyatspi.RELATION_LABELLED_BY) for c in combos):
                raise Failure("a list of the main window has no label")

        def tab_order():
            enabled = [c for c in controls(state["main"]) if c.getState().contains(pyatspi.STATE_ENABLED)]

            def focused(previous):
                return next((c for c in enabled if c.getState().contains(pyatspi.STATE_FOCUSED)
                             and c != previous), None)
            order = [wait_for(lambda: focused(None), "no control holds the focus")]
            while len(order) <= len(enabled):
                s.key("Tab")
                node = wait_for(lambda: focused(order[-1]), f"Tab left the focus on {order[-1].name!r}")
                if node == order[0]:
                    break
                order.append(node)
            if len(order) != len(enabled):
                raise Failure(f"Tab reaches {len(order)} of {len(enabled)} controls")
            # From the control the eye reads first, each next one stands to the right on its row or below.
            first = min(range(len(order)), key=lambda i: (centre(order[i])[1] // 12, centre(order[i])[0]))
            cycle = order[first:] + order[:first]
            for a, b in zip(cycle, cycle[1:]):
                (ax, ay), (bx, by) = centre(a), centre(b)
                if not ((abs(by - ay) <= 10 and bx > ax) or by > ay + 10):
                    raise Failure(f"Tab goes from {a.name!r} back to {b.name!r}")

        return run_steps([
            ("the editor joins the accessibility bus", start),
            ("every edit of the main window is named after its label, every list labelled", edits_named),
            ("Tab walks the main window in reading order", tab_order),
        ])


if __name__ == "__main__":
    main_guard(main)
