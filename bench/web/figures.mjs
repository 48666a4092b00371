// The web build's figures, in headless Chromium (WebGL 2 on SwiftShader): page load to the
// program's first frame (median of RUNS loads, each in a fresh page with an empty cache), the bytes
// the page transfers (and their gzip-compressed size, as a server that compresses would send them),
// and frames per second on each demo page (frame-rates.mjs: against a plain WebGL 2 page, and
// against the baseline site that GLGUI_BENCH_BASELINE names, if any; with --load beside two
// `yes > /dev/null`). Run by `bash scripts/test-web.sh --bench [--load] [RUNS]`.
//
// Usage: node figures.mjs URL SITE-DIR [RUNS] [--load]
import {createRequire} from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import {fileURLToPath} from 'node:url';
import {frameRates} from './frame-rates.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(path.join(here, '../../tests/web/package.json'));
const puppeteer = require('puppeteer-core');

const options = process.argv.slice(2).filter(a => a.startsWith('--'));
const [url, site, runsArg] = process.argv.slice(2).filter(a => !a.startsWith('--'));
const RUNS = Number(runsArg || 10);
const WIDTH = 640, HEIGHT = 480;

const home = fs.mkdtempSync(path.join(os.tmpdir(), 'glgui-bench-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: false,
  args: ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
    `--window-size=${WIDTH},${HEIGHT}`, '--mute-audio'],
  userDataDir: path.join(home, 'profile'),
  env: {...process.env, HOME: home, XDG_CONFIG_HOME: home, XDG_CACHE_HOME: home},
});

// Counts the program's frames and notes when the first one came, in ms from the navigation's
// start (the page's time origin).
function countFrames() {
  window.__frames = 0;
  const raf = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = f => raf(t => {
    if (window.__frames++ === 0) window.__firstFrame = performance.now();
    f(t);
  });
}

async function load() {
  const page = await browser.newPage();
  await page.bringToFront();
  await page.setViewport({width: WIDTH, height: HEIGHT});
  await page.setCacheEnabled(false);
  await page.evaluateOnNewDocument(countFrames);
  let bytes = 0;
  const client = await page.createCDPSession();
  await client.send('Network.enable');
  client.on('Network.loadingFinished', e => { bytes += e.encodedDataLength; });
  const started = performance.now();
  await page.goto(url, {waitUntil: 'load'});
  await page.waitForFunction(() => window.__frames > 0, {timeout: 30000, polling: 5});
  const wall = performance.now() - started;
  return {page, ms: await page.evaluate(() => window.__firstFrame), wall, bytes};
}

const median = xs => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

// ---- load to first frame, bytes ------------------------------------------------------------------
const times = [], walls = [];
let transferred = 0;
for (let i = 0; i < RUNS; i++) {
  const {page, ms, wall, bytes} = await load();
  times.push(ms);
  walls.push(wall);
  transferred = bytes;
  await page.close();
}
console.log(`page load to first frame: median ${median(times).toFixed(0)} ms over ${RUNS} loads ` +
            `(min ${Math.min(...times).toFixed(0)}, max ${Math.max(...times).toFixed(0)}), from the ` +
            `navigation's start; ${median(walls).toFixed(0)} ms as the driving script sees it`);

const files = fs.readdirSync(site).filter(f => /^(index\.html|.*\.(js|wasm|data))$/.test(f));
let raw = 0, gz = 0;
for (const f of files) {
  const data = fs.readFileSync(path.join(site, f));
  const packed = zlib.gzipSync(data, {level: 9}).length;
  raw += data.length;
  gz += packed;
  console.log(`  ${f}: ${data.length} bytes, ${packed} gzip'd`);
}
console.log(`bytes transferred by a load: ${transferred} (site files ${raw}, gzip'd ${gz})`);

// ---- frames per second per page --------------------------------------------------------------------
await frameRates(browser, url, {baseline: process.env.GLGUI_BENCH_BASELINE, load: options.includes('--load')});
await browser.close();
fs.rmSync(home, {recursive: true, force: true});
