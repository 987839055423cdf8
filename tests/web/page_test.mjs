// The web page in headless Chromium, as a student and a teacher use it:
// linked frames look like the desktop's pictures of the same frame, the form
// and the keys behave as the console and the window do, bad links say why,
// the gear's data is said in words, the downloads hold the desktop's bytes,
// and a page that cannot start says what failed.
// Usage: node page_test.mjs <built page dir> <desktop rackgen> <artifacts dir>
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {after, before, describe, test} from 'node:test';

const SKIP = 77;  // CTest's skip code
if (!fs.existsSync(new URL('node_modules/ws', import.meta.url))) {
  console.log('SKIPPED: the web page\'s tests need the npm packages of tests/web (npm ci there)');
  process.exit(SKIP);
}
const {Browser, missingTools, readPng, runRackgen, serve} = await import('./browser.mjs');
const {changedPixels, comparePictures} = await import('./pictures.mjs');

const [pageDir, rackgen, artifacts] = process.argv.slice(2).map((p) => path.resolve(p));
const why = missingTools(pageDir);
if (why !== null) {
  console.log(`SKIPPED: the web page's tests need ${why}`);
  process.exit(SKIP);
}
fs.mkdirSync(artifacts, {recursive: true});
const artifact = (name) => path.join(artifacts, name);

let server;
let browser;
before(async () => {
  server = await serve(pageDir);
  browser = await Browser.launch();
});
after(async () => {
  await browser?.close();
  server?.close();
});

// A cutter or mate as a link gives it ({alpha: 25}) and as the command line's options.
const CUTTER_OPTIONS = {profile: '--profile', alpha: '--pressure-angle', ha: '--addendum', hf: '--dedendum',
  rho: '--tip-radius', m: '--module', z2: '--mate', x2: '--mate-shift'};
const cutterQuery = (cutter) => Object.entries(cutter).map(([name, value]) => `&${name}=${value}`).join('');
const cutterOptions = (cutter) =>
  Object.entries(cutter).flatMap(([name, value]) => [CUTTER_OPTIONS[name], String(value)]);

// The desktop's picture of a frame, made by the program's --render.
function desktopFrame(z, x, scene, step, zoom, cutter) {
  const file = artifact(`desktop_z${z}_x${x}_s${scene}_k${step}_w${zoom}${cutterQuery(cutter)}.png`);
  runRackgen(rackgen, ['--teeth', String(z), '--shift', String(x), ...cutterOptions(cutter), '--render', file,
    '--scene', String(scene), '--step', String(step), '--zoom', String(zoom)]);
  return readPng(file);
}

function sameFrame(shot, z, x, scene, step, zoom, cutter = {}) {
  const complaints = comparePictures(shot, desktopFrame(z, x, scene, step, zoom, cutter));
  assert.deepEqual(complaints, [], `z=${z} x=${x} scene ${scene} step ${step} zoom ${zoom}${cutterQuery(cutter)}`);
}

// The text of #problem, checked to be shown alone (no canvas, no form) and as plain text.
async function shownProblem(what) {
  const [text, ...alone] = await browser.evaluate(`(() => { const problem = document.getElementById('problem');
    return [problem.textContent, problem.hidden, problem.children.length,
      document.getElementById('canvas').checkVisibility(), document.getElementById('dialogue').checkVisibility()];
  })()`);
  assert.deepEqual(alone, [false, 0, false, false], `${what}: the message alone, as plain text`);
  return text;
}

describe('a link opens straight on its frame', () => {
  // '+40' in the address is the step 40 with its sign, not " 40". Two are cut
  // with other cutters and one meshes with a chosen mate, given as the
  // command line's options give them.
  const frames = [
    [20, 0.5, 1, '+40', 0], [8, 0, 3, 60, 0], [20, 0.5, 4, 300, -15], [10, 0.5, 5, 120, 0],
    [10, 0.5, 6, 0, 3], [10, 0.5, 7, 0, -8], [20, 0, 2, 25, 12],
    [8, 0.2, 3, 60, 0, {alpha: 25, rho: 0.3}], [10, 0.5, 7, 0, -8, {profile: 'D', ha: 0.8}],
    [12, 0.6, 8, 0, 8, {z2: 24, x2: 0.36}],
  ];
  for (const [z, x, scene, step, zoom, cutter = {}] of frames) {
    const query = `z=${z}&x=${x}&scene=${scene}&step=${step}&zoom=${zoom}${cutterQuery(cutter)}`;
    test(query, async () => {
      await browser.open(`${server.url}index.html?${query}`);
      const shot = await browser.screenshot(800, 800, artifact(`page_${query.replaceAll('&', '_')}.png`));
      sameFrame(shot, z, x, scene, step, zoom, cutter);
    });
  }

  test('bad values in the address are named on the page, as text', async () => {
    const cases = [
      ['z=2', /z in the address: 2 is refused: the number of teeth must be a whole number from 3 to 1000/],
      ['z=20&x=1.3', /x in the address: 1.3 is refused: with z = 20 the shift coefficient must be/],
      ['z=20&scene=9', /scene=9 in the address: scene must be a whole number from 1 to 8/],
      // The command line's limits: --step 0 ... 10000, --zoom -300 ... 300.
      ['z=20&step=-1', /step=-1 in the address: step must be a whole number from 0 to 10000/],
      ['z=20&zoom=-301', /zoom=-301 in the address: zoom must be a whole number from -300 to 300/],
      ['z=20&zom=3', /"zom" in the address is not known here/],
      ['z=20&alpha=50', /alpha=50 in the address: the cutter cannot be used: the pressure angle must be from 10/],
      ['z=20&alpha=2O', /alpha=2O in the address: alpha must be a number/],
      ['z=20&m=0', /m=0 in the address: m must be a number of millimetres from 0.001 to 10000/],
      ['z=20&z2=2', /z2 in the address: 2 is refused: the number of teeth must be a whole number from 3 to 1000/],
      // The checks of the gear read the cutter: profile A's rounded tip cannot cut z = 8 with x = 1.
      ['z=8&x=1&profile=A', /x in the address: 1 is refused: z = 8 with x = 1 cannot be generated: the cutter's/],
      ['z=%3Cb%3E20%3C%2Fb%3E', /"<b>20<\/b>" is not a whole number/],
      // Shown as the console shows a refused word: controls escaped, cut at 32 characters.
      ['z=%1B%5B2J12', /"\\x1b\[2J12" is not a whole number/],
      ['z=20%00', /"20\\x00" is not a whole number/],
      [`z=${'7'.repeat(40)}a`, new RegExp(`"${'7'.repeat(32)}\\.\\.\\." is not a whole number`)],
    ];
    for (const [query, expected] of cases) {
      await browser.open(`${server.url}index.html?${query}`);
      assert.match(await shownProblem(query), expected, query);
    }
  });
});

describe('the form and the keys', () => {
  const visible = (id) => browser.evaluate(`document.getElementById('${id}').checkVisibility()`);
  const focused = () => browser.evaluate('document.activeElement.id');

  test('the dialogue, scene 4 zoomed out with w and stepped with s, then x, z and Esc', async () => {
    await browser.open(`${server.url}index.html`);
    assert.equal(await browser.evaluate(`document.getElementById('shift-prompt').textContent`),
      '(2) 転位係数設定　　入力 x=');
    assert.equal(await focused(), 'teeth');

    await browser.type('8O');  // a letter O for a nought, as typed in a hurry
    await browser.key('Enter');
    assert.equal(await browser.evaluate(`document.getElementById('teeth-message').textContent`),
      '"8O" is not a whole number: the number of teeth must be a whole number from 3 to 1000');
    assert.equal(await visible('scenes'), false);

    await browser.evaluate(`document.getElementById('teeth').select()`);
    await browser.type('8');
    await browser.evaluate(`document.getElementById('shift').focus()`);
    await browser.type('0');
    await browser.key('Enter');
    assert.equal(await visible('question'), true, 'the data-file question follows the accepted gear');
    await browser.key('0');
    assert.equal(await visible('question'), false);

    // The canvas's place on the page, to cut the frame out of page screenshots.
    const [left, top] = (await browser.evaluate(`(() => { const r = document.getElementById('canvas')
      .getBoundingClientRect(); return [r.left, r.top]; })()`)).map(Math.round);
    const canvasShot = async (name) => {
      const shot = await browser.screenshot(1200, 900, artifact(`${name}.png`));
      const crop = {width: 800, height: 800, data: Buffer.alloc(800 * 800 * 4)};
      for (let y = 0; y < 800; ++y) {
        const from = ((y + top) * shot.width + left) * 4;
        shot.data.copy(crop.data, y * 3200, from, from + 3200);
      }
      return crop;
    };

    // Scene 4 from its start; every 'w' zooms out and draws the next step, as in the window.
    await browser.key('4');
    for (let k = 0; k < 10; ++k) await browser.key('w');
    let previous = await canvasShot('keys_4_w10');
    sameFrame(previous, 8, 0, 4, 10, 10);
    for (let step = 11; step <= 13; ++step) {
      await browser.key('s');
      const shot = await canvasShot(`keys_4_w10_s${step}`);
      assert.ok(changedPixels(previous, shot) > 200, `'s' to step ${step} moves the rack`);
      sameFrame(shot, 8, 0, 4, step, 10);
      previous = shot;
    }

    await browser.key('x');
    assert.deepEqual([await visible('dialogue'), await focused(),
      await browser.evaluate(`document.getElementById('teeth').readOnly`)], [true, 'shift', true]);
    await browser.evaluate(`document.getElementById('shift').select()`);
    await browser.type('0.5');
    await browser.key('Enter');
    await browser.key('0');
    assert.equal(await browser.evaluate(`document.getElementById('gear-line').textContent`), 'z = 8, x = 0.5');
    assert.equal(changedPixels(previous, await canvasShot('keys_x')), 0, 'the old frame stays until the next key');
    await browser.key('s');
    sameFrame(await canvasShot('keys_x_s'), 8, 0.5, 1, 0, 0);

    await browser.key('z');
    assert.deepEqual([await visible('dialogue'), await focused()], [true, 'teeth']);
    // The cutter part, folded away: a profile fills in its values, a refused cutter is named there.
    assert.equal(await visible('cutter-alpha'), false);
    await browser.evaluate(`(() => { const profile = document.getElementById('cutter-profile');
      profile.value = 'A'; profile.dispatchEvent(new Event('change'));
      document.getElementById('cutter-alpha').value = '50'; })()`);
    await browser.key('Enter');
    assert.deepEqual([await browser.evaluate(`document.getElementById('cutter-message').textContent`),
      await visible('cutter-alpha'), await focused()],
    ['the cutter cannot be used: the pressure angle must be from 10 to 35 degrees', true, 'cutter-alpha']);
    await browser.evaluate(`document.getElementById('cutter-alpha').select()`);
    await browser.type('20');
    await browser.key('Enter');  // the same gear again, cut by profile A
    await browser.key('0');
    assert.equal(await browser.evaluate(`document.getElementById('gear-line').textContent`),
      'z = 8, x = 0.5; cutter 20°, ha 1, hf 1.25, ρ 0.38');
    await browser.key('Escape');
    assert.deepEqual([await visible('scenes'), await visible('dialogue'), await focused()], [false, true, 'teeth']);
    assert.deepEqual(browser.consoleErrors, []);
  });

  test('the gear\'s data beside the canvas, undercut and pointed in words; a refused mate', async () => {
    const panel = () => browser.evaluate(`Object.fromEntries([...document.getElementById('gear-data-rows').rows]
      .map((row) => [row.cells[0].textContent, row.cells[1].textContent]))`);
    await browser.open(`${server.url}index.html`);
    await browser.type('8');
    await browser.evaluate(`document.getElementById('shift').focus()`);
    await browser.type('0');
    await browser.key('Enter');
    await browser.key('0');
    assert.deepEqual(Object.entries(await panel()).slice(-2),
      [['undercut', 'yes — a shift of at least 0.783 avoids it'], ['pointed', 'no']]);

    await browser.key('m');  // the mate, checked as z is
    assert.equal(await focused(), 'mate-teeth');
    await browser.type('2');
    await browser.key('Enter');
    assert.equal(await browser.evaluate(`document.getElementById('mate-teeth-message').textContent`),
      '2 is refused: the number of teeth must be a whole number from 3 to 1000');
    await browser.evaluate(`document.getElementById('mate-teeth').select()`);
    await browser.type('16');
    await browser.key('Enter');
    assert.equal((await panel()).interference, 'yes — the mate\'s tip digs into the gear\'s root');

    await browser.open(`${server.url}index.html?z=10&x=0.7`);
    const pointed = await panel();
    assert.deepEqual([pointed.undercut, pointed.pointed, pointed['tooth thickness on the tip circle']],
      ['no', 'yes — the flanks meet at d = 13.3995 mm', '— (the tooth is pointed)']);
  });

  test('downloads hold the desktop\'s bytes', async () => {
    await browser.open(`${server.url}index.html?z=20&x=0.5`);
    // Through the page's own modules, as its buttons reach them.
    const inPage = (expression) => browser.evaluate(`import('./page.js').then((page) => ${expression})`);
    for (const [z, x] of [[20, 0.5], [8, 0], [150, 0]]) {
      await inPage(`page.page.module._web_start(${z}, ${x})`);
      const [file, json] = [artifact(`desktop_data_z${z}`), artifact(`desktop_z${z}.json`)];
      runRackgen(rackgen, ['--teeth', String(z), '--shift', String(x), '--flank', file, '--info', json]);
      assert.ok(Buffer.from(await inPage('Array.from(page.dataFileBytes())')).equals(fs.readFileSync(file)),
        `data file of z=${z} x=${x}`);
      assert.ok(Buffer.from(await inPage('Array.from(page.gearDataBytes())')).equals(fs.readFileSync(json)),
        `gear data of z=${z} x=${x}`);
    }
    for (const ending of ['.svg', '.dxf']) {
      const bytes = Buffer.from(await inPage(`Array.from(page.gearBytes('${ending}'))`));
      const file = artifact(`desktop_gear${ending}`);
      runRackgen(rackgen, ['--teeth', '150', '--gear', file]);
      assert.ok(bytes.equals(fs.readFileSync(file)), `gear ${ending}`);
    }
    // A link's cutter, module and mate reach the downloads as the command line's options reach its files.
    const cutter = {profile: 'B', ha: 0.8, m: 2, z2: 24, x2: 0.36};
    await browser.open(`${server.url}index.html?z=12&x=0.5${cutterQuery(cutter)}`);
    const [data, dxf, json] = ['data', '.dxf', '.json'].map((name) => artifact(`desktop_cutter${name}`));
    runRackgen(rackgen, ['-z', '12', '-x', '0.5', ...cutterOptions(cutter), '--flank', data, '--gear', dxf,
      '--info', json]);
    assert.ok(Buffer.from(await inPage('Array.from(page.dataFileBytes())')).equals(fs.readFileSync(data)));
    assert.ok(Buffer.from(await inPage(`Array.from(page.gearBytes('.dxf'))`)).equals(fs.readFileSync(dxf)));
    assert.ok(Buffer.from(await inPage('Array.from(page.gearDataBytes())')).equals(fs.readFileSync(json)));
  });
});

// Last: the browser's complaints about the missing files are expected here.
test('a page that cannot start says what failed', async () => {
  const failed = (what) => new RegExp(`^rackgen could not start in this browser: ${what}`);
  const cases = [
    [`file://${pageDir}/index.html`, [], failed('its scripts page.js and painter.js did not load .*serve the folder')],
    [`${server.url}index.html`, ['*/rackgen.js'], failed('its script rackgen.js did not load')],
    [`${server.url}index.html?z=20`, ['*/rackgen.wasm'], failed('its wasm module rackgen.wasm could not be loaded')],
  ];
  for (const [url, blocked, expected] of cases) {
    await browser.block(blocked);
    await browser.open(url);
    assert.match(await shownProblem(url), expected, url);
  }
  await browser.block([]);
});
