#!/usr/bin/env python3
"""Where gui_demo's start-up and fullscreen rebuild spend their time, step by step.

Runs demo_launch_probe (gui_demo with its calls between objects timed, see LaunchProbe.cpp)
RUNS times on a private Xvfb of each screen size given. Each run starts the program, lets its
window run for a moment after the first frame, toggles fullscreen (the message F1 posts), again
after the next window's first frame, and quits after the third window's first frame. On a
1024x768 screen the 640x480 mode switch fails and the program shows its message box; this
driver dismisses it (Return) as soon as the probe says it is about to show.

Each step's time is the time spent in its calls minus the time of timed calls nested in them
(as a profiler's "self" time); "other" is what no timed call covers (the message loop, X event
pumping, the shell between calls). A phase runs from the process start, or from the toggle
request, to the end of the first buffer swap of the new window. The message box's time, from
the call until the box is dismissed, is shown in its own row and left out of the phase total.
Figures are medians over the runs, in milliseconds.

Usage: launch_breakdown.py PATH-TO-demo_launch_probe [RUNS] [SCREEN ...]
       (RUNS default 10; SCREEN default 640x480 1024x768). Needs Xvfb, xdotool and xwininfo.
"""
import os
import select
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import launch_times  # noqa: E402  (Xvfb start-up and X queries)

BOX = "message box, open until dismissed"
ORDER = [
    "process start to main",
    "SDL video set-up",
    "display mode: query, switch, restore",
    BOX,
    "window creation",
    "GL context creation",
    "GL context: make current, release",
    "show window",
    "BuildScene: sound player",
    "BuildScene: BFF font",
    "BuildScene: art textures",
    "BuildScene: art textures, GLU mipmaps",
    "BuildScene: InitGUI, the rest",
    "BuildScene: font images",
    "BuildScene: font images, GLU mipmaps",
    "BuildScene: grid fonts",
    'BuildScene: system font "Comic Sans MS"',
    'BuildScene: system font "Arial"',
    "BuildScene: screens and the rest",
    "first DrawScene",
    "first swap",
    "FreeScene",
    "audio device closing",
    "SDL audio shut-down",
    "GL context destruction",
    "window destruction",
    "SDL video shut-down",
    "other",
]
MARKS = {"start", "main", "first frame", "F1 to fullscreen", "F1 to a window"}


def read_events(path):
    events = []
    with open(path) as f:
        for line in f:
            name, begin, end, depth = line.rstrip("\n").split("\t")
            events.append((name, int(begin), int(end), int(depth)))
    return events


def phases(events):
    """Splits a run into phases: (title, begin, end, {step: ms})."""
    result = []
    title, begin = None, None
    for i, (name, b, e, depth) in enumerate(events):
        if name in ("start", "F1 to fullscreen", "F1 to a window"):
            title, begin, first = name, b, i
        elif name == "first frame" and title is not None:
            steps = self_times(events[first:i], begin)
            total = (b - begin) / 1e6 - steps.get(BOX, 0.0)
            steps["other"] = total - sum(v for k, v in steps.items() if k != BOX)
            result.append((title, total, steps))
            title = None
    return result


def self_times(events, begin):
    steps = {}
    timed = [ev for ev in events if ev[0] not in MARKS]
    for i, (name, b, e, depth) in enumerate(timed):
        inner = 0
        for name2, b2, e2, depth2 in timed[i + 1:]:
            if b2 >= e:
                break
            if depth2 == depth + 1:
                inner += e2 - b2
        steps[name] = steps.get(name, 0.0) + (e - b - inner) / 1e6
    mains = [b for name, b, e, d in events if name == "main"]
    if mains:
        steps["process start to main"] = (mains[0] - begin) / 1e6
    return steps


def dismiss_boxes(env, known):
    """Sends Return to every top-level window that is neither a known one nor a main window."""
    out = launch_times.run(["xwininfo", "-root", "-children"], env).decode(errors="replace")
    for line in out.splitlines():
        fields = line.split()
        if not fields or not fields[0].startswith("0x"):
            continue
        wid = int(fields[0], 16)
        if wid in known or '"GUI  DEMO": ("gui_demo"' in line:
            continue
        launch_times.run(["xdotool", "key", "--window", str(wid), "Return"], env)


def top_level_ids(env):
    out = launch_times.run(["xwininfo", "-root", "-children"], env).decode(errors="replace")
    return {int(line.split()[0], 16) for line in out.splitlines() if line.split() and line.split()[0].startswith("0x")}


def one_run(probe, env):
    with tempfile.NamedTemporaryFile(suffix=".tsv", delete=False) as out:
        path = out.name
    read_end, write_end = os.pipe()
    known = top_level_ids(env)
    t0 = time.monotonic_ns()
    proc = subprocess.Popen([probe], cwd=launch_times.ROOT, pass_fds=(write_end,),
                            env=dict(env, BREAKDOWN_T0=str(t0), BREAKDOWN_OUT=path, BREAKDOWN_FD=str(write_end)),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    box_open = False
    pending = b""
    deadline = time.monotonic() + 60
    with os.fdopen(read_end, "rb", buffering=0) as pipe:
        while time.monotonic() < deadline:
            ready, _, _ = select.select([pipe], [], [], 0.02 if box_open else 1.0)
            if ready:
                chunk = pipe.read(256)
                if not chunk:
                    break  # the program ended
                pending += chunk
                *lines, pending = pending.split(b"\n")
                for line in lines:
                    box_open = line == b"box"
            if box_open:
                dismiss_boxes(env, known)
    try:
        proc.wait(timeout=20)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
        sys.exit("launch_breakdown: the probe did not end")
    events = read_events(path)
    os.unlink(path)
    return phases(events)


def table(screen, runs):
    titles = []
    for run in runs:
        for title, _, _ in run:
            if title not in titles:
                titles.append(title)
    names = {"start": "start", "F1 to fullscreen": "F1 to fullscreen", "F1 to a window": "F1 back to a window"}
    print(f"\n### {screen} screen, {len(runs)} runs (median ms)\n")
    print("| step | " + " | ".join(names[t] for t in titles) + " |")
    print("|---|" + "---:|" * len(titles))
    per = {t: [dict(p[2], total=p[1]) for run in runs for p in run if p[0] == t] for t in titles}
    seen = set()
    for step in ORDER + sorted({s for t in titles for d in per[t] for s in d} - set(ORDER) - {"total"}):
        if step in seen:
            continue
        seen.add(step)
        cells = []
        for t in titles:
            values = [d.get(step, 0.0) for d in per[t]]
            cells.append(f"{statistics.median(values):.1f}" if any(values) else "")
        if any(cells):
            print(f"| {step} | " + " | ".join(cells) + " |")
    print("| **total (box excluded)** | " + " | ".join(
        f"**{statistics.median(d['total'] for d in per[t]):.1f}**" for t in titles) + " |")
    toggles = [d["total"] for t in titles if t != "start" for d in per[t]]
    if toggles:
        print(f"\nF1, both directions: median {statistics.median(toggles):.1f} ms "
              f"(min {min(toggles):.1f}, max {max(toggles):.1f})")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    probe = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    screens = sys.argv[3:] or ["640x480", "1024x768"]
    print(f"load before: {os.getloadavg()[0]:.2f} {os.getloadavg()[1]:.2f} {os.getloadavg()[2]:.2f}")
    for screen in screens:
        xvfb, display = launch_times.start_xvfb(screen + "x24")
        env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy")
        try:
            results = [one_run(probe, env) for _ in range(runs)]
        finally:
            xvfb.terminate()
            xvfb.wait()
        table(screen, results)
    print(f"\nload after: {os.getloadavg()[0]:.2f} {os.getloadavg()[1]:.2f} {os.getloadavg()[2]:.2f}")


if __name__ == "__main__":
    main()
