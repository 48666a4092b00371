#!/usr/bin/env python3
"""The demo's frame through the OpenGL 1.1 layer against Mesa's OpenGL, per page, for two builds in
one run: gl11_frame_bench and gl11_frame_bench_gl of a baseline build and of this one, run in turn
(baseline layer, baseline OpenGL, new layer, new OpenGL) for a number of rounds, so that both see
the same machine. Prints a Markdown table: per page and build the median frame time on each, the
median of the rounds' layer/OpenGL ratios, and the layer's counters per frame ("-" where a build
does not count them).

Usage: python3 bench/gl11/compare.py [--rounds N] [--min-time S] [--baseline DIR] [DIR]
DIR holds this build's two programs (default build/bench/gl11), --baseline DIR the baseline's;
without it, the table has this build alone.
"""
import argparse
import json
import os
import statistics
import subprocess
import sys

PAGES = {'-1': 'start', '0': 'panels', '1': 'text', '2': 'buttons'}
COUNTERS = [('draws', 'draws'), ('gles_calls', 'GLES calls'), ('program_switches', 'program switches'),
            ('programs_made', 'programs made'), ('streamed_bytes', 'streamed bytes')]


def run(program, min_time):
    """{page name: (real time in ms, {counter: value per frame})} of one run of a frame benchmark."""
    out = subprocess.run([program, '--benchmark_format=json', f'--benchmark_min_time={min_time}'],
                         check=True, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                         env={**os.environ, 'SDL_AUDIODRIVER': 'dummy'}).stdout
    pages = {}
    for b in json.loads(out)['benchmarks']:
        if b.get('error_occurred'):
            sys.exit(f'{program}: {b.get("error_message")}')
        page = PAGES.get(b['name'].rsplit(':', 1)[-1], b['name'])
        scale = {'ns': 1e-6, 'us': 1e-3, 'ms': 1.0, 's': 1e3}[b['time_unit']]
        pages[page] = (b['real_time'] * scale, {k: b[k] for k, _ in COUNTERS if k in b})
    return pages


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('dir', nargs='?', default=os.path.join(here, '../../build/bench/gl11'))
    parser.add_argument('--baseline')
    parser.add_argument('--rounds', type=int, default=5)
    parser.add_argument('--min-time', type=float, default=0.5)
    args = parser.parse_args()

    builds = ([('baseline', args.baseline)] if args.baseline else []) + [('new', args.dir)]
    for _, d in builds:
        for suffix in ('', '_gl'):
            if not os.access(os.path.join(d, 'gl11_frame_bench' + suffix), os.X_OK):
                sys.exit(f'no gl11_frame_bench{suffix} in {d}')
    # runs[build][api] = list of per-round results
    runs = {b: {'layer': [], 'gl': []} for b, _ in builds}
    for r in range(args.rounds):
        print(f'round {r + 1} of {args.rounds}', file=sys.stderr)
        for name, d in builds:
            runs[name]['layer'].append(run(os.path.join(d, 'gl11_frame_bench'), args.min_time))
            runs[name]['gl'].append(run(os.path.join(d, 'gl11_frame_bench_gl'), args.min_time))

    print(f'{args.rounds} rounds, builds alternating; times are medians, ratio the median of the '
          'rounds\' layer/OpenGL ratios; counters per frame')
    print()
    print('| page | build | layer ms | OpenGL ms | layer/OpenGL | ' + ' | '.join(c for _, c in COUNTERS) + ' |')
    print('|---|---|---|---|---|' + '---|' * len(COUNTERS))
    for page in PAGES.values():
        for name, _ in builds:
            layer = [r[page][0] for r in runs[name]['layer']]
            gl = [r[page][0] for r in runs[name]['gl']]
            ratio = statistics.median(a / b for a, b in zip(layer, gl))
            counters = runs[name]['layer'][-1][page][1]
            cells = [f'{counters[k]:.0f}' if k in counters else '-' for k, _ in COUNTERS]
            print(f'| {page} | {name} | {statistics.median(layer):.2f} | {statistics.median(gl):.2f} | '
                  f'{ratio:.2f}x | ' + ' | '.join(cells) + ' |')


if __name__ == '__main__':
    main()
