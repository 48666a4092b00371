// Frames per second on each demo page, in the browser that bench/web/figures.mjs launched, against a
// plain WebGL 2 page that draws 305 separately drawn textured quads a frame (bench/web/quads/), and,
// when GLGUI_BENCH_BASELINE names the site of another build, against that build too. The sites
// take turns on each page: each round measures every one for the same time, one after the other,
// in the same browser; only the page in front draws (a page behind gets no animation frames).
// With `load`, two `yes > /dev/null` run beside the browser meanwhile, started and stopped here.
// Prints a Markdown table per page and site: the median frames per second, the median of the
// rounds' ratios against the plain page, and the OpenGL 1.1 layer's counters per frame ("-" for a
// build that does not give them).
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const WIDTH = 640, HEIGHT = 480;
const PAGES = {start: null, panels: [65, 15], text: [568, 15], buttons: [65, 461]};
const REST = [320, 240];
const SETTLE_MS = 3000;  // the camera's pull-back and return after a page button
const MEASURE_MS = 3000;
const COUNTERS = [['draws', 'draws'], ['glesCalls', 'GLES calls'], ['programSwitches', 'program switches'],
  ['programsMade', 'programs made'], ['streamedBytes', 'streamed bytes']];
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};

// Serves folders under their names (/quads/, /baseline/) on a free port of 127.0.0.1.
export async function serve(folders) {
  const server = http.createServer((req, res) => {
    const parts = decodeURIComponent(new URL(req.url, 'http://x').pathname).split('/').filter(Boolean);
    const root = folders[parts.shift()];
    const file = root && path.join(root, ...(parts.length ? parts : ['index.html']));
    if (!file || !file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404).end();
      return;
    }
    res.writeHead(200, {'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(res);
  });
  await new Promise(r => server.listen(0, '127.0.0.1', r));
  return server;
}

// In the page before its scripts: a count of animation frames, and the program's Module.
function instrument() {
  window.__frames = 0;
  const raf = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = f => raf(t => {
    window.__frames++;
    f(t);
  });
  window.glguiHooks = {beforeMain: m => { window.__module = m; }};
}

// Frames, time, and the layer's counters where the build exports them. The export is called
// directly: ccall would take the program's asynchronous wait for the next frame for its own.
const sample = page => page.evaluate(() => {
  const m = window.__module;
  let stats = null;
  if (m && typeof m._gl11_stats_json === 'function') {
    const at = m._gl11_stats_json();
    stats = JSON.parse(new TextDecoder().decode(m.HEAPU8.subarray(at, m.HEAPU8.indexOf(0, at))));
  }
  return {frames: window.__frames, time: performance.now(), stats};
});

const median = xs => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

export async function frameRates(browser, siteUrl, {baseline = '', load = false, rounds = 3} = {}) {
  if (baseline && !fs.existsSync(path.join(baseline, 'index.html')))
    throw new Error(`GLGUI_BENCH_BASELINE: no site in ${baseline} (no index.html)`);
  const server = await serve({quads: path.join(here, 'quads'), ...(baseline ? {baseline} : {})});
  const local = `http://127.0.0.1:${server.address().port}/`;
  const sites = [...(baseline ? [['baseline', local + 'baseline/']] : []), ['new', siteUrl],
    ['plain', local + 'quads/']];
  const yes = [];
  const stopLoad = () => yes.forEach(child => child.kill('SIGTERM'));
  process.once('exit', stopLoad);
  try {
    const pages = {};
    for (const [name, url] of sites) {
      const page = await browser.newPage();
      await page.bringToFront();
      await page.setViewport({width: WIDTH, height: HEIGHT});
      await page.evaluateOnNewDocument(instrument);
      await page.goto(url, {waitUntil: 'load'});
      await page.waitForFunction(() => window.__frames > 0, {timeout: 60000, polling: 50});
      pages[name] = page;
    }
    if (load) {
      for (let i = 0; i < 2; i++) {
        const out = fs.openSync('/dev/null', 'w');
        yes.push(spawn('yes', [], {stdio: ['ignore', out, 'ignore']}));
        fs.closeSync(out);
      }
    }
    const wait = ms => new Promise(r => setTimeout(r, ms));
    const beside = load ? `beside two \`yes > /dev/null\` (PIDs ${yes.map(c => c.pid).join(', ')})` : 'no load of our own';
    console.log(`frames per second per page, ${beside}; ` +
                `${rounds} rounds, the sites in turn (${sites.map(s => s[0]).join(', ')}), ${MEASURE_MS} ms each;`);
    console.log('fps: median; x plain: median of the rounds\' ratios to the plain WebGL 2 page (305 quads); ' +
                'counters per frame');
    console.log();
    console.log(`| page | site | fps | x plain | ${COUNTERS.map(c => c[1]).join(' | ')} |`);
    console.log(`|---|---|---|---|${'---|'.repeat(COUNTERS.length)}`);
    for (const [pageName, button] of Object.entries(PAGES)) {
      for (const [name] of sites) {
        if (name === 'plain') continue;
        const page = pages[name];
        await page.bringToFront();
        if (button) {
          await page.mouse.move(...button, {steps: 5});
          await page.mouse.down();
          await wait(100);
          await page.mouse.up();
        }
        await page.mouse.move(...REST, {steps: 5});
        await wait(SETTLE_MS);
      }
      const fps = {}, counts = {};
      for (let r = 0; r < rounds; r++) {
        for (const [name] of sites) {
          const page = pages[name];
          await page.bringToFront();
          await wait(500);
          const a = await sample(page);
          await wait(MEASURE_MS);
          const b = await sample(page);
          (fps[name] ||= []).push(1000 * (b.frames - a.frames) / (b.time - a.time));
          if (a.stats && b.stats && b.stats.frames > a.stats.frames) {
            const frames = b.stats.frames - a.stats.frames;
            counts[name] = Object.fromEntries(COUNTERS.map(([k]) => [k, (b.stats[k] - a.stats[k]) / frames]));
          }
        }
      }
      for (const [name] of sites) {
        const ratio = median(fps[name].map((f, i) => f / fps.plain[i]));
        const cells = COUNTERS.map(([k]) => counts[name] ? counts[name][k].toFixed(0) : '-');
        console.log(`| ${pageName} | ${name} | ${median(fps[name]).toFixed(1)} | ${ratio.toFixed(2)}x | ` +
                    `${cells.join(' | ')} |`);
      }
    }
    for (const page of Object.values(pages)) await page.close();
  } finally {
    stopLoad();
    process.removeListener('exit', stopLoad);
    server.close();
  }
}
