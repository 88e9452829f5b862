#!/usr/bin/python3
"""Prints what a screen reader finds of one program on the AT-SPI bus.

accessibilityprobe.py             connects to the bus (starting it on the session bus) and ends
accessibilityprobe.py PROGRAM     waits for PROGRAM's window and prints one line per accessible
                                  object: role, name, description, the names of the labels
                                  that name it, and "focused" or "", tab-separated
accessibilityprobe.py --unnamed PROGRAM
                                  the same, only for the objects that take the focus and have
                                  no name
"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def find_program(name, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            program = desktop.get_child_at_index(i)
            if program is not None and program.get_name() == name and program.get_child_count():
                return program
        time.sleep(0.2)
    return None


def walk(node, unnamed_only=False):
    states = node.get_state_set()
    focused = "focused" if states.contains(Atspi.StateType.FOCUSED) else ""
    shown = not unnamed_only or (states.contains(Atspi.StateType.FOCUSABLE) and not node.get_name())
    labels = [
        relation.get_target(i).get_name()
        for relation in node.get_relation_set()
        if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY
        for i in range(relation.get_n_targets())
    ]
    fields = [node.get_role_name(), node.get_name() or "", node.get_description() or "",
              " ".join(labels), focused]
    if shown:
        print("\t".join(field.replace("\t", " ").replace("\n", " ") for field in fields))
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            walk(child, unnamed_only)


def main():
    sys.stdout.reconfigure(encoding="utf-8")
    if len(sys.argv) < 2:
        Atspi.get_desktop(0).get_child_count()
        return 0
    unnamed_only = sys.argv[1] == "--unnamed"
    name = sys.argv[-1]
    program = find_program(name)
    if program is None:
        print(f"{name} is not on the accessibility bus", file=sys.stderr)
        return 1
    walk(program, unnamed_only)
    return 0


if __name__ == "__main__":
    sys.exit(main())
