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

Several probes (e.g. builds of two commits, as NAME=PATH) are run in turn, one run of each in
every round, so that they share the machine's load alike; each gets its own columns.

Usage: launch_breakdown.py [--runs N] [--screen WxH ...] [NAME=]PATH-TO-demo_launch_probe ...
       (N default 10; screens default 640x480 and 1024x768). Needs Xvfb, xdotool and libX11.
"""
import argparse
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
    """Sends Return to every message box that is not a known window."""
    for wid in launch_times.top_level_windows(env)[1] - known:
        launch_times.run(["xdotool", "key", "--window", str(wid), "Return"], env)


def top_level_ids(env):
    return set(launch_times.x_display(env).children())


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


def table(screen, results):
    """results: {probe name: [phases of each run]}"""
    names = {"start": "start", "F1 to fullscreen": "F1 to fullscreen", "F1 to a window": "F1 back to a window"}
    columns = []  # (probe, phase title)
    for probe, runs in results.items():
        for run in runs:
            for title, _, _ in run:
                if (probe, title) not in columns:
                    columns.append((probe, title))
    count = max(len(runs) for runs in results.values())
    print(f"\n### {screen} screen, {count} runs each (median ms)\n")
    several = len(results) > 1
    print("| step | " + " | ".join((f"{p}: " if several else "") + names[t] for p, t in columns) + " |")
    print("|---|" + "---:|" * len(columns))
    per = {c: [dict(ph[2], total=ph[1]) for run in results[c[0]] for ph in run if ph[0] == c[1]] for c in columns}
    extra = sorted({s for c in columns for d in per[c] for s in d} - set(ORDER) - {"total"})
    for step in ORDER + extra:
        cells = []
        for c in columns:
            values = [d.get(step, 0.0) for d in per[c]]
            cells.append(f"{statistics.median(values):.1f}" if any(values) else "")
        if any(cells):
            print(f"| {step} | " + " | ".join(cells) + " |")
    print("| **total (box excluded)** | " + " | ".join(
        f"**{statistics.median(d['total'] for d in per[c]):.1f}**" for c in columns) + " |")
    print()
    for probe in results:
        toggles = [d["total"] for c in columns if c[0] == probe and c[1] != "start" for d in per[c]]
        starts = [d["total"] for c in columns if c[0] == probe and c[1] == "start" for d in per[c]]
        print(f"{probe}: start median {statistics.median(starts):.1f} ms (min {min(starts):.1f}, max {max(starts):.1f}); "
              f"F1 both directions median {statistics.median(toggles):.1f} ms "
              f"(min {min(toggles):.1f}, max {max(toggles):.1f})")


def load():
    return " ".join(f"{v:.2f}" for v in os.getloadavg())


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--screen", action="append")
    parser.add_argument("probes", nargs="+", metavar="[NAME=]PATH")
    args = parser.parse_args()
    probes = {}
    for item in args.probes:
        name, _, path = item.rpartition("=")
        probes[name or os.path.basename(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(path)))))] = \
            os.path.abspath(path)
    for screen in args.screen or ["640x480", "1024x768"]:
        print(f"\n{screen}: load average before {load()}")
        xvfb, display = launch_times.start_xvfb(screen + "x24")
        env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy")
        results = {name: [] for name in probes}
        try:
            for _ in range(args.runs):
                for name, path in probes.items():
                    results[name].append(one_run(path, env))
        finally:
            launch_times.close_displays()
            xvfb.terminate()
            xvfb.wait()
        print(f"{screen}: load average after {load()}")
        table(screen, results)


if __name__ == "__main__":
    main()
