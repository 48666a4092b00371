#!/usr/bin/env python3
"""Times gui_demo from the outside, under a private 640x480 Xvfb, as a person would see them:

  start-up        from launching the process until its window shows the first frame
  fullscreen      from pressing F1 until the new window (made anew in the other mode) shows
                  the scene

"Shows a frame" means: the window's pixel at (320, 100), a spot of the back plate above the
welcome panel, has the plate's grey (0.3 * 255 = 76 in each channel). The window is polled with
xwd every few milliseconds. Each figure is the median of the runs (default 5) with the spread.

Usage: launch_times.py PATH-TO-gui_demo [RUNS]    (run from anywhere; the demo runs from the
checkout root, which holds default/). Needs Xvfb, xdotool, xwd and xwininfo.
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


def main_windows(env):
    """Ids and geometries of the demo's main windows (its message boxes have no class)."""
    out = run(["xwininfo", "-root", "-children"], env).decode(errors="replace")
    found = []
    for line in out.splitlines():
        if '"GUI  DEMO": ("gui_demo"' in line:
            fields = line.split()
            found.append((int(fields[0], 16), fields[-2]))
    return found


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


def wait_shown(env, deadline, exclude=None, geometry=None):
    """Polls until a main window other than `exclude` (of the given geometry) shows the plate."""
    while time.monotonic() < deadline:
        for wid, geo in main_windows(env):
            if wid != exclude and (geometry is None or geo == geometry) and spot_grey(wid, env):
                return wid
        time.sleep(0.002)
    return None


def key(env, wid, name):
    run(["xdotool", "keydown", "--window", str(wid), name], env)
    time.sleep(0.1)
    run(["xdotool", "keyup", "--window", str(wid), name], env)


def summary(name, values):
    values = sorted(values)
    print(f"{name}: median {statistics.median(values):.0f} ms "
          f"(min {values[0]:.0f}, max {values[-1]:.0f}; runs: {', '.join(f'{v:.0f}' for v in values)})")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    demo = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy")
    startup, toggles = [], []
    try:
        for _ in range(runs):
            t0 = time.monotonic()
            proc = subprocess.Popen([demo], cwd=ROOT, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wid = wait_shown(env, t0 + 20)
            if wid is None:
                proc.kill()
                sys.exit("launch_times: the demo showed no frame")
            startup.append((time.monotonic() - t0) * 1000)
            time.sleep(0.5)
            # F1 switches to a 640x480 fullscreen window, F1 again back to a framed one.
            for geometry in ["640x480+0+0", "640x480+8+31"]:
                t0 = time.monotonic()
                run(["xdotool", "keydown", "--window", str(wid), "F1"], env)
                new = wait_shown(env, t0 + 20, exclude=wid, geometry=geometry)
                if new is not None:
                    run(["xdotool", "keyup", "--window", str(new), "F1"], env)
                if new is None:
                    proc.kill()
                    sys.exit("launch_times: no new window after F1")
                toggles.append((time.monotonic() - t0) * 1000)
                wid = new
                time.sleep(0.5)
            key(env, wid, "Escape")
            proc.wait(timeout=20)
    finally:
        xvfb.terminate()
        xvfb.wait()
    summary("start-up to first frame", startup)
    summary("fullscreen toggle to the new window's first frame", toggles)


if __name__ == "__main__":
    main()
