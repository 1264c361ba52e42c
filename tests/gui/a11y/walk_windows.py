#!/usr/bin/python3
"""Walks what a screen reader sees of one program over AT-SPI.

Usage: walk_windows.py PID WINDOW_NAME...

Waits until the program with process id PID shows every named window, then
walks each of its windows and prints one line per fault: a window that is no
frame or dialog or has no name, a focusable control without a name or with a
generic role, a table whose column header is a bare number. Exits 0 when
there is no fault, 1 when there are faults, 2 when the windows never show.
"""
import sys
import time

import pyatspi

GENERIC = {
    pyatspi.ROLE_FILLER, pyatspi.ROLE_PANEL, pyatspi.ROLE_UNKNOWN, pyatspi.ROLE_INVALID,
    pyatspi.ROLE_REDUNDANT_OBJECT,
}
WINDOW_ROLES = {pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW}


def find_app(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that went away meanwhile
            pass
    return None


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def where(path):
    return " > ".join(path)


def walk(node, path, faults, depth=0):
    if depth > 40:
        return
    try:
        role, name = node.getRole(), node.name
        states = node.getState()
    except Exception:
        return
    here = path + ["%s '%s'" % (node.getRoleName(), name)]
    visible = states.contains(pyatspi.STATE_SHOWING)
    if visible and states.contains(pyatspi.STATE_FOCUSABLE):
        if not name.strip():
            faults.append("no name: " + where(here))
        if role in GENERIC:
            faults.append("generic role: " + where(here))
    if visible and role in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE):
        try:
            table = node.queryTable()
            for column in range(table.nColumns):
                header = table.getColumnDescription(column) or ""
                if header.strip().isdigit():
                    faults.append("column header '%s': %s" % (header, where(here)))
        except NotImplementedError:
            pass
    # The rows of a long list are alike: the first ones stand for the rest.
    limit = 40 if role in (pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE,
                           pyatspi.ROLE_TREE) else node.childCount
    for index in range(min(node.childCount, limit)):
        child = node.getChildAtIndex(index)
        if child is not None:
            walk(child, here, faults, depth + 1)


def main():
    pid = int(sys.argv[1])
    wanted = set(sys.argv[2:])
    deadline = time.monotonic() + 60
    app = None
    while time.monotonic() < deadline:
        app = find_app(pid)
        if app is not None:
            shown = {w.name for w in app if w is not None and showing(w)}
            if wanted <= shown:
                break
        time.sleep(0.5)
    else:
        seen = sorted(w.name for w in app) if app is not None else "no application"
        print("windows never shown; seen: %s" % (seen,))
        return 2

    faults = []
    for window in app:
        if window is None:
            continue
        label = "%s '%s'" % (window.getRoleName(), window.name)
        if not showing(window):
            faults.append("hidden window left in the tree: " + label)
            continue
        if window.getRole() not in WINDOW_ROLES:
            faults.append("window is no frame or dialog: " + label)
        if not window.name.strip():
            faults.append("window without a name: " + label)
        walk(window, [], faults)
    for fault in faults:
        print(fault)
    print("walked %d windows, %d faults" % (app.childCount, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
