// Where a page load's time goes, from the navigation's start to the program's first frame, in
// headless Chromium (WebGL 2 on SwiftShader): the script, wasm and data fetches (resource timing),
// the wasm's compile and instantiation, the runtime's start (data in the file system), main, and
// the first frame; then, from a CPU profile of the same loads, the time spent inside named wasm
// functions (a build linked with --profiling-funcs keeps their names) up to the first frame.
// Medians of RUNS loads.
//
// Usage: node start-profile.mjs URL [RUNS] [FUNCTION ...]
//   FUNCTION: names whose inclusive time to print (default: the scene's build and its parts).
import {createRequire} from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(path.join(here, '../../tests/web/package.json'));
const puppeteer = require('puppeteer-core');

const [url, runsArg, ...wanted] = process.argv.slice(2);
const RUNS = Number(runsArg || 5);
const FUNCTIONS = wanted.length ? wanted : [
  'main', 'BuildScene()', 'LoadImageTexture', 'CreateGridFont', 'CreateSystemFont', 'wglUseFontOutlinesA',
  'FT_Load_Glyph', 'gluTessEndPolygon', 'FindFace', 'FT_Open_Face', 'glNewList', 'glEndList',
  'LoadTGA', 'ResizeViewport', 'InitGL', 'CreateGLWindow', 'SDL_Init', 'SDL_CreateWindow',
  'SDL_GL_CreateContext', 'SDL_GL_SwapWindow', 'DrawGLScene', '(garbage collector)', '(program)'];

const home = fs.mkdtempSync(path.join(os.tmpdir(), 'glgui-profile-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: false,
  args: ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
    '--window-size=640,480', '--mute-audio'],
  userDataDir: path.join(home, 'profile'),
  env: {...process.env, HOME: home, XDG_CONFIG_HOME: home, XDG_CACHE_HOME: home},
});

// Marks, in ms from the navigation's start: the wasm's compile and instantiation, the runtime's
// start (glguiHooks.beforeMain), main's first frame.
function marks() {
  console.profile('start');
  const m = window.__marks = {};
  const at = name => { if (!(name in m)) m[name] = performance.now(); };
  for (const fn of ['instantiateStreaming', 'instantiate', 'compileStreaming', 'compile']) {
    const real = WebAssembly[fn];
    if (!real) continue;
    WebAssembly[fn] = function(...args) {
      at('wasm ' + fn + ' called');
      return real.apply(this, args).then(r => { at('wasm ' + fn + ' done'); return r; });
    };
  }
  window.glguiHooks = {beforeMain: () => at('runtime ready')};
  const getContext = HTMLCanvasElement.prototype.getContext;
  let contexts = 0;
  HTMLCanvasElement.prototype.getContext = function(kind, ...rest) {
    if (kind !== 'webgl2') return getContext.call(this, kind, ...rest);
    const name = `WebGL 2 context ${++contexts} (${this.id || 'a canvas without id'})`;
    at(name + ' asked for');
    const context = getContext.call(this, kind, ...rest);
    at(name + ' made');
    return context;
  };
  const raf = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = f => raf(t => {
    if (!('first frame' in m)) console.profileEnd('start');
    at('first frame');
    f(t);
  });
}

const median = xs => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const rows = {};
const add = (name, ms) => (rows[name] ||= []).push(ms);
const inclusive = {};

for (let i = 0; i < RUNS; i++) {
  const page = await browser.newPage();
  await page.setViewport({width: 640, height: 480});
  await page.setCacheEnabled(false);
  await page.evaluateOnNewDocument(marks);
  const client = await page.createCDPSession();
  await client.send('Profiler.enable');
  await client.send('Profiler.setSamplingInterval', {interval: 200});
  const profiled = new Promise(resolve => client.on('Profiler.consoleProfileFinished', e => resolve(e.profile)));
  await page.goto(url, {waitUntil: 'load'});
  await page.waitForFunction(() => 'first frame' in window.__marks, {timeout: 30000, polling: 5});
  const profile = await profiled;
  const {marks: m, page: html, resources} = await page.evaluate(() => ({
    marks: window.__marks,
    page: performance.getEntriesByType('navigation')[0].responseEnd,
    resources: performance.getEntriesByType('resource').map(r => [r.name.replace(/.*\//, ''), r.startTime,
      r.responseEnd]),
  }));
  add('index.html fetched', html);
  for (const [name, start, end] of resources) {
    add(`${name} fetch start`, start);
    add(`${name} fetched`, end);
  }
  for (const [name, ms] of Object.entries(m)) add(name, ms);

  // Inclusive time per function from the samples: each sample's time counts once for every
  // distinct function on its stack.
  const byId = new Map(profile.nodes.map(n => [n.id, n]));
  const parent = new Map();
  for (const n of profile.nodes) for (const c of n.children || []) parent.set(c, n.id);
  const total = {};
  profile.samples.forEach((id, k) => {
    const dt = (profile.timeDeltas[k + 1] || 0) / 1000;
    const seen = new Set();
    for (let n = id; n !== undefined; n = parent.get(n)) seen.add(byId.get(n).callFrame.functionName);
    for (const f of seen) total[f] = (total[f] || 0) + dt;
  });
  if (process.env.PROFILE_TOP && i === RUNS - 1)
    for (const [f, ms] of Object.entries(total).sort((a, b) => b[1] - a[1]).slice(0, Number(process.env.PROFILE_TOP)))
      console.log(`  ${ms.toFixed(1).padStart(7)}  ${f}`);
  for (const f of FUNCTIONS) {
    const key = Object.keys(total).find(k => k === f) ??
                Object.keys(total).find(k => k.replace(/\(.*/, '') === f.replace(/\(.*/, ''));
    (inclusive[f] ||= []).push(key ? total[key] : 0);
  }
  await page.close();
}

console.log(`timeline (median of ${RUNS} loads, ms from the navigation's start):`);
for (const [name, xs] of Object.entries(rows).sort((a, b) => median(a[1]) - median(b[1])))
  console.log(`  ${median(xs).toFixed(0).padStart(6)}  ${name}`);
console.log('inclusive time in functions (median, ms, from CPU samples):');
for (const [f, xs] of Object.entries(inclusive)) console.log(`  ${median(xs).toFixed(1).padStart(7)}  ${f}`);
await browser.close();
fs.rmSync(home, {recursive: true, force: true});
