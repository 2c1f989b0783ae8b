#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

"""Reads Quillog's window the way a screen reader does, through the desktop's accessibility bus.

Prints every object of the window with its role and name, then types a call sign, presses Save
through the bus, and prints the notification that announces the new count. Run it through
scripts/accessibility-check.sh, which starts the bus and the program.
"""
import sys
import time

import pyatspi


def find_app(window_title, seconds=20):
    """The application that shows a window of that title."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and any(w is not None and w.name == window_title for w in app):
                return app
        time.sleep(0.2)
    sys.exit(f'no window "{window_title}" on the accessibility bus')


def walk(node, depth=0):
    yield depth, node
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def labelled_by(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return []


def dump(app):
    for depth, node in walk(app):
        states = node.getState()
        focusable = ' focusable' if states.contains(pyatspi.STATE_FOCUSABLE) else ''
        labels = labelled_by(node)
        label = f' labelled by {labels}' if labels else ''
        print(f'{"  " * depth}{node.getRoleName()}: "{node.name}"{focusable}{label}')


def by_role_and_name(app, role, name):
    for _, node in walk(app):
        if node.getRoleName() == role and node.name == name:
            return node
    sys.exit(f'no {role} "{name}"')


def main():
    app = find_app('Quillog v1.0 by Velmar')
    print('The window, as the accessibility bus shows it:')
    dump(app)

    call_sign = by_role_and_name(app, 'text', 'CallSign')
    call_sign.queryEditableText().setTextContents('K1AB')
    save = by_role_and_name(app, 'push button', 'Save')
    save.queryAction().doAction(0)
    time.sleep(1)
    print('\nAfter Save:')
    for _, node in walk(app):
        if node.getRoleName() == 'notification':
            showing = node.getState().contains(pyatspi.STATE_SHOWING)
            print(f'notification: "{node.name}"{" showing" if showing else ""}')


if __name__ == '__main__':
    main()
