// gui_demo end to end in headless Chromium (WebGL 2 on SwiftShader), as a person uses it: each
// scenario loads the page afresh, drives it with real input events and checks what the page shows,
// what the program says on the console and how it ends. Waits are on events: the program's frames
// (each one is a requestAnimationFrame of the page), console messages and the document's state.
//
// Usage: node e2e.mjs URL REFERENCE-DIR OUTPUT-DIR [scenario ...]
// Pictures are compared with the Linux references: after masking the frame counter (top-left
// 131x14), at most 1 % of the pixels may differ by more than 16 levels in any channel.
import puppeteer from 'puppeteer-core';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import path from 'node:path';

const [url, referenceDir, outDir, ...only] = process.argv.slice(2);
if (!url || !referenceDir || !outDir) {
  console.error('usage: node e2e.mjs URL REFERENCE-DIR OUTPUT-DIR [scenario ...]');
  process.exit(2);
}
fs.mkdirSync(outDir, {recursive: true});

const WIDTH = 640, HEIGHT = 480;
const LEVELS = 16, SHARE = 0.01;  // the tolerance of a page picture
const MASK = {x: 0, y: 0, width: 131, height: 14};  // the frame counter
// The navigation buttons' centres, and where the mouse rests for pictures (as the Linux tests).
const PANEL_DEMO = [65, 15], TEXT_DEMO = [568, 15], BUTTON_DEMO = [65, 461], EXIT = [568, 461];
const REST = [320, 240];
const PHONE = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
// What a screen reader finds on each page besides the navigation, and axe-core's WCAG 2.2 AA rules.
const NAVIGATION = ['panel demo', 'text demo', 'button demo', 'exit'];
const PAGES = {'': {texts: ['wellcome to the veltro demo']}, 'panel demo': {texts: ['- a panelek mozgathatok']},
  'text demo': {texts: ['Normal text (outline).  éáűúőóüö']},
  'button demo': {texts: ['- atmossa a ket texturat'], buttons: ['button 1', 'button 2', 'button 3', 'button 4']}};
const AXE = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
const WCAG = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'];
const HARMLESS = [/ScriptProcessorNode is deprecated/, /AudioContext closed before a pending resume/,
  /GPU stall due to ReadPixels/, /Automatic fallback to software WebGL/];

const profile = path.join(outDir, 'profile');
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: false,  // --headless=new below: puppeteer's own choice would also strip our arguments
  args: ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
    `--window-size=${WIDTH},${HEIGHT}`, '--autoplay-policy=user-gesture-required', '--mute-audio'],
  userDataDir: profile,
  env: {...process.env, HOME: outDir, XDG_CONFIG_HOME: outDir, XDG_CACHE_HOME: outDir},
});

// ---- the page -------------------------------------------------------------------------------------

// Counts the program's frames and WebGL 2 contexts, the samples the page's audio played that were
// not silent, the frame at which the program ended, and the program's viewport (its client area).
function instrument() {
  window.__frames = 0;
  window.__contexts = 0;
  window.__audible = 0;
  const raf = window.requestAnimationFrame.bind(window);
  window.__browserFrame = raf;  // the browser's frames, whether the program draws or not
  window.requestAnimationFrame = f => raf(t => { window.__frames++; f(t); });
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
    const context = getContext.call(this, kind, ...rest);
    if (kind === 'webgl2' && this.id === 'canvas' && context) window.__contexts++;
    return context;
  };
  const viewport = WebGL2RenderingContext.prototype.viewport;
  WebGL2RenderingContext.prototype.viewport = function (...a) { window.__viewport = `${a[2]}x${a[3]}`; return viewport.apply(this, a); };
  const create = AudioContext.prototype.createScriptProcessor;
  AudioContext.prototype.createScriptProcessor = function (...args) {
    const node = create.apply(this, args);
    let handler = null;
    Object.defineProperty(node, 'onaudioprocess', {
      get: () => handler,
      set: h => {
        handler = h;
        node.addEventListener('audioprocess', e => {
          const samples = e.outputBuffer.getChannelData(0);
          for (let i = 0; i < samples.length; i++) if (samples[i] !== 0) window.__audible++;
        });
      },
    });
    node.addEventListener('audioprocess', e => handler && handler(e));
    return node;
  };
  document.addEventListener('DOMContentLoaded', () => {
    new MutationObserver(() => {
      if (document.body.dataset.exitCode !== undefined && window.__framesAtExit === undefined)
        window.__framesAtExit = window.__frames;
    }).observe(document.body, {attributes: true, attributeFilter: ['data-exit-code']});
  });
}

class Run {
  constructor(page, name) {
    this.page = page;
    this.name = name;
    this.console = [];
    this.errors = [];
    page.on('console', m => this.console.push(m.text()));
    page.on('pageerror', e => this.errors.push(e.message));
    page.on('dialog', d => { this.errors.push('dialog: ' + d.message()); d.accept(); });
  }
  log(text) { console.log(`  ${this.name}: ${text}`); }
  check(ok, what) {
    if (!ok) throw new Error(what);
    this.log('ok: ' + what);
  }
  async frames() { return this.page.evaluate(() => window.__frames); }
  // Waits until the program has drawn `n` more frames, or waits on a box, or has ended.
  async waitFrames(n, timeout = 20000) {
    const target = (await this.frames()) + n;
    await this.page.waitForFunction(t => window.__frames >= t || document.querySelector('.message-box') ||
                                         document.body.dataset.exitCode !== undefined,
                                    {timeout, polling: 10}, target);
  }
  async waitConsole(pattern, timeout = 20000) {
    const deadline = Date.now() + timeout;
    for (;;) {
      const found = this.console.find(t => pattern.test(t));
      if (found) return found;
      if (Date.now() > deadline) throw new Error(`no console message ${pattern}`);
      await new Promise(resolve => this.page.once('console', resolve)).catch(() => {});
    }
  }
  async move(x, y, steps = 5) {
    await this.page.mouse.move(x, y, {steps});
    await this.waitFrames(2);
  }
  async click(x, y) {
    await this.move(x, y);
    await this.page.mouse.down();
    await this.waitFrames(2);
    await this.page.mouse.up();
    await this.waitFrames(2);
  }
  // A key held over two frames, as a person's press lasts: the program reads keys once a frame.
  async key(name) {
    await this.page.keyboard.down(name);
    await this.waitFrames(2);
    await this.page.keyboard.up(name);
  }
  async drag(x, y, dx, dy) {
    await this.move(x, y);
    await this.page.mouse.down();
    await this.waitFrames(2);
    for (let step = 1; step <= 10; step++) {
      await this.page.mouse.move(x + step * dx, y + step * dy);
      await this.waitFrames(1);
    }
    await this.page.mouse.up();
    await this.waitFrames(2);
  }
  // Touch at a point of the references; the program takes a move, press and release a frame each.
  async touch(kind, x, y) {
    const r = await this.page.evaluate(() => document.getElementById('canvas').getBoundingClientRect().toJSON());
    await this.page.touchscreen[kind](r.x + x * r.width / WIDTH, r.y + y * r.height / HEIGHT);
    await this.waitFrames(4);
  }
  // Shoots the canvas at the references' size until it has settled and `ok` holds for what it shows.
  async see(what, ok, points = []) {
    const clip = await this.page.evaluate(w => {
      const r = document.getElementById('canvas').getBoundingClientRect();
      return {x: r.x, y: r.y, width: r.width, height: r.height, scale: w / r.width / devicePixelRatio};
    }, WIDTH);
    for (let last = null, deadline = Date.now() + 20000; ; await this.waitFrames(3)) {
      const now = Buffer.from(await this.page.screenshot({clip, path: path.join(outDir, `${this.name}-seen.png`)}));
      const found = last && await this.compare(now, last, points);
      if (found && found.differ === 0 && ok(found)) return this.log('ok: ' + what);
      if (Date.now() > deadline) throw new Error(`not seen: ${what}`);
      last = now;
    }
  }
  async shot(name) {
    const file = path.join(outDir, `${this.name}-${name}.png`);
    const data = await this.page.screenshot({clip: {x: 0, y: 0, width: WIDTH, height: HEIGHT}, path: file});
    return {file, data: Buffer.from(data)};
  }
  // Pixels of two PNG pictures that differ by more than LEVELS in a channel, outside the mask, and
  // the red-dominance of given points of the first and its shares of magenta and of pixels that are
  // not black (`lit`); decoded in the page.
  async compare(a, b, points = []) {
    return this.page.evaluate(async (a, b, mask, levels, points) => {
      const decode = async b64 => {
        const bitmap = await createImageBitmap(await (await fetch('data:image/png;base64,' + b64)).blob());
        const c = new OffscreenCanvas(bitmap.width, bitmap.height);
        const g = c.getContext('2d');
        g.drawImage(bitmap, 0, 0);
        return g.getImageData(0, 0, bitmap.width, bitmap.height);
      };
      const x = await decode(a);
      const y = b ? await decode(b) : null;
      const red = points.map(([px, py]) => {
        const i = (py * x.width + px) * 4;
        return x.data[i] > x.data[i + 1] + 30 && x.data[i] > x.data[i + 2] + 30;
      });
      let magenta = 0, amber = 0, lit = 0;
      for (let i = 0; i < x.data.length; i += 4) {
        magenta += x.data[i] > x.data[i + 1] + 60 && x.data[i + 2] > x.data[i + 1] + 60;
        lit += Math.max(x.data[i], x.data[i + 1], x.data[i + 2]) > levels;
        amber += x.data[i] > 200 && x.data[i + 1] > 150 && x.data[i + 1] < 235 && x.data[i + 2] < 100;
      }
      if (!y) return {red, amber, lit: lit / (x.width * x.height)};
      if (x.width !== y.width || x.height !== y.height) return {size: `${x.width}x${x.height} vs ${y.width}x${y.height}`, red};
      let differ = 0;
      for (let py = 0; py < x.height; py++)
        for (let px = 0; px < x.width; px++) {
          if (px >= mask.x && px < mask.x + mask.width && py >= mask.y && py < mask.y + mask.height) continue;
          const i = (py * x.width + px) * 4;
          if (Math.abs(x.data[i] - y.data[i]) > levels || Math.abs(x.data[i + 1] - y.data[i + 1]) > levels ||
              Math.abs(x.data[i + 2] - y.data[i + 2]) > levels)
            differ++;
        }
      return {differ, total: x.width * x.height, red, magenta: magenta / (x.width * x.height)};
    }, a.toString('base64'), b ? b.toString('base64') : null, MASK, LEVELS, points);
  }
  // Shoots the page until the picture has settled (two shots some frames apart agree) and matches
  // the Linux reference of that name within the tolerance, or until `wait` ms have passed.
  async expectPage(reference, wait = 10000) {
    const ref = fs.readFileSync(path.join(referenceDir, `${reference}.png`));
    const deadline = Date.now() + wait;
    let last = null, result = null;
    for (;;) {
      const now = await this.shot(reference);
      result = await this.compare(now.data, ref);
      if (result.size) throw new Error(`${reference}: picture ${result.size}`);
      const settled = last && (await this.compare(now.data, last.data)).differ === 0;
      if (settled && result.differ <= SHARE * result.total) break;
      if (Date.now() > deadline) {
        throw new Error(`${reference}: ${result.differ} of ${result.total} pixels differ by more than ${LEVELS} levels` +
                        ` (allowed ${Math.floor(SHARE * result.total)}${settled ? '' : ', still changing'}; see ${now.file})`);
      }
      last = now;
      await this.waitFrames(3);
    }
    this.log(`ok: ${reference} matches the Linux reference (${result.differ} pixels, ` +
             `${(100 * result.differ / result.total).toFixed(2)} %, differ by more than ${LEVELS} levels)`);
    return result;
  }
  // ---- what a screen reader finds: Chromium's accessibility tree, and the mirror's buttons ----
  // Waits until the tree has these buttons and texts; returns those it lacks, and its nodes.
  async reader(buttons, texts = []) {
    for (const deadline = Date.now() + 20000; ; await this.waitFrames(3)) {
      const nodes = [], walk = n => { nodes.push(n); (n.children || []).forEach(walk); };
      walk(await this.page.accessibility.snapshot());
      const has = (name, button) => nodes.some(n => n.name === name && (n.role === 'button') === button);
      const missing = buttons.filter(name => !has(name, true)).concat(texts.filter(name => !has(name, false)));
      if (!missing.length || Date.now() > deadline) return {missing, nodes};
    }
  }
  // The mirror's buttons by name (CSS bounds, hovered, focused), once the camera and the plane rest.
  async mirror() {
    const read = () => this.page.$$eval('#access button', list => list.map(b => ({name: b.textContent,
      hovered: b.hasAttribute('data-hovered'), focused: document.activeElement === b, ...b.getBoundingClientRect().toJSON()})));
    for (let last = null, deadline = Date.now() + 20000; ; await this.waitFrames(3)) {
      const now = await read();
      if (JSON.stringify(now) === JSON.stringify(last)) return Object.fromEntries(now.map(b => [b.name, b]));
      if (Date.now() > deadline) throw new Error('the mirror does not come to rest');
      last = now;
    }
  }
  // A screen reader's activation: a DOM click on the button, without keys or pointer.
  async activate(name) {
    await (await this.page.waitForSelector(`aria/${name}[role="button"]`)).evaluate(b => b.click());
  }
  async axe() {
    if (!(await this.page.evaluate(() => !!window.axe))) await this.page.addScriptTag({path: AXE});
    return this.page.evaluate(tags => axe.run(document, {runOnly: {type: 'tag', values: tags}})
      .then(r => r.violations.map(v => `${v.id}: ${v.nodes.map(n => n.target).join(', ')}`)), WCAG);
  }
  async tabTo(name) {
    for (let tabs = 1; tabs <= 16; tabs++) {
      await this.key('Tab');  // the focus has moved when the key's two frames have passed
      if (await this.page.evaluate(() => document.activeElement.textContent) === name) return tabs;
    }
    throw new Error(`Tab does not reach "${name}"`);
  }
  // Pixels of the focus ring's amber (1, 0.8, 0) within 6 CSS pixels of a rectangle.
  async amber(r) {
    const png = await this.page.screenshot({clip: {x: r.x - 6, y: r.y - 6, width: r.width + 12, height: r.height + 12}});
    return (await this.compare(Buffer.from(png), null)).amber;
  }
  async box() {
    return this.page.evaluate(() => {
      const box = document.querySelector('.message-box');
      return box && {caption: box.querySelector('.message-caption').textContent,
                     text: box.querySelector('.message-text').textContent};
    });
  }
  async waitBox(timeout = 20000) {
    await this.page.waitForSelector('.message-box', {timeout});
    return this.box();
  }
  async exitCode(timeout = 20000) {
    await this.page.waitForFunction(() => document.body.dataset.exitCode !== undefined, {timeout, polling: 10});
    return this.page.evaluate(() => document.body.dataset.exitCode);
  }
  // The program runs: it draws frames.
  async running() {
    await this.waitFrames(3, 10000);
    return this.page.evaluate(() => document.body.dataset.exitCode === undefined);
  }
}

async function open(name, {beforeMain = null, webgl2 = true, script = null, viewport = null} = {}) {
  const page = await browser.newPage();
  await page.bringToFront();
  await page.setViewport(viewport || {width: WIDTH, height: HEIGHT});
  await page.evaluateOnNewDocument(instrument);
  if (!webgl2) {
    await page.evaluateOnNewDocument(() => {
      const getContext = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
        return kind === 'webgl2' ? null : getContext.call(this, kind, ...rest);
      };
    });
  }
  if (script) await page.evaluateOnNewDocument(script);
  if (beforeMain) await page.evaluateOnNewDocument(`window.glguiHooks = {beforeMain: ${beforeMain}};`);
  const run = new Run(page, name);
  const started = Date.now();
  await page.goto(url, {waitUntil: 'load'});
  if (webgl2) {
    await run.waitConsole(/^program started$/);
    // The first frame, or a box that the program shows before it.
    await page.waitForFunction(() => window.__frames > 0 || document.querySelector('.message-box'),
                               {timeout: 20000, polling: 10});
    run.loadMs = Date.now() - started;
  }
  return run;
}

// Ends the program the way a person does, and checks how it ended.
async function escape(run) {
  await run.key('Escape');
  const code = await run.exitCode();
  run.check(code === '0', `Escape ends the program with exit code 0 (got ${code})`);
}

// ---- scenarios ------------------------------------------------------------------------------------

const scenarios = {
  async start(run) {
    const title = await run.page.evaluate(() => document.querySelector('title').textContent);
    run.check(title === 'GUI  DEMO', `the page's title is the window's, "GUI  DEMO" (got "${title}")`);
    const cursor = await run.page.evaluate(() => getComputedStyle(document.getElementById('canvas')).cursor);
    run.check(cursor === 'none', `the system pointer is hidden over the canvas (cursor: ${cursor})`);
    await run.move(...REST);
    await run.expectPage('start');
    // The outline fonts' glyphs were measured with the site: the start reads those measures, found
    // beside each font under its own name, and opens no font file (FreeType would measure them).
    const fonts = (await run.page.evaluate(() => window.__opened)).filter(p => p.startsWith('/fonts/'));
    run.check(fonts.some(p => p.endsWith('.measures')) && fonts.every(p => p.endsWith('.measures')),
              `the start reads the fonts' measures and no font (${fonts.join(' ')})`);
    fs.copyFileSync(path.join(outDir, 'start-start.png'), path.join(outDir, 'page.png'));
    await escape(run);
  },

  async panels(run) {
    await run.move(...REST);
    await run.click(...PANEL_DEMO);
    await run.move(...REST);
    await run.expectPage('panels');
    // Panel A by its middle 200 virtual pixels to the right, panel C with its red child D down.
    await run.drag(87, 250, 12, 0);
    await run.drag(500, 290, 0, 6);
    await run.move(...REST);
    await run.expectPage('panels-dragged');
    const {red} = await run.compare((await run.shot('dragged')).data, null, [[443, 297], [443, 215]]);
    run.check(red[0], 'the red child moved with its panel');
    run.check(!red[1], 'nothing red is left where the child was');
    await escape(run);
  },

  async text(run) {
    await run.click(...TEXT_DEMO);
    await run.move(...REST);
    await run.expectPage('text');
    // The window follows a change of one side of the page alone: the width, then the height.
    for (const size of [{width: 500, height: HEIGHT}, {width: 500, height: 300}]) {
      const before = (await layout(run)).viewport;
      await run.page.setViewport(size);
      await run.page.waitForFunction(v => window.__viewport !== v, {timeout: 20000, polling: 10}, before);
      await run.waitFrames(2);
      const now = await layout(run);
      run.check(now.inside && now.viewport === now.buffer,
                `at ${size.width}x${size.height} the client area is the canvas's buffer (${now.viewport}, was ${before})`);
    }
    await escape(run);
  },

  async buttons(run) {
    // A first click gives the page the user gesture that lets it play sound.
    await run.click(...REST);
    await run.waitFrames(10);
    const quiet = await run.page.evaluate(() => window.__audible);
    run.check(quiet === 0, `no sound before any hover (${quiet} samples)`);
    await run.click(...BUTTON_DEMO);
    await run.move(...REST);
    await run.expectPage('buttons');
    const before = await run.page.evaluate(() => window.__audible);
    await run.move(125, 144);  // hovering "button 3"
    await run.page.waitForFunction(b => window.__audible > b + 1000, {timeout: 10000, polling: 10}, before);
    const after = await run.page.evaluate(() => window.__audible);
    run.check(after > before + 1000, `hovering a button plays the sound (${after - before} samples)`);
    await escape(run);
  },

  async message(run) {
    await run.click(...BUTTON_DEMO);
    await run.move(...REST);
    await run.expectPage('buttons');
    await run.click(125, 144);  // "button 3"
    const box = await run.waitBox();
    run.check(box.caption === 'GUI  DEMO' && box.text === 'A(z) 3. gomb lett lenyomva!',
              `"button 3" shows its box ("${box.caption}": "${box.text}")`);
    await run.shot('box');
    const frames = await run.frames();
    await run.page.evaluate(() => new Promise(resolve => {
      let n = 0;
      const tick = () => (++n >= 30 ? resolve() : window.__browserFrame(tick));
      window.__browserFrame(tick);
    }));
    run.check((await run.frames()) === frames, 'the program waits while the box is open (no frame in 30 of the browser\'s)');
    await run.page.click('.message-ok');
    await run.page.waitForSelector('.message-box', {hidden: true});
    run.check(await run.running(), 'OK closes the box and the program goes on');
    await run.move(...REST);
    await run.expectPage('buttons');
    await escape(run);
  },

  async fullscreen(run) {
    await run.move(...REST);
    const before = await layout(run);
    const contexts = await run.page.evaluate(() => window.__contexts);
    await run.key('F1');
    await run.page.waitForFunction(c => document.fullscreenElement?.id === 'screen' && window.__contexts > c,
                                   {timeout: 20000, polling: 10}, contexts);
    await run.waitFrames(3);
    run.check(!(await run.box()), 'F1 puts the page in fullscreen with a new window and context, no error box');
    await run.shot('fullscreen');
    // The program's 640x480 mode, the canvas scaled to fit the screen whole and as large as it goes.
    const full = await run.page.evaluate(() => {
      const r = document.getElementById('canvas').getBoundingClientRect();
      return {width: r.width, height: r.height, screen: [innerWidth, innerHeight]};
    });
    const fits = Math.abs(full.width * 3 - full.height * 4) <= 4 && full.width <= full.screen[0] &&
                 full.height <= full.screen[1] && (full.width === full.screen[0] || full.height === full.screen[1]);
    const mode = await layout(run);
    run.check(mode.buffer === '640x480' && mode.viewport === '640x480' && fits,
              `in fullscreen the program draws 640x480, scaled to ${full.width}x${full.height} on a ${full.screen.join('x')} screen`);
    const inFull = await run.page.evaluate(() => window.__contexts);
    await run.key('F1');
    await run.page.waitForFunction(c => !document.fullscreenElement && window.__contexts > c, {timeout: 20000, polling: 10}, inFull);
    run.check(await run.running(), 'F1 again leaves fullscreen, with the scene built anew');
    await run.move(...REST);
    const after = await layout(run);
    run.check(JSON.stringify(after) === JSON.stringify(before),
              `the page is laid out as before fullscreen (${after.width}x${after.height}, ${after.buffer}, ${after.viewport})`);
    await run.expectPage('start');
    await escape(run);
  },

  // The browser's own way out of fullscreen puts the program into its window mode, as F1 would;
  // F1 then brings fullscreen back. Headless Chromium hands a person's Escape to the page as a key
  // (the program would quit) and stays in fullscreen, so the page leaves it as the browser does.
  async browserexit(run) {
    const fullscreen = async (on, what) => {
      const c = await run.page.evaluate(() => window.__contexts);
      if (on) await run.key('F1'); else await run.page.evaluate(() => document.exitFullscreen());
      await run.page.waitForFunction((on, c) => !!document.fullscreenElement === on && window.__contexts > c,
                                     {timeout: 20000, polling: 10}, on, c);
      await run.move(...REST);
      run.check(!(await run.box()), what);
      await run.expectPage('start');
    };
    await run.move(...REST);
    await fullscreen(true, 'F1 puts the page in fullscreen with a new window and context');
    await fullscreen(false, 'the browser leaves fullscreen, and the program makes its window anew');
    await fullscreen(true, 'F1 puts the page in fullscreen again');
    await escape(run);
  },

  async refused(run) {
    await run.key('F1');
    const box = await run.waitBox();
    run.check(box.caption === 'Error' && box.text === 'Mode Switch Failed.\\nRunning In Windowed Mode.',
              `a refused switch says so ("${box.caption}": "${box.text}")`);
    await run.page.click('.message-ok');
    await run.page.waitForSelector('.message-box', {hidden: true});
    run.check(await run.running() && !(await run.page.evaluate(() => document.fullscreenElement)),
              'the program runs on in the page, not in fullscreen');
    await escape(run);
  },

  async exit(run) {
    await run.move(...EXIT);
    await run.page.mouse.down();
    await run.waitFrames(2);
    const released = await run.frames();
    await run.page.mouse.up();
    const code = await run.exitCode();
    const drawn = (await run.page.evaluate(() => window.__framesAtExit)) - released;
    run.check(code === '0', `"exit" ends the program with exit code 0 (got ${code})`);
    run.check(drawn >= 5, `it ends at the far point of the pull-back, not at once (${drawn} frames after the release)`);
    const notice = await run.page.evaluate(() => document.getElementById('status').textContent);
    run.check(/has ended \(exit code 0\)/.test(notice), `the page says so: "${notice}"`);
  },

  async escape(run) {
    await escape(run);
    const notice = await run.page.evaluate(() => document.getElementById('status').textContent);
    run.check(/has ended \(exit code 0\)/.test(notice), `the page says so: "${notice}"`);
  },

  // A browser without clip distances: the layer clips the screens' planes by discarding fragments.
  async noclipdistance(run) {
    const asked = await run.page.evaluate(() => window.__clipAsked);
    run.check(asked > 0, `the layer asked for WEBGL_clip_cull_distance and was refused (${asked} times)`);
    await run.click(...TEXT_DEMO);
    await run.move(...REST);
    await run.expectPage('text');
    await escape(run);
  },

  async damagedfont(run) {
    const box = await run.waitBox();
    run.check(box.caption === 'TGA File Error', `a damaged default/font.tga gives its box ("${box.caption}": "${box.text}")`);
    await run.page.click('.message-ok');
    await run.page.waitForSelector('.message-box', {hidden: true});
    run.check(await run.running(), 'the demo goes on after the box');
    await escape(run);
  },

  // A phone: whole screen, every page by touch; turned (at ratio 2), and in fullscreen by its control.
  async phone(run) {
    const portrait = await layout(run);
    run.check(portrait.inside && portrait.width >= 0.9 * PHONE.width, `the whole screen is on the page (${portrait.viewport})`);
    await run.touch('tap', ...TEXT_DEMO);
    await run.see('a tap on "text demo" opens its page', f => f.magenta > 0.01);
    await run.touch('tap', ...PANEL_DEMO);
    await run.see('a tap on "panel demo" opens its page', f => f.red[0] && !f.magenta, [[443, 237]]);
    await run.touch('touchStart', 500, 290);
    await run.touch('touchMove', 500, 350);
    await run.page.touchscreen.touchEnd();
    await run.see('a one-finger drag moves panel C and its child', f => f.red[0] && !f.red[1], [[443, 297], [443, 215]]);
    await run.touch('tap', ...BUTTON_DEMO);
    await run.see('a tap on "button demo" opens its page', () => true);
    await run.touch('tap', 125, 144);  // "button 3"
    run.check((await run.waitBox()).text === 'A(z) 3. gomb lett lenyomva!', 'a tap on "button 3" shows its box');
    // Turned with the box open: the scene stays behind it (its top quarter, clear of the box).
    await run.page.setViewport({...PHONE, width: PHONE.height, height: PHONE.width, deviceScaleFactor: 2});
    await run.page.waitForFunction(w => document.getElementById('canvas').getBoundingClientRect().width > w,
                                   {timeout: 20000, polling: 10}, portrait.width);
    const r = await run.page.evaluate(() => document.getElementById('canvas').getBoundingClientRect().toJSON());
    const {lit} = await run.compare(Buffer.from(await run.page.screenshot({clip: {...r, height: r.height / 4}})));
    run.check(lit > 0.5, `turned with the box open, the scene stays in sight behind it (${(100 * lit).toFixed(0)} % not black)`);
    await run.page.tap('.message-ok');
    await run.page.waitForFunction(v => window.__viewport !== v, {timeout: 20000, polling: 10}, portrait.viewport);
    const g = await layout(run);
    run.check(g.inside && g.viewport === g.buffer && g.buffer === `${2 * g.width}x${2 * g.height}`,
              `a tap on OK closes the box, and the client area is the buffer, twice the CSS size (${g.buffer})`);
    await run.page.tap('#fullscreen');
    await run.page.waitForFunction(() => document.fullscreenElement && window.__contexts > 1, {timeout: 20000, polling: 10});
    await run.touch('tap', ...EXIT);
    run.check((await run.exitCode()) === '0', 'a tap on "exit" ends the program from fullscreen');
  },

  // A screen reader's tour of the pages, which change by a DOM click on a button, as a screen
  // reader activates one: on each page it finds the buttons and texts, the pointer at the middle of
  // each button's mirror hovers that button, and axe-core finds no WCAG 2.2 AA violation. Such a
  // click on "button 3" shows its box once.
  async reader(run) {
    for (const [name, {buttons = [], texts}] of Object.entries(PAGES)) {
      await run.move(...REST);
      if (name) await run.activate(name);
      await run.page.waitForFunction(n => document.getElementById('announcer').textContent.trim() === n,
                                     {timeout: 20000, polling: 10}, name);
      const all = NAVIGATION.concat(buttons), {missing} = await run.reader(all, texts);
      run.check(!missing.length, `${name || 'start'}: a screen reader finds ${all.length} buttons and ${texts}${missing.length ? '; not ' + missing : ''}`);
      const mirror = await run.mirror(), unhovered = [];
      for (const b of all.map(n => mirror[n])) {
        await run.page.mouse.move(b.x + b.width / 2, b.y + b.height / 2, {steps: 5});
        if (!(await run.mirror())[b.name].hovered) unhovered.push(b.name);
      }
      const violations = await run.axe();
      run.check(!unhovered.length && !violations.length,
                `the pointer at each button's middle hovers it (not: ${unhovered}); axe-core: no violations (${violations})`);
    }
    await run.activate('button 3');
    await run.waitBox();
    await run.page.click('.message-ok');
    await run.waitFrames(10);
    run.check(!(await run.box()), 'a DOM click on "button 3" shows its box once');
    await escape(run);
  },

  // The keyboard alone: Tab to "button demo" rings it in the canvas, Enter opens its page as a click
  // does and the focus stays; on "button 3" Tab and Enter show its box, read with its text and OK
  // focused, and Enter closes it, the focus going back.
  async keyboard(run) {
    await run.move(...REST);
    const before = await run.amber((await run.mirror())['button demo']);
    const tabs = await run.tabTo('button demo'), ring = (await run.mirror())['button demo'], after = await run.amber(ring);
    run.check(before === 0 && after > 2 * (ring.width + ring.height),
              `${tabs} Tab(s) focus "button demo" and ring it (amber pixels around it: ${before} -> ${after})`);
    await run.key('Enter');
    const {missing} = await run.reader(PAGES['button demo'].buttons), kept = (await run.mirror())['button demo'].focused;
    run.check(!missing.length && kept, `Enter opens the button page (missing: ${missing}), "button demo" keeps the focus (${kept})`);
    await run.move(...REST);
    await run.expectPage('buttons');
    await run.tabTo('button 3');
    await run.key('Enter');
    const {nodes} = await run.reader(['OK']), dialog = nodes.find(n => n.role === 'alertdialog');
    // Chromium gives names with runs of spaces collapsed.
    run.check(dialog?.name === 'GUI  DEMO'.replace(/ +/g, ' ') && dialog.description === 'A(z) 3. gomb lett lenyomva!' &&
              nodes.find(n => n.name === 'OK').focused, `a screen reader reads the box ("${dialog?.name}": "${dialog?.description}", OK focused)`);
    const violations = await run.axe();
    run.check(!violations.length, `axe-core: no violations with the box open (${violations})`);
    await run.key('Enter');
    await run.waitFrames(10);
    const focus = await run.page.evaluate(() => document.activeElement.textContent);
    run.check(!(await run.box()) && focus === 'button 3', `Enter closes the box, once, the focus back on "${focus}"`);
    await escape(run);
  },

  // A tap just above "button demo" as it is drawn on a fresh page (the plane leaning towards the
  // pointer's corner, where the hit tests, which ignore the lean, have it some pixels lower) still
  // opens its page.
  async tap(run) {
    const b = (await run.mirror())['button demo'];
    await run.page.touchscreen.tap(b.x + b.width / 2, b.y - 8);
    const {missing} = await run.reader(['button 1']);
    run.check(!missing.length, `a tap 8 CSS pixels above "button demo" (${b.width} x ${b.height}) opens its page`);
    await escape(run);
  },

  // WebGL 2 there but giving no context (turned off): the program cannot make its own and says so,
  // as on a machine without OpenGL; when it has ended, the page says why. Without WebGL 2 at all
  // the page says so at once.
  async nowebgl2(run) {
    const box = await run.waitBox();
    run.check(box.caption === 'Error' && /OpenGL Window|GL Rendering Context/.test(box.text),
              `the program's box: "${box.caption}": "${box.text}"`);
    await run.page.click('.message-ok');
    await run.exitCode();
    const notice = await run.page.evaluate(() => document.getElementById('status').textContent);
    run.check(/WebGL 2/.test(notice), `then a browser without WebGL 2 gets a message: "${notice}"`);
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(() => { delete window.WebGL2RenderingContext; });
    await page.goto(url, {waitUntil: 'load'});
    const at = await page.evaluate(() => [document.body.dataset.exitCode, document.getElementById('status').textContent]);
    await page.close();
    run.check(at[0] === 'no-webgl2' && /WebGL 2/.test(at[1]), `without WebGL 2 at all, at once: "${at[1]}"`);
  },
};

const layout = run => run.page.evaluate(() => {
  const c = document.getElementById('canvas'), r = c.getBoundingClientRect();
  return {inside: r.left >= 0 && r.top >= 0 && r.right <= innerWidth && r.bottom <= innerHeight,
          width: r.width, height: r.height, buffer: `${c.width}x${c.height}`, viewport: window.__viewport};
});
const options = {
  // The header says 16 bits per pixel, which the reader does not take.
  damagedfont: {beforeMain: `Module => { const f = Module.FS.readFile('/default/font.tga'); f[16] = 16;
                                         Module.FS.writeFile('/default/font.tga', f); }`},
  nowebgl2: {webgl2: false},
  noclipdistance: {script: () => {
    window.__clipAsked = 0;
    const hidden = 'WEBGL_clip_cull_distance';
    const get = WebGL2RenderingContext.prototype.getExtension;
    WebGL2RenderingContext.prototype.getExtension = function (name) {
      if (name === hidden) { window.__clipAsked++; return null; }
      return get.call(this, name);
    };
    const list = WebGL2RenderingContext.prototype.getSupportedExtensions;
    WebGL2RenderingContext.prototype.getSupportedExtensions = function () {
      return (list.call(this) || []).filter(e => e !== hidden);
    };
  }},
  // The files the program opens, by path.
  start: {beforeMain: `Module => { window.__opened = []; const open = Module.FS.open;
                                   Module.FS.open = function (path, ...rest) { window.__opened.push(String(path));
                                                                             return open.call(this, path, ...rest); }; }`},
  phone: {viewport: PHONE},
  tap: {viewport: PHONE},
  // The browser says no, as it does to a page without the permission or the user's gesture.
  refused: {script: () => {
    Element.prototype.requestFullscreen = () => Promise.reject(new TypeError('Permissions check failed'));
  }},
};

// ---- run ----------------------------------------------------------------------------------------

let passed = 0, failed = 0;
const loads = [];
for (const [name, scenario] of Object.entries(scenarios)) {
  if (only.length && !only.includes(name)) continue;
  console.log(`scenario ${name}`);
  let run = null;
  try {
    run = await open(name, options[name]);
    if (run.loadMs) loads.push(run.loadMs);
    await scenario(run);
    const noise = run.errors.filter(e => !HARMLESS.some(h => h.test(e)));
    run.check(noise.length === 0, `no errors in the page${noise.length ? ': ' + noise.join(' | ') : ''}`);
    const glErrors = run.console.filter(t => /OpenGL error/i.test(t));
    run.check(glErrors.length === 0, `no OpenGL errors reported${glErrors.length ? ': ' + glErrors[0] : ''}`);
    passed++;
    console.log(`PASS ${name}`);
  } catch (e) {
    failed++;
    console.log(`FAIL ${name}: ${e.message}`);
    if (run) {
      await run.shot('failure').catch(() => {});
      fs.writeFileSync(path.join(outDir, `${name}-console.txt`), run.console.concat(run.errors).join('\n') + '\n');
    }
  } finally {
    if (run) await run.page.close().catch(() => {});
  }
}
await browser.close();
if (loads.length) console.log(`page load to first frame: ${loads.map(ms => ms + ' ms').join(', ')}`);
console.log(`web e2e: ${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
