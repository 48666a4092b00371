#!/usr/bin/env python3
"""Times gui_demo from the outside, under a private Xvfb (640x480 unless given), as a person would see them:

  start-up        from launching the process until its window shows the first frame
  fullscreen      from pressing F1 until the new window (made anew in the other mode) shows
                  the scene

"Shows a frame" means: the window's pixel at (320, 100), a spot of the back plate above the
welcome panel, has the plate's grey (0.3 * 255 = 76 in each channel). The windows are polled every
millisecond through Xlib in this process (a tree query and a one-pixel image), so that polling
takes next to nothing from the two programs it watches; starting xwininfo and xwd for every poll
took a good share of a small machine's cores and delayed the frames it waited for. Each figure is
the median of the runs (default 5) with the spread.

On a screen other than 640x480 the fullscreen switch fails and the demo shows its message box
before it makes the new window. The box is dismissed (Return) as soon as it is seen, and the time
from seeing it until it is gone is left out of the figure; the time the program takes to show it
stays in.

Several builds of the demo may be given: they take turns, one run of each per round, so that they
share the machine's load alike, and each gets its own figures.

Usage: launch_times.py [--screen WxH] PATH-TO-gui_demo ... [RUNS]    (run from anywhere; the demo
runs from the checkout root, which holds default/). Needs Xvfb, xdotool, libX11 and libXtst.
"""
import ctypes
import ctypes.util
import os
import statistics
import struct
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PLATE_GREY = 76
SPOT = (320, 100)


def start_xvfb(screen="640x480x24"):
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-noreset", "-nolisten", "tcp", "-screen", "0", screen],
        pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        xvfb.kill()
        sys.exit("launch_times: Xvfb did not start")
    return xvfb, ":" + number


def run(args, env):
    return subprocess.run(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout


class _XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
                ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong), ("class_", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class _XClassHint(ctypes.Structure):
    _fields_ = [("res_name", ctypes.c_void_p), ("res_class", ctypes.c_void_p)]


class _XImage(ctypes.Structure):  # the leading fields of Xlib's XImage
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong),
                ("blue_mask", ctypes.c_ulong)]


_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
_IGNORE_ERRORS = _ERROR_HANDLER(lambda display, event: 0)  # windows may vanish between calls
_ZPIXMAP = 2
_ALL_PLANES = ctypes.c_ulong(0xFFFFFFFFFFFFFFFF)


class XDisplay:
    """A connection of this process to the X server, for cheap queries of its top-level windows."""

    def __init__(self, name):
        x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                 ctypes.POINTER(ctypes.c_uint)]
        x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_void_p)]
        x.XGetClassHint.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(_XClassHint)]
        x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                           ctypes.POINTER(_XWindowAttributes)]
        x.XGetImage.restype = ctypes.POINTER(_XImage)
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XGetPixel.restype = ctypes.c_ulong
        x.XGetPixel.argtypes = [ctypes.POINTER(_XImage), ctypes.c_int, ctypes.c_int]
        x.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XGetWindowProperty.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
            ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XStringToKeysym.restype = ctypes.c_ulong
        x.XStringToKeysym.argtypes = [ctypes.c_char_p]
        x.XKeysymToKeycode.restype = ctypes.c_ubyte
        x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        x.XSetErrorHandler(_IGNORE_ERRORS)
        xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.x, self.xtst = x, xtst
        self.display = x.XOpenDisplay(name.encode())
        if not self.display:
            sys.exit(f"launch_times: cannot open display {name}")
        self.root = x.XDefaultRootWindow(self.display)
        self.net_wm_name = x.XInternAtom(self.display, b"_NET_WM_NAME", 0)
        self.utf8_string = x.XInternAtom(self.display, b"UTF8_STRING", 0)

    def key(self, name, down):
        """Presses or releases a key through XTEST, as the keyboard would, now."""
        code = self.x.XKeysymToKeycode(self.display, self.x.XStringToKeysym(name.encode()))
        self.xtst.XTestFakeKeyEvent(self.display, code, 1 if down else 0, 0)
        self.x.XFlush(self.display)

    def close(self):
        self.x.XCloseDisplay(self.display)

    def children(self):
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        kids, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not self.x.XQueryTree(self.display, self.root, ctypes.byref(root), ctypes.byref(parent),
                                 ctypes.byref(kids), ctypes.byref(count)):
            return []
        found = [kids[i] for i in range(count.value)]
        if kids:
            self.x.XFree(kids)
        return found

    def name(self, wid):
        """The window's title as xwininfo shows it: _NET_WM_NAME, or else WM_NAME."""
        kind, size, count, left = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.c_void_p()
        if self.x.XGetWindowProperty(self.display, wid, self.net_wm_name, 0, 1024, 0, self.utf8_string,
                                     ctypes.byref(kind), ctypes.byref(size), ctypes.byref(count),
                                     ctypes.byref(left), ctypes.byref(data)) == 0 and data.value:
            value = ctypes.string_at(data.value, count.value).decode(errors="replace")
            self.x.XFree(data)
            if kind.value == self.utf8_string and size.value == 8:
                return value
        text = ctypes.c_void_p()
        if not self.x.XFetchName(self.display, wid, ctypes.byref(text)) or not text.value:
            return None
        value = ctypes.string_at(text.value).decode(errors="replace")
        self.x.XFree(text)
        return value

    def window_class(self, wid):
        hint = _XClassHint()
        if not self.x.XGetClassHint(self.display, wid, ctypes.byref(hint)):
            return None
        value = ctypes.string_at(hint.res_class).decode(errors="replace") if hint.res_class else ""
        for text in (hint.res_name, hint.res_class):
            if text:
                self.x.XFree(text)
        return value

    def geometry(self, wid):
        """As xwininfo gives it: WxH+X+Y, or None for a window that is gone or not mapped."""
        a = _XWindowAttributes()
        if not self.x.XGetWindowAttributes(self.display, wid, ctypes.byref(a)) or a.map_state != 2:
            return None
        return f"{a.width}x{a.height}+{a.x}+{a.y}"

    def pixel(self, wid, x, y):
        """(r, g, b) of the window's pixel, or None when it cannot be read."""
        image = self.x.XGetImage(self.display, wid, x, y, 1, 1, _ALL_PLANES, _ZPIXMAP)
        if not image:
            return None
        try:
            value = self.x.XGetPixel(image, 0, 0)
            masks = image.contents.red_mask, image.contents.green_mask, image.contents.blue_mask
        finally:
            self.x.XDestroyImage(image)
        channels = []
        for mask in masks:
            if not mask:
                return None
            shift = (mask & -mask).bit_length() - 1
            channels.append(((value & mask) >> shift) * 255 // (mask >> shift))
        return tuple(channels)


_DISPLAYS = {}


def x_display(env):
    name = env["DISPLAY"]
    if name not in _DISPLAYS:
        _DISPLAYS[name] = XDisplay(name)
    return _DISPLAYS[name]


def close_displays():
    """Closes this process's connections, before their X server goes."""
    for x in _DISPLAYS.values():
        x.close()
    _DISPLAYS.clear()


def top_level_windows(env):
    """Ids and geometries of the demo's mapped main windows, and the ids of its message boxes
    with the caption "Error" (they have no class)."""
    x = x_display(env)
    found, others = [], set()
    for wid in x.children():
        name = x.name(wid)
        if name == "GUI  DEMO" and x.window_class(wid) == "gui_demo":
            geometry = x.geometry(wid)
            if geometry:
                found.append((wid, geometry))
        elif name == "Error" and x.window_class(wid) is None:
            others.add(wid)
    return found, others


def spot_grey(wid, env):
    """True when the window's spot shows the back plate's grey."""
    rgb = x_display(env).pixel(wid, *SPOT)
    return rgb is not None and all(abs(c - PLATE_GREY) <= 6 for c in rgb)


class Tap:
    """A real (XTEST) tap of 0.15 s of a key to the focused window, as a person's: long enough
    for a frame to see the key on a busy machine, well short of the X server's autorepeat delay
    (0.66 s). The key goes down when the tap is made; polls call due() to let it up on time. A
    synthetic release sent to the window would be lost if the key closes it, and the key would
    then repeat into whatever window comes next."""

    def __init__(self, env, name):
        self.x, self.name = x_display(env), name
        self.x.key(name, True)
        self.up_at = time.monotonic() + 0.15

    def due(self):
        if self.up_at is not None and time.monotonic() >= self.up_at:
            self.x.key(self.name, False)
            self.up_at = None

    def finish(self):
        if self.up_at is not None:
            time.sleep(max(0.0, self.up_at - time.monotonic()))
            self.due()


def wait_shown(env, deadline, exclude=None, geometry=None, boxes=None, tap=None):
    """Polls until a main window other than `exclude` (of the given geometry) shows the plate,
    and returns it at once, with the time it showed.
    With `boxes` (the message boxes seen before), a new one is sent Return until it goes; the time
    from seeing the box until it was gone is returned as well. A `tap` in progress is ended on time."""
    box_time, box_seen, box = 0.0, None, None
    while time.monotonic() < deadline:
        if tap is not None:
            tap.due()
        found, others = top_level_windows(env)
        if boxes is not None:
            if box is not None and box not in others:
                box_time += time.monotonic() - box_seen
                boxes.add(box)  # ids are not reused soon; never take it again
                box = None
            new = others - boxes
            if box is None and new:
                box, box_seen = min(new), time.monotonic()
            if box is not None:
                run(["xdotool", "key", "--window", str(box), "Return"], env)
                continue
        for wid, geo in found:
            if wid != exclude and (geometry is None or geo == geometry) and spot_grey(wid, env):
                return wid, box_time, time.monotonic()
        time.sleep(0.001)
    return None, box_time, None


def focus(env, wid):
    """Without a window manager nothing gives the focus back after a message box closes."""
    run(["xdotool", "windowfocus", "--sync", str(wid)], env)


def key(env, wid, name):
    focus(env, wid)
    Tap(env, name).finish()


def summary(name, values):
    values = sorted(values)
    print(f"{name}: median {statistics.median(values):.0f} ms "
          f"(min {values[0]:.0f}, max {values[-1]:.0f}; runs: {', '.join(f'{v:.0f}' for v in values)})")


def one_run(demo, env, startup, toggles, switch_fails):
    t0 = time.monotonic()
    proc = subprocess.Popen([demo], cwd=ROOT, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wid, _, shown = wait_shown(env, t0 + 20)
    if wid is None:
        proc.kill()
        sys.exit("launch_times: the demo showed no frame")
    startup.append((shown - t0) * 1000)
    time.sleep(0.5)
    # F1 switches to a 640x480 fullscreen window, F1 again back to a framed one. Where the switch
    # fails, each F1 brings the message box and then a framed window (the program stays windowed,
    # so the next F1 tries fullscreen again).
    for geometry in [None, None] if switch_fails else ["640x480+0+0", "640x480+8+31"]:
        boxes = top_level_windows(env)[1] if switch_fails else None
        focus(env, wid)
        t0 = time.monotonic()
        press = Tap(env, "F1")
        new, box_time, shown = wait_shown(env, t0 + 20, exclude=wid, geometry=geometry, boxes=boxes, tap=press)
        press.finish()
        if new is None:
            proc.kill()
            sys.exit("launch_times: no new window after F1")
        toggles.append((shown - t0 - box_time) * 1000)
        wid = new
        time.sleep(0.5)
    key(env, wid, "Escape")
    proc.wait(timeout=20)


def main():
    args = sys.argv[1:]
    screen = "640x480"
    if len(args) >= 2 and args[0] == "--screen":
        screen, args = args[1], args[2:]
    runs = 5
    if args and args[-1].isdigit():
        runs, args = int(args[-1]), args[:-1]
    if not args:
        sys.exit(__doc__)
    demos = [os.path.abspath(a) for a in args]
    print(f"{screen} screen, load average before: " + " ".join(f"{v:.2f}" for v in os.getloadavg()))
    xvfb, display = start_xvfb(screen + "x24")
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy")
    figures = {demo: ([], []) for demo in demos}
    try:
        for _ in range(runs):
            for demo in demos:
                one_run(demo, env, *figures[demo], switch_fails=screen != "640x480")
    finally:
        close_displays()
        xvfb.terminate()
        xvfb.wait()
    print("load average after: " + " ".join(f"{v:.2f}" for v in os.getloadavg()))
    for demo, (startup, toggles) in figures.items():
        if len(demos) > 1:
            print(demo)
        summary("start-up to first frame", startup)
        summary("fullscreen toggle to the new window's first frame" +
                (" (message box excluded)" if screen != "640x480" else ""), toggles)


if __name__ == "__main__":
    main()
