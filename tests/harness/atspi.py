"""What a screen reader sees of a program, over AT-SPI.

    atspi.py tree PID          one line per accessible object: ROLE<TAB>NAME
    atspi.py press PID NAME    does the first action of the push button called NAME

Exits with 1 when the program is not (yet) on the accessibility bus.
"""
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def program(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def walk(node, depth=0):
    if node is None or depth > 30:
        return
    yield node
    for i in range(node.get_child_count()):
        yield from walk(node.get_child_at_index(i), depth + 1)


def main():
    command, pid = sys.argv[1], int(sys.argv[2])
    app = program(pid)
    if app is None:
        return 1
    for node in walk(app):
        role, name = node.get_role_name(), node.get_name() or ""
        if command == "tree":
            print(f"{role}\t{name}".replace("\n", " | "))
        elif command == "press" and role == "push button" and name == sys.argv[3]:
            Atspi.Action.do_action(node, 0)
            return 0
    return 0 if command == "tree" else 1


if __name__ == "__main__":
    sys.exit(main())
