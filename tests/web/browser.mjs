// Test support for the web page: a static server for the built page on the
// loopback, headless Chromium driven over the DevTools protocol, PNG pixels
// and the desktop program's own pictures. Owns nothing global; every test
// holds its own Browser and server and closes them (a timeout guards each wait).
import {spawn, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {PNG} from 'pngjs';
import WebSocket from 'ws';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.svg': 'image/svg+xml', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// Serves dir on 127.0.0.1 at a free port; resolves to {url, close, shutdown}:
// shutdown also drops the connections a browser keeps open, as a server gone away.
export function serve(dir) {
  const server = http.createServer((request, response) => {
    const name = path.normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = path.join(dir, name === '/' ? 'index.html' : name);
    if (!file.startsWith(dir) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {'Content-Type': TYPES[path.extname(file)] ?? 'application/octet-stream'});
    response.end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => server.close(),
    shutdown: () => {
      server.close();
      server.closeAllConnections();
    },
  })));
}

function chromiumPath() {
  for (const name of ['chromium', 'chromium-browser', 'google-chrome']) {
    const found = spawnSync('sh', ['-c', `command -v ${name}`], {encoding: 'utf8'});
    if (found.status === 0) return found.stdout.trim();
  }
  return null;
}

// Why the browser tests cannot run here, or null.
export function missingTools(pageDir) {
  if (!fs.existsSync(path.join(pageDir, 'rackgen.wasm')))
    return `no built page in ${pageDir} (make web builds it; it needs Debian's emscripten)`;
  if (chromiumPath() === null) return 'no Chromium (Debian package chromium)';
  return null;
}

function withTimeout(promise, ms, what) {
  let timer;
  return Promise.race([promise, new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`timed out after ${ms} ms: ${what}`)), ms);
  })]).finally(() => clearTimeout(timer));
}

// Headless Chromium on a fresh profile with one page, driven over the DevTools protocol.
export class Browser {
  static async launch() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'rackgen-chromium-'));
    const child = spawn(chromiumPath(), [
      '--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--hide-scrollbars', `--user-data-dir=${profile}`,
      '--remote-debugging-port=0', '--window-size=1200,900', 'about:blank',
    ], {stdio: ['ignore', 'ignore', 'pipe']});
    const browser = new Browser(child, profile);
    const endpoint = await withTimeout(new Promise((resolve, reject) => {
      let text = '';
      child.stderr.on('data', (chunk) => {
        text += chunk;
        const found = /DevTools listening on (ws:\/\/\S+)/.exec(text);
        if (found) resolve(found[1]);
      });
      child.on('exit', (code) => reject(new Error(`chromium ended (${code}) before it listened: ${text}`)));
    }), 30000, 'chromium start');
    const port = new URL(endpoint).port;
    const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
    const target = targets.find((t) => t.type === 'page');
    await browser.connect(target.webSocketDebuggerUrl);
    await browser.send('Page.enable');
    await browser.send('Runtime.enable');
    await browser.send('Log.enable');
    await browser.send('Emulation.setDeviceMetricsOverride',
      {width: 1200, height: 900, deviceScaleFactor: 1, mobile: false});
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.next = 1;
    this.waiting = new Map();
    this.consoleErrors = [];
  }

  connect(url) {
    this.socket = new WebSocket(url, {perMessageDeflate: false, maxPayload: 1 << 28});
    this.socket.on('message', (data) => {
      const message = JSON.parse(data);
      if (message.id !== undefined) {
        const {resolve, reject} = this.waiting.get(message.id);
        this.waiting.delete(message.id);
        if (message.error) reject(new Error(`${message.error.message} ${message.error.data ?? ''}`));
        else resolve(message.result);
      } else {
        if (message.method === 'Runtime.exceptionThrown')
          this.consoleErrors.push(message.params.exceptionDetails.exception?.description ?? 'exception');
        if (message.method === 'Runtime.consoleAPICalled' && message.params.type === 'error')
          this.consoleErrors.push(message.params.args.map((a) => a.value).join(' '));
        // The browser's own complaints: a Content-Security-Policy violation, a failed load.
        if (message.method === 'Log.entryAdded' && message.params.entry.level === 'error')
          this.consoleErrors.push(`${message.params.entry.text} ${message.params.entry.url ?? ''}`);
      }
    });
    return new Promise((resolve, reject) => {
      this.socket.on('open', resolve);
      this.socket.on('error', reject);
    });
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.next++;
    this.socket.send(JSON.stringify({id, method, params, sessionId}));
    return withTimeout(new Promise((resolve, reject) => this.waiting.set(id, {resolve, reject})), 60000, method);
  }

  // DevTools' offline mode on or off: for the page and, as the page's own
  // session does not reach them, for the service workers' fetches too.
  async offline(on) {
    const conditions = {offline: on, latency: 0, downloadThroughput: -1, uploadThroughput: -1};
    await this.send('Network.enable');
    await this.send('Network.emulateNetworkConditions', conditions);
    const {targetInfos} = await this.send('Target.getTargets');
    for (const worker of targetInfos.filter((t) => t.type === 'service_worker')) {
      this.workerSessions ??= new Map();
      if (!this.workerSessions.has(worker.targetId)) {
        const {sessionId} = await this.send('Target.attachToTarget', {targetId: worker.targetId, flatten: true});
        this.workerSessions.set(worker.targetId, sessionId);
        await this.send('Network.enable', {}, sessionId);
      }
      await this.send('Network.emulateNetworkConditions', conditions, this.workerSessions.get(worker.targetId));
    }
  }

  // The value of a JavaScript expression in the page, or in the tab of
  // sessionId (promises awaited).
  async evaluate(expression, sessionId = undefined) {
    const result = await this.send('Runtime.evaluate', {expression, awaitPromise: true, returnByValue: true},
      sessionId);
    if (result.exceptionDetails)
      throw new Error(`in the page: ${result.exceptionDetails.exception?.description ?? expression}`);
    return result.result.value;
  }

  // Opens url and waits until the page has started: its texts are filled in
  // from the wasm module, or #problem says why it could not start.
  async open(url) {
    await this.send('Page.navigate', {url});
    const started = `(() => { const problem = document.getElementById('problem');
      return problem !== null && (!problem.hidden || document.getElementById('headline')?.textContent); })()`;
    for (let waited = 0; waited < 30000; waited += 50) {
      if (await this.evaluate(started)) return;
      await new Promise((r) => setTimeout(r, 50));
    }
    throw new Error(`the page did not start: ${url}`);
  }

  // Requests for URLs matching these patterns ('*' any text) fail from now on,
  // as if the file were missing.
  async block(patterns) {
    await this.send('Network.enable');
    await this.send('Network.setBlockedURLs', {urls: patterns});
  }

  // One key as a user types it: key down with its character, key up.
  async key(key) {
    const named = {Escape: {code: 'Escape', keyCode: 27}, Enter: {code: 'Enter', keyCode: 13, text: '\r'}};
    // Letters and digits have their own virtual key code; other characters only their text.
    const code = /^[a-zA-Z0-9]$/.test(key) ? key.toUpperCase().charCodeAt(0) : 0;
    const info = named[key] ?? {code: '', keyCode: code, text: key};
    await this.send('Input.dispatchKeyEvent', {type: 'keyDown', key, windowsVirtualKeyCode: info.keyCode, ...info});
    await this.send('Input.dispatchKeyEvent', {type: 'keyUp', key, windowsVirtualKeyCode: info.keyCode, code: info.code});
  }

  async type(text) {
    for (const c of text) await this.key(c);
  }

  // The page as a screen of width × height CSS pixels, ratio device pixels to
  // one; touch: a phone's or tablet's screen, touched with fingers.
  async viewport(width, height, ratio = 1, touch = false) {
    await this.send('Emulation.setDeviceMetricsOverride', {width, height, deviceScaleFactor: ratio, mobile: touch});
    await this.send('Emulation.setTouchEmulationEnabled', {enabled: touch, maxTouchPoints: touch ? 5 : 1});
  }

  // The languages the browser asks for, as its user's settings give them ('ja-JP,ja').
  async languages(acceptLanguage) {
    const {userAgent} = await this.send('Browser.getVersion');
    await this.send('Emulation.setUserAgentOverride', {userAgent, acceptLanguage});
  }

  // The centre of the first element matching selector, CSS pixels.
  centre(selector) {
    return this.evaluate(`(() => { const r = document.querySelector(${JSON.stringify(selector)})
      .getBoundingClientRect(); return [r.left + r.width / 2, r.top + r.height / 2]; })()`);
  }

  // Fingers on the screen: moves[0] where they go down, each later move where they
  // are then, each a list of [x, y] CSS pixels, one a finger; then they lift.
  async touch(moves) {
    const points = (fingers) => fingers.map(([x, y], id) => ({x, y, id}));
    await this.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: points(moves[0])});
    for (const fingers of moves.slice(1)) await this.send('Input.dispatchTouchEvent', {type: 'touchMove', touchPoints: points(fingers)});
    await this.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
  }

  // A finger's tap on the element matching selector.
  async tap(selector) {
    await this.touch([[await this.centre(selector)]]);
  }

  // The mouse wheel turned over (x, y) by deltaY pixels (positive: towards the user).
  async wheel(x, y, deltaY) {
    await this.send('Input.dispatchMouseEvent', {type: 'mouseWheel', x, y, deltaX: 0, deltaY});
  }

  // A new tab of the same browser on url, a screen as viewport() makes it;
  // resolves to its session, for evaluate and elementShot, once the page has
  // started. closeTab(session) closes it and brings this page to the front again.
  async newTab(url, [width, height, ratio, touch]) {
    const {targetId} = await this.send('Target.createTarget', {url: 'about:blank'});
    const {sessionId} = await this.send('Target.attachToTarget', {targetId, flatten: true});
    await this.send('Emulation.setDeviceMetricsOverride', {width, height, deviceScaleFactor: ratio, mobile: touch},
      sessionId);
    await this.send('Page.navigate', {url}, sessionId);
    for (let waited = 0; waited < 30000; waited += 50) {
      if (await this.evaluate(`import('./page.js').then(({page}) => page.shown !== null, () => false)`, sessionId))
        return sessionId;
      await new Promise((r) => setTimeout(r, 50));
    }
    throw new Error(`the page did not start in a new tab: ${url}`);
  }

  async closeTab(sessionId) {
    const {targetInfo} = await this.send('Target.getTargetInfo', {}, sessionId);
    await this.send('Target.closeTarget', {targetId: targetInfo.targetId});
    await this.send('Page.bringToFront');
  }

  // The pixels of the element matching selector (in the tab of sessionId) as RGBA, one per CSS pixel.
  async elementShot(selector, file = null, sessionId = undefined) {
    const [x, y, width, height] = await this.evaluate(`(() => { const r = document.querySelector(
      ${JSON.stringify(selector)}).getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; })()`,
    sessionId);
    const shot = await this.send('Page.captureScreenshot', {format: 'png', clip: {x, y, width, height, scale: 1}},
      sessionId);
    const bytes = Buffer.from(shot.data, 'base64');
    if (file) fs.writeFileSync(file, bytes);
    return PNG.sync.read(bytes);
  }

  // The top-left width × height pixels of the page as RGBA.
  async screenshot(width = 800, height = 800, file = null) {
    const shot = await this.send('Page.captureScreenshot',
      {format: 'png', clip: {x: 0, y: 0, width, height, scale: 1}, captureBeyondViewport: false});
    const bytes = Buffer.from(shot.data, 'base64');
    if (file) fs.writeFileSync(file, bytes);
    return PNG.sync.read(bytes);
  }

  async close() {
    try {
      await this.send('Browser.close');
    } catch (_) {
      this.child.kill('SIGKILL');
    }
    await new Promise((resolve) => (this.child.exitCode !== null ? resolve() : this.child.on('exit', resolve)));
    fs.rmSync(this.profile, {recursive: true, force: true});
  }
}

export function readPng(file) {
  return PNG.sync.read(fs.readFileSync(file));
}

// Runs the desktop program; throws with its message when it fails.
export function runRackgen(rackgen, args) {
  const run = spawnSync(rackgen, args, {encoding: 'utf8', env: {...process.env, DISPLAY: ''}});
  if (run.status !== 0) throw new Error(`rackgen ${args.join(' ')}: ${run.stderr}`);
  return run;
}
