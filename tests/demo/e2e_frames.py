#!/usr/bin/env python3
"""Waits for a window to draw frames, so that an end-to-end test knows the program has taken the
input sent before it: e2e_frames.py WINDOW [FRAMES [LIMIT]] [--strict] [-- COMMAND...]

Every frame the demo shows reaches the X server as a drawing of its whole window, which the
DAMAGE extension reports. Input already sent has reached the program's connection when this
starts; the frame drawing at that moment may have begun before it, and one more may be in flight
behind it, so the third frame from now is one whose message pump saw the input (FRAMES defaults
to 3). A window that goes away, or is gone already, counts as done: the input ended it
(Escape, or F1 making a new one), unless --strict asks for the frames themselves. A COMMAND
after "--" runs once the drawing is watched, and the frames are counted from its end: what the
program draws after an input, however soon it ends. Exits 0 when done, 1 after LIMIT seconds
(default 20) without, 3 when --strict and the window went first. Talks to Xlib in this process
and sleeps until the server writes, so the wait costs the machine next to nothing.
"""
import ctypes
import select
import struct
import subprocess
import sys
import time

X = ctypes.CDLL("libX11.so.6")
DAMAGE = ctypes.CDLL("libXdamage.so.1")
X.XOpenDisplay.restype = ctypes.c_void_p
DAMAGE.XDamageCreate.restype = ctypes.c_ulong

STRUCTURE_NOTIFY_MASK = 1 << 17
DESTROY_NOTIFY, UNMAP_NOTIFY = 17, 18
REPORT_RAW_RECTANGLES = 0

# X errors (a window that is gone) are counted, not fatal.
x_errors = []
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
on_error = ERROR_HANDLER(lambda display, event: x_errors.append(1) or 0)


def main():
    args = sys.argv[1:]
    command = []
    if "--" in args:
        command = args[args.index("--") + 1:]
        args = args[:args.index("--")]
    strict = "--strict" in args
    args = [a for a in args if a != "--strict"]
    if not args:
        sys.exit(__doc__)
    window = int(args[0], 0)
    frames = int(args[1]) if len(args) > 1 else 3
    limit = float(args[2]) if len(args) > 2 else 20.0
    gone = 3 if strict else 0
    display = ctypes.c_void_p(X.XOpenDisplay(None))
    if not display.value:
        sys.exit("e2e_frames: cannot open the display")
    X.XSetErrorHandler(on_error)
    event_base, error_base = ctypes.c_int(), ctypes.c_int()
    if not DAMAGE.XDamageQueryExtension(display, ctypes.byref(event_base), ctypes.byref(error_base)):
        sys.exit("e2e_frames: the X server has no DAMAGE extension")

    # The window's size (a frame covers it once), its structure events, and its drawing.
    root, x, y = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_int()
    width, height, border, depth = ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint()
    if not X.XGetGeometry(display, ctypes.c_ulong(window), ctypes.byref(root), ctypes.byref(x), ctypes.byref(y),
                          ctypes.byref(width), ctypes.byref(height), ctypes.byref(border), ctypes.byref(depth)):
        return gone
    X.XSelectInput(display, ctypes.c_ulong(window), ctypes.c_long(STRUCTURE_NOTIFY_MASK))
    DAMAGE.XDamageCreate(display, ctypes.c_ulong(window), REPORT_RAW_RECTANGLES)
    X.XSync(display, 0)
    if x_errors:
        return gone  # gone between the lookup and the subscription
    if command:
        subprocess.run(command, check=False)
        # Drawing reported before the command ended is not counted; the window's end is.
        X.XSync(display, 0)
        skipped = (ctypes.c_long * 24)()
        while X.XPending(display):
            X.XNextEvent(display, skipped)
            if struct.unpack_from("i", bytes(skipped), 0)[0] in (DESTROY_NOTIFY, UNMAP_NOTIFY):
                return gone

    # Counted by area: a frame drawn in bands, or partly off the screen, is still one frame's worth
    # of drawing only once it adds up.
    area_per_frame = width.value * height.value
    drawn = 0
    event = (ctypes.c_long * 24)()
    connection = X.XConnectionNumber(display)
    deadline = time.monotonic() + limit
    while time.monotonic() < deadline:
        select.select([connection], [], [], max(0.0, deadline - time.monotonic()))
        while X.XPending(display):
            X.XNextEvent(display, event)
            raw = bytes(event)
            kind = struct.unpack_from("i", raw, 0)[0]
            if kind in (DESTROY_NOTIFY, UNMAP_NOTIFY):
                return gone
            if kind == event_base.value:  # XDamageNotifyEvent: the area's w, h at byte 68
                w, h = struct.unpack_from("HH", raw, 68)
                drawn += w * h
                if drawn >= frames * area_per_frame:
                    return 0
    print(f"e2e_frames: window 0x{window:x} drew {drawn / area_per_frame:.1f} of {frames} frames in {limit:g} s",
          file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
