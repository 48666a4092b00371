// The web build's figures, in headless Chromium (WebGL 2 on SwiftShader): page load to the
// program's first frame (median of RUNS loads, each in a fresh page with an empty cache), the bytes
// the page transfers (and their gzip-compressed size, as a server that compresses would send them),
// and frames per second on each demo page (frame-rates.mjs: against a plain WebGL 2 page, and
// against the baseline site that GLGUI_BENCH_BASELINE names, if any; with --load beside two
// `yes > /dev/null`). Run by `bash scripts/test-web.sh --bench [--load] [RUNS]`.
//
// Usage: node figures.mjs URL SITE-DIR [RUNS] [--load] [--first-frame]
// --first-frame measures the load and the first frame only, not the frame rates.
// With GLGUI_BENCH_MINIMAL=DIR (the minimal WebGL 2 program of bench/web/minimal, which
// test-web.sh builds) and GLGUI_BENCH_BASELINE=SITE-DIR (another build's site, e.g. main's), the
// first frame is also measured in loads that alternate between the sites, at 640x480 and at a
// phone's size (390x844 CSS pixels, device pixel ratio 3, touch), with the medians' ratios.
import {createRequire} from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import {fileURLToPath} from 'node:url';
import {frameRates, serve} from './frame-rates.mjs';

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

// Counts the program's frames and notes when the first and the third came, in ms from the
// navigation's start (the page's time origin).
function countFrames() {
  window.__frames = 0;
  const raf = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = f => raf(t => {
    const n = window.__frames++;
    if (n === 0) window.__firstFrame = performance.now();
    if (n === 2) window.__thirdFrame = performance.now();
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

// ---- first frame against the floor and the baseline, at the desktop's and a phone's size ----------
await compareFirstFrames();

// ---- frames per second per page (not with --first-frame) ------------------------------------------
if (!options.includes('--first-frame'))
  await frameRates(browser, url, {baseline: process.env.GLGUI_BENCH_BASELINE, load: options.includes('--load')});
await browser.close();
fs.rmSync(home, {recursive: true, force: true});

// Site files' bytes, raw and gzip'd (what a compressing server sends).
function siteBytes(dir) {
  let raw = 0, gz = 0;
  for (const f of fs.readdirSync(dir).filter(f => /^(index\.html|.*\.(js|wasm|data))$/.test(f))) {
    const data = fs.readFileSync(path.join(dir, f));
    raw += data.length;
    gz += zlib.gzipSync(data, {level: 9}).length;
  }
  return `${(raw / 1e6).toFixed(2)} MB, ${(gz / 1e6).toFixed(2)} MB gzip'd`;
}

// Navigation start to the first and the third requestAnimationFrame callbacks, in a fresh page with
// an empty cache.
async function firstFrame(address, viewport) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  await page.setCacheEnabled(false);
  await page.evaluateOnNewDocument(countFrames);
  await page.goto(address, {waitUntil: 'load'});
  await page.waitForFunction(() => window.__frames > 2, {timeout: 30000, polling: 5});
  const ms = await page.evaluate(() => [window.__firstFrame, window.__thirdFrame]);
  await page.close();
  return ms;
}

function permutations(items) {
  if (items.length <= 1) return [items];
  return items.flatMap((first, i) =>
    permutations([...items.slice(0, i), ...items.slice(i + 1)]).map(rest => [first, ...rest]));
}

async function compareFirstFrames() {
  const others = {baseline: process.env.GLGUI_BENCH_BASELINE, minimal: process.env.GLGUI_BENCH_MINIMAL};
  for (const k of Object.keys(others)) if (!others[k]) delete others[k];
  if (!Object.keys(others).length) return;
  const server = await serve(others);
  server.unref();
  const served = `http://127.0.0.1:${server.address().port}/`;
  const sites = [['this build', url, site]];
  if (others.baseline) sites.push(['baseline', served + 'baseline/', others.baseline]);
  if (others.minimal) sites.push(['minimal WebGL 2', served + 'minimal/', others.minimal]);
  for (const [name, , dir] of sites) console.log(`  ${name}: ${siteBytes(dir)} (${dir})`);
  const viewports = [['640x480', {width: WIDTH, height: HEIGHT}],
    ['phone 390x844 DPR 3 touch', {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true}]];
  for (const [label, viewport] of viewports) {
    const times = sites.map(() => []), thirds = sites.map(() => []);
    // A round of loads that is not counted warms the browser up (its GPU process starts with the
    // first). The rounds take the sites in every order in turn: a load shares the machine with
    // the clearing up after the page before it, so none may always follow the same one.
    for (const [, address] of sites) await firstFrame(address, viewport);
    const orders = permutations(sites.map((_, k) => k));
    for (let i = 0; i < RUNS; i++)
      for (const k of orders[i % orders.length]) {
        const [first, third] = await firstFrame(sites[k][1], viewport);
        times[k].push(first);
        thirds[k].push(third);
      }
    const medians = times.map(median);
    console.log(`first frame at ${label}, loads alternating, median of ${RUNS}: ` +
                sites.map(([name], k) => `${name} ${medians[k].toFixed(0)} ms`).join(', '));
    // The third frame's start: work moved out of the first frame into the next ones shows here.
    console.log(`  third frame: ` + sites.map(([name], k) => `${name} ${median(thirds[k]).toFixed(0)} ms`).join(', '));
    for (let k = 1; k < sites.length; k++)
      console.log(`  this build / ${sites[k][0]}: ${(medians[0] / medians[k]).toFixed(2)}`);
    if (sites.length === 3)
      console.log(`  baseline / minimal WebGL 2: ${(medians[1] / medians[2]).toFixed(2)}`);
  }
}
