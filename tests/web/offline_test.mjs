// The page as an installed app: the first visit hands every file of the
// built page to the service worker, the manifest makes Chromium offer to
// install it, a link to a frame starts with no network at all, and an edited
// file reaches the next visit under a new cache.
// Usage: node offline_test.mjs <built page dir> <cmake> <the page's source dir>
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {pageTestTools} from './page_tools.mjs';
import {after, before, test} from 'node:test';


const [pageDir, cmake, webSource] = process.argv.slice(2);
const {Browser, serve} = await pageTestTools(pageDir);

// A copy of the built page, which the update edits.
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'rackgen-offline-'));
fs.cpSync(path.resolve(pageDir), dir, {recursive: true});
const workerText = () => fs.readFileSync(path.join(dir, 'service_worker.js'), 'utf8');
const version = () => /const VERSION = '(\w+)'/.exec(workerText())[1];
const LINK = 'index.html?z=20&x=0.5&scene=4&step=30';

let server;
let browser;
before(async () => {
  server = await serve(dir);
  browser = await Browser.launch();
});
after(async () => {
  await browser?.close();
  server?.shutdown();
  fs.rmSync(dir, {recursive: true, force: true});
});

async function until(what, expression, ms = 30000) {
  for (let waited = 0; waited < ms; waited += 100) {
    if (await browser.evaluate(expression)) return;
    await new Promise((r) => setTimeout(r, 100));
  }
  throw new Error(`timed out waiting until ${what}`);
}

const cacheNames = () => browser.evaluate('caches.keys()');

// Opens url and checks the page started: no problem shown, nothing wrong in
// the console, and for a link to a frame, the frame on the canvas.
async function starts(url, {frame}) {
  browser.consoleErrors.length = 0;
  await browser.open(url);
  assert.equal(await browser.evaluate(`document.getElementById('problem').hidden`), true,
    await browser.evaluate(`document.getElementById('problem').textContent`));
  assert.equal(await browser.evaluate(`document.getElementById('dialogue').hidden`), frame, url);
  if (frame) await until(`a frame is on the canvas of ${url}`, `(() => {
    const canvas = document.getElementById('canvas');
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let drawn = 0;
    for (let i = 0; i < pixels.length; i += 4) if (pixels[i] + pixels[i + 1] + pixels[i + 2] < 700) ++drawn;
    return drawn > 5000; })()`);
  assert.deepEqual(browser.consoleErrors, [], url);
}

test('the first visit keeps every file of the built page, and Chromium can install it', async () => {
  await browser.open(`${server.url}index.html`);
  await until('the service worker controls the page', 'navigator.serviceWorker.controller !== null');
  assert.deepEqual(await cacheNames(), [`rackgen-${version()}`]);
  const kept = await browser.evaluate(`caches.keys().then((names) => caches.open(names[0]))
    .then((cache) => cache.keys()).then((requests) => requests.map((r) => new URL(r.url).pathname.slice(1)))`);
  const built = fs.readdirSync(dir).filter((file) => file !== 'service_worker.js');
  assert.deepEqual(kept.sort(), built.sort());

  const manifest = await browser.send('Page.getAppManifest');
  assert.deepEqual(manifest.errors, []);
  assert.equal(JSON.parse(manifest.data).start_url, './');
  const {installabilityErrors} = await browser.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, []);
  assert.deepEqual(browser.consoleErrors, []);
});

test('in DevTools\' offline mode a link to a frame starts from the cache', async () => {
  await browser.offline(true);
  try {
    await starts(`${server.url}${LINK}`, {frame: true});
  } finally {
    await browser.offline(false);
  }
});

test('an edited file gives a new version, which the next visit installs in place of the old', async () => {
  const before = version();
  const files = JSON.parse(/const FILES = (\[.*\]);/.exec(workerText())[1]);
  fs.appendFileSync(path.join(dir, 'page.js'), '// edited\n');
  const write = spawnSync(cmake, [`-DDIR=${dir}`, `-DFILES=${files.join(',')}`,
    `-DTEMPLATE=${path.join(webSource, 'service_worker.js.in')}`, '-P', path.join(webSource, 'service_worker.cmake')],
  {encoding: 'utf8'});
  assert.equal(write.status, 0, write.stderr);
  assert.notEqual(version(), before);

  await browser.open(`${server.url}index.html`);
  await until('the new worker has replaced the old cache',
    `caches.keys().then((names) => names.join() === 'rackgen-${version()}')`);
  await browser.open(`${server.url}index.html`);
  assert.match(await browser.evaluate(`fetch('page.js').then((r) => r.text())`), /\/\/ edited\n$/);
});

test('with the server gone, a link to a frame and the folder itself start from the cache', async () => {
  server.shutdown();
  await starts(`${server.url}${LINK}`, {frame: true});
  await starts(server.url, {frame: false});
});
