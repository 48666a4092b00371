// tests/web/modes, built on the toolkit installed for the browser (scripts/test-web-install.sh): on
// a screen of 1000 x 700, the page's one display mode is the screen's, as the desktop mode and as
// the first and only listed mode, and a request without a height is refused.
//
// Usage: node modes.mjs URL
import puppeteer from 'puppeteer-core';

const [url] = process.argv.slice(2);
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: false,  // --headless=new below
  args: ['--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox'],
});
try {
  const page = await browser.newPage();
  const cdp = await page.target().createCDPSession();
  await cdp.send('Emulation.setDeviceMetricsOverride',
                 {width: 640, height: 480, deviceScaleFactor: 1, mobile: false, screenWidth: 1000, screenHeight: 700});
  const said = [];
  page.on('console', m => said.push(m.text()));
  await page.goto(url, {waitUntil: 'load'});
  await page.waitForFunction(() => document.body.dataset.exitCode !== undefined, {timeout: 30000});
  const lines = said.filter(t => /^(mode|no height|saved mode)/.test(t));
  const expected = ['mode current: 1000x700, 32 bits, 60 Hz', 'mode registry: 1000x700, 32 bits, 60 Hz',
                    'mode 0: 1000x700, 32 bits, 60 Hz', 'mode 1: none', 'no height: -2', 'saved mode: 0'];
  if (JSON.stringify(lines) !== JSON.stringify(expected))
    throw new Error('the modes differ:\n  ' + lines.join('\n  ') + '\nexpected:\n  ' + expected.join('\n  '));
  console.log('  modes: ok: the desktop mode is the screen\'s, 1000x700');
} finally {
  await browser.close();
}
