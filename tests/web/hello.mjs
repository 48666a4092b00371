// examples/hello as a program outside the tree builds it for the browser (scripts/test-web-install.sh):
// its page in headless Chromium must draw, take a click on its button to the handler, and end with
// exit code 0 on Escape. Waits are on the program's frames and its console.
//
// Usage: node hello.mjs URL SHOT.png
import puppeteer from 'puppeteer-core';
import fs from 'node:fs';

const [url, shot] = process.argv.slice(2);
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: false,  // --headless=new below
  args: ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
    '--window-size=640,480', '--mute-audio'],
});
const check = (ok, what) => {
  if (!ok) throw new Error(what);
  console.log('  hello: ok: ' + what);
};
try {
  const page = await browser.newPage();
  await page.setViewport({width: 640, height: 480});
  const said = [];
  page.on('console', m => said.push(m.text()));
  page.on('pageerror', e => said.push('page error: ' + e.message));
  await page.evaluateOnNewDocument(() => {
    window.__frames = 0;
    const raf = window.requestAnimationFrame.bind(window);
    window.requestAnimationFrame = f => raf(t => { window.__frames++; f(t); });
  });
  const frames = async n => {
    const target = await page.evaluate(() => window.__frames) + n;
    await page.waitForFunction(t => window.__frames >= t || document.body.dataset.exitCode !== undefined,
                               {timeout: 30000, polling: 10}, target);
  };
  await page.goto(url, {waitUntil: 'load'});
  await frames(30);
  const png = await page.screenshot({encoding: 'base64'});
  fs.writeFileSync(shot, Buffer.from(png, 'base64'));
  // Pixels unlike the top-left corner's: the panel, its label and its button.
  const drawn = await page.evaluate(async b64 => {
    const image = await createImageBitmap(await (await fetch('data:image/png;base64,' + b64)).blob());
    const c = new OffscreenCanvas(image.width, image.height).getContext('2d');
    c.drawImage(image, 0, 0);
    const d = c.getImageData(0, 0, image.width, image.height).data;
    let n = 0;
    for (let i = 0; i < d.length; i += 4) n += Math.abs(d[i] - d[0]) + Math.abs(d[i + 1] - d[1]) + Math.abs(d[i + 2] - d[2]) > 48;
    return n / (d.length / 4);
  }, png);
  check(drawn > 0.02, `the page draws (${(drawn * 100).toFixed(1)} % of the pixels unlike the background)`);
  // hello's button: pixels around (285, 255) in 640 x 480.
  await page.mouse.move(285, 255, {steps: 5});
  await frames(2);
  await page.mouse.down();
  await frames(2);
  await page.mouse.up();
  for (let i = 0; i < 300 && !said.includes('hello: click 1'); i++) await frames(1);
  check(said.includes('hello: click 1'), 'a click on the button reaches its handler');
  await page.keyboard.down('Escape');
  await frames(2);
  await page.keyboard.up('Escape');
  await page.waitForFunction(() => document.body.dataset.exitCode !== undefined, {timeout: 30000});
  const code = await page.evaluate(() => document.body.dataset.exitCode);
  check(code === '0', `Escape ends it with exit code ${code}`);
  const errors = said.filter(t => /error|abort/i.test(t));
  check(errors.length === 0, 'no errors on the console' + (errors.length ? ': ' + errors.join(' | ') : ''));
} finally {
  await browser.close();
}
