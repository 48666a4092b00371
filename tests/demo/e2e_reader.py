#!/usr/bin/python3
# Reads gui_demo over AT-SPI as a screen reader does (pyatspi, Debian's own Python), for e2e.sh's
# "reader" scenario. Each command waits for what it needs, up to a deadline, and exits non-zero
# with the reason when it is not met.
#   start X Y W H     the application "GUI  DEMO" holds a frame at the window's client area (screen
#                     pixels) and the four navigation buttons by name, each inside it
#   press NAME        runs the default action of the button NAME
#   names NAME...     waits until buttons of all these names are in the tree
#   tab WID NAME...   presses Tab in window WID once per NAME; each focus event must name the next
#   alert TEXT        the application shows an alert "GUI  DEMO" with TEXT, its OK button focused
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

DEADLINE = 20  # seconds; a busy machine's first frames and the buses' start take seconds
CONTEXT = GLib.MainContext.default()


def fail(why):
    print("e2e_reader: " + why, file=sys.stderr)
    sys.exit(1)


def settle():
    """Takes the events that have come, which keep pyatspi's copy of the tree up to date."""
    while CONTEXT.iteration(False):
        pass


def wait_for(what, probe):
    end = time.monotonic() + DEADLINE
    while True:
        settle()
        found = probe()
        if found:
            return found
        if time.monotonic() > end:
            fail("timed out waiting for " + what)
        time.sleep(0.05)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "GUI  DEMO":
            return app
    return None


def buttons(node, found):
    for child in node:
        if child.getRole() == pyatspi.ROLE_PUSH_BUTTON:
            found[child.name] = child
        buttons(child, found)
    return found


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def start(x, y, w, h):
    app = wait_for('the application "GUI  DEMO"', application)
    frames = [c for c in app if c.getRole() == pyatspi.ROLE_FRAME]
    if len(frames) != 1 or frames[0].name != "GUI  DEMO":
        fail("expected one frame named \"GUI  DEMO\", found %s" % [(c.getRoleName(), c.name) for c in app])
    if extents(frames[0]) != (x, y, w, h):
        fail("the frame lies at %s, the window's client area at %s" % (extents(frames[0]), (x, y, w, h)))
    found = wait_for("the four buttons", lambda: len(buttons(app, {})) >= 4 and buttons(app, {}))
    for name in ("panel demo", "text demo", "button demo", "exit"):
        if name not in found:
            fail("no button %r among %s" % (name, sorted(found)))
        bx, by, bw, bh = extents(found[name])
        if not (x <= bx and y <= by and bx + bw <= x + w and by + bh <= y + h and bw > 0 and bh > 0):
            fail("%r lies at %s, outside the window" % (name, (bx, by, bw, bh)))
        if not found[name].getState().contains(pyatspi.STATE_FOCUSABLE):
            fail("%r is not focusable" % name)


def named(names):
    return lambda: (lambda found: all(n in found for n in names) and found)(buttons(application(), {}))


def press(name):
    button = wait_for("the button %r" % name, named([name]))[name]
    if not button.queryAction().doAction(0):
        fail("the action of %r was refused" % name)


def tab(window, names):
    heard = []
    listener = lambda event: event.detail1 and heard.append(event.source.name)
    pyatspi.Registry.registerEventListener(listener, "object:state-changed:focused")
    for expected in names:
        subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "Tab"], check=True)
        end = time.monotonic() + DEADLINE
        while not heard and time.monotonic() < end:
            CONTEXT.iteration(False) or time.sleep(0.01)
        if not heard:
            fail("Tab gave no focus event (expected %r)" % expected)
        got = heard.pop(0)
        if got != expected:
            fail("Tab focused %r where %r was expected" % (got, expected))
    pyatspi.Registry.deregisterEventListener(listener, "object:state-changed:focused")


def alert(text):
    def shown():
        boxes = [c for c in application() if c.getRole() == pyatspi.ROLE_ALERT]
        return boxes and [c for c in boxes[0]]
    label, ok = wait_for("an alert", shown)
    if (label.name, ok.name) != (text, "OK") or not ok.getState().contains(pyatspi.STATE_FOCUSED):
        fail("the alert reads %r, %r" % (label.name, ok.name))


command, args = sys.argv[1], sys.argv[2:]
if command == "start":
    start(*map(int, args))
elif command == "press":
    press(args[0])
elif command == "names":
    wait_for("buttons %s" % args, named(args))
elif command == "tab":
    tab(args[0], args[1:])
elif command == "alert":
    alert(args[0])
else:
    fail("unknown command " + command)
