// The page as an installed app: the first visit hands every file of the
// built page to the service worker, the manifest makes Chromium offer to
// install it, a link to a frame starts with no network at all, an edited
// file reaches the next visit under a new cache, and two copies of the page
// in two folders of one origin (a/ and b/) keep each its own cache.
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

// Two copies of the built page, in a/ and b/, b/ a later build than a/.
const root = fs.mkdtempSync(path.join(os.tmpdir(), 'rackgen-offline-'));
const dir = path.join(root, 'a');
for (const copy of ['a', 'b']) fs.cpSync(path.resolve(pageDir), path.join(root, copy), {recursive: true});
const workerText = (copy = 'a') => fs.readFileSync(path.join(root, copy, 'service_worker.js'), 'utf8');
const version = (copy = 'a') => /const VERSION = '(\w+)'/.exec(workerText(copy))[1];
const cacheOf = (copy) => `rackgen /${copy}/ ${version(copy)}`;

// Edits the copy's page.js and writes its worker again, as the build does.
function edit(copy) {
  const files = JSON.parse(/const FILES = (\[.*\]);/.exec(workerText(copy))[1]);
  fs.appendFileSync(path.join(root, copy, 'page.js'), '// edited\n');
  const write = spawnSync(cmake, [`-DDIR=${path.join(root, copy)}`, `-DFILES=${files.join(',')}`,
    `-DTEMPLATE=${path.join(webSource, 'service_worker.js.in')}`, '-P', path.join(webSource, 'service_worker.cmake')],
  {encoding: 'utf8'});
  assert.equal(write.status, 0, write.stderr);
}
edit('b');
const LINK = 'index.html?z=20&x=0.5&scene=4&step=30';

let server;
let browser;
before(async () => {
  server = await serve(root);
  browser = await Browser.launch();
});
after(async () => {
  await browser?.close();
  server?.shutdown();
  fs.rmSync(root, {recursive: true, force: true});
});

async function until(what, expression, ms = 30000) {
  for (let waited = 0; waited < ms; waited += 100) {
    if (await browser.evaluate(expression)) return;
    await new Promise((r) => setTimeout(r, 100));
  }
  throw new Error(`timed out waiting until ${what}`);
}

const cacheNames = () => browser.evaluate('caches.keys().then((names) => names.sort())');

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
  await browser.open(`${server.url}a/index.html`);
  await until('the service worker controls the page', 'navigator.serviceWorker.controller !== null');
  assert.deepEqual(await cacheNames(), [cacheOf('a')]);
  const kept = await browser.evaluate(`caches.keys().then((names) => caches.open(names[0]))
    .then((cache) => cache.keys()).then((requests) => requests.map((r) => new URL(r.url).pathname.slice(3)))`);
  const built = fs.readdirSync(dir).filter((file) => file !== 'service_worker.js');
  assert.deepEqual(kept.sort(), built.sort());

  const manifest = await browser.send('Page.getAppManifest');
  assert.deepEqual(manifest.errors, []);
  assert.equal(JSON.parse(manifest.data).start_url, './');
  const {installabilityErrors} = await browser.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, []);
  assert.deepEqual(browser.consoleErrors, []);
});

// A build that named its cache by the version alone left rackgen-0 for b/ and
// rackgen-1 for a/: each copy's worker removes only its own.
test('the copy in b/ keeps its own cache and leaves a/\'s', async () => {
  await browser.evaluate(`Promise.all([['rackgen-0', '/b/'], ['rackgen-1', '/a/']].map(([name, folder]) =>
    caches.open(name).then((cache) => cache.put(folder + 'index.html', new Response('old')))))`);
  await browser.open(`${server.url}b/index.html`);
  await until('the service worker controls the page', 'navigator.serviceWorker.controller !== null');
  assert.deepEqual(await cacheNames(), [cacheOf('a'), cacheOf('b'), 'rackgen-1']);
});

test('in DevTools\' offline mode a link to a frame starts from the cache', async () => {
  await browser.offline(true);
  try {
    await starts(`${server.url}a/${LINK}`, {frame: true});
    await starts(`${server.url}b/${LINK}`, {frame: true});
  } finally {
    await browser.offline(false);
  }
});

test('an edited file gives a new version, which the next visit installs in place of the old', async () => {
  const before = version();
  edit('a');
  assert.notEqual(version(), before);

  await browser.open(`${server.url}a/index.html`);
  await until('the new worker has replaced the old cache',
    `caches.keys().then((names) => names.sort().join() === '${[cacheOf('a'), cacheOf('b')].join()}')`);
  await browser.open(`${server.url}a/index.html`);
  assert.match(await browser.evaluate(`fetch('page.js').then((r) => r.text())`), /\/\/ edited\n$/);
});

test('with the server gone, a link to a frame and the folder itself start from the cache', async () => {
  server.shutdown();
  await starts(`${server.url}a/${LINK}`, {frame: true});
  await starts(`${server.url}a/`, {frame: true});  // the example it plays without a link
  await starts(`${server.url}b/`, {frame: true});
});
