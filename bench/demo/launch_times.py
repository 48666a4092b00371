#!/usr/bin/env python3
"""Times gui_demo from the outside, under a private Xvfb (640x480 unless given), as a person would see them:

  start-up        from launching the process until its window shows the first frame
  fullscreen      from pressing F1 until the new window (made anew in the other mode) shows
                  the scene

"Shows a frame" means: the window's pixel at (320, 100), a spot of the back plate above the
welcome panel, has the plate's grey (0.3 * 255 = 76 in each channel). The window is polled with
xwd every few milliseconds. Each figure is the median of the runs (default 5) with the spread.

On a screen other than 640x480 the fullscreen switch fails and the demo shows its message box
before it makes the new window. The box is dismissed (Return) as soon as it is seen, and the time
from seeing it until it is gone is left out of the figure; the time the program takes to show it
stays in.

Several builds of the demo may be given: they take turns, one run of each per round, so that they
share the machine's load alike, and each gets its own figures.

Usage: launch_times.py [--screen WxH] PATH-TO-gui_demo ... [RUNS]    (run from anywhere; the demo
runs from the checkout root, which holds default/). Needs Xvfb, xdotool, xwd and xwininfo.
"""
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


def top_level_windows(env):
    """Ids and geometries of the demo's main windows, and the ids of its message boxes with the
    caption "Error" (they have no class)."""
    out = run(["xwininfo", "-root", "-children"], env).decode(errors="replace")
    found, others = [], set()
    for line in out.splitlines():
        fields = line.split()
        if not fields or not fields[0].startswith("0x"):
            continue
        if '"GUI  DEMO": ("gui_demo"' in line:
            found.append((int(fields[0], 16), fields[-2]))
        elif '"Error": ()' in line:
            others.add(int(fields[0], 16))
    return found, others


def main_windows(env):
    return top_level_windows(env)[0]


def spot_grey(wid, env):
    """True when the window's spot shows the back plate's grey."""
    data = run(["xwd", "-silent", "-id", str(wid)], env)
    if len(data) < 100:
        return False
    header_size, = struct.unpack(">I", data[0:4])
    width, height = struct.unpack(">II", data[16:24])
    byte_order, = struct.unpack(">I", data[28:32])
    bits_per_pixel, bytes_per_line = struct.unpack(">II", data[44:52])
    ncolors, = struct.unpack(">I", data[76:80])
    x, y = SPOT
    if bits_per_pixel != 32 or x >= width or y >= height:
        return False
    at = header_size + ncolors * 12 + y * bytes_per_line + x * 4
    if at + 4 > len(data):
        return False
    pixel = data[at:at + 4]
    b, g, r = (pixel[0], pixel[1], pixel[2]) if byte_order == 0 else (pixel[3], pixel[2], pixel[1])
    return all(abs(c - PLATE_GREY) <= 6 for c in (r, g, b))


def wait_shown(env, deadline, exclude=None, geometry=None, boxes=None):
    """Polls until a main window other than `exclude` (of the given geometry) shows the plate.
    With `boxes` (the message boxes seen before), a new one is sent Return until it goes; returns the window and the time
    from seeing the box until it was gone."""
    box_time, box_seen, box = 0.0, None, None
    while time.monotonic() < deadline:
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
                return wid, box_time
        time.sleep(0.002)
    return None, box_time


def focus(env, wid):
    """Without a window manager nothing gives the focus back after a message box closes."""
    run(["xdotool", "windowfocus", "--sync", str(wid)], env)


def tap(env, name):
    """Starts a real (XTEST) tap of 0.15 s to the focused window, as a person's: long enough for
    a frame to see the key on a busy machine, well short of the X server's autorepeat delay
    (0.66 s). A synthetic release sent to the window would be lost if the key closes it, and the
    key would then repeat into whatever window comes next. Returns the running xdotool."""
    return subprocess.Popen(["xdotool", "keydown", name, "sleep", "0.15", "keyup", name],
                            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def key(env, wid, name):
    focus(env, wid)
    tap(env, name).wait()


def summary(name, values):
    values = sorted(values)
    print(f"{name}: median {statistics.median(values):.0f} ms "
          f"(min {values[0]:.0f}, max {values[-1]:.0f}; runs: {', '.join(f'{v:.0f}' for v in values)})")


def one_run(demo, env, startup, toggles, switch_fails):
    t0 = time.monotonic()
    proc = subprocess.Popen([demo], cwd=ROOT, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wid, _ = wait_shown(env, t0 + 20)
    if wid is None:
        proc.kill()
        sys.exit("launch_times: the demo showed no frame")
    startup.append((time.monotonic() - t0) * 1000)
    time.sleep(0.5)
    # F1 switches to a 640x480 fullscreen window, F1 again back to a framed one. Where the switch
    # fails, the first F1 brings the message box and then a window that is framed as well.
    for geometry in [None if switch_fails else "640x480+0+0", "640x480+8+31"]:
        boxes = top_level_windows(env)[1] if switch_fails else None
        focus(env, wid)
        t0 = time.monotonic()
        press = tap(env, "F1")
        new, box_time = wait_shown(env, t0 + 20, exclude=wid, geometry=geometry, boxes=boxes)
        press.wait()
        if new is None:
            proc.kill()
            sys.exit("launch_times: no new window after F1")
        toggles.append((time.monotonic() - t0 - box_time) * 1000)
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
