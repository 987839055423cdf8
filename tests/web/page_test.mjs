// The web page in headless Chromium, as a student and a teacher use it:
// linked frames look like the desktop's pictures of the same frame, the form
// and the keys behave as the console and the window do, bad links say why,
// the gear's data is said in words, the downloads hold the desktop's bytes,
// the page fits phones, tablets and projectors and is worked by fingers and
// mouse too, in Japanese and English, its address is the link to its frame,
// a checker finds no serious barrier, and a page that cannot start says what failed.
// Usage: node page_test.mjs <built page dir> <desktop rackgen> <artifacts dir>
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {pageTestTools} from './page_tools.mjs';
import {after, before, describe, test} from 'node:test';

const [pageDir, rackgen, artifacts] = process.argv.slice(2).map((p) => path.resolve(p));
const {Browser, readPng, runRackgen, serve} = await pageTestTools(pageDir);
const {changedPixels, comparePictures} = await import('./pictures.mjs');
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

// A click on the button of that id, as a tap or Enter on it gives one.
const press = (id) => browser.evaluate(`document.getElementById('${id}').click()`);

// A cutter or mate as a link gives it ({alpha: 25}) and as the command line's options.
const CUTTER_OPTIONS = {profile: '--profile', alpha: '--pressure-angle', ha: '--addendum', hf: '--dedendum',
  rho: '--tip-radius', m: '--module', z2: '--mate', x2: '--mate-shift'};
const cutterQuery = (cutter) => Object.entries(cutter).map(([name, value]) => `&${name}=${value}`).join('');
const cutterOptions = (cutter) =>
  Object.entries(cutter).flatMap(([name, value]) => [CUTTER_OPTIONS[name], String(value)]);

// The desktop's picture of a frame, made by the program's --render.
function desktopFrame(z, x, scene, step, zoom, cutter = {}, size = [800, 800]) {
  const file = artifact(`desktop_z${z}_x${x}_s${scene}_k${step}_w${zoom}${cutterQuery(cutter)}_${size.join('x')}.png`);
  runRackgen(rackgen, ['--teeth', String(z), '--shift', String(x), ...cutterOptions(cutter), '--render', file,
    '--scene', String(scene), '--step', String(step), '--zoom', String(zoom), '--size', size.join('x')]);
  return readPng(file);
}

// The page's picture of a frame (the canvas's pixels at one device pixel per
// CSS pixel) against the desktop's of the same size.
function sameFrame(shot, z, x, scene, step, zoom, cutter = {}) {
  const complaints = comparePictures(shot, desktopFrame(z, x, scene, step, zoom, cutter, [shot.width, shot.height]));
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
  // With embed=1 the canvas alone, 800 × 800 at the top-left (or size=).
  // '+40' in the address is the step 40 with its sign, not " 40". Two are cut
  // with other cutters and one meshes with a chosen mate, given as the
  // command line's options give them.
  const frames = [
    [20, 0.5, 1, '+40', 0], [8, 0, 3, 60, 0], [20, 0.5, 4, 300, -15], [10, 0.5, 5, 120, 0],
    [10, 0.5, 6, 0, 3], [10, 0.5, 7, 0, -8], [20, 0, 2, 25, 12],
    [8, 0.2, 3, 60, 0, {alpha: 25, rho: 0.3}], [10, 0.5, 7, 0, -8, {profile: 'D', ha: 0.8}],
    [12, 0.6, 8, 0, 8, {z2: 24, x2: 0.36}], [20, 0.5, 4, 30, 0, {size: '1000x500'}],
  ];
  for (const [z, x, scene, step, zoom, cutter = {}] of frames) {
    const query = `z=${z}&x=${x}&scene=${scene}&step=${step}&zoom=${zoom}${cutterQuery(cutter)}&embed=1`;
    test(query, async () => {
      await browser.open(`${server.url}index.html?${query}`);
      const [width, height] = (cutter.size ?? '800x800').split('x').map(Number);
      const shot = await browser.screenshot(width, height, artifact(`page_${query.replaceAll('&', '_')}.png`));
      const {size, ...rest} = cutter;
      sameFrame(shot, z, x, scene, step, zoom, rest);
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
      ['z=20&m=0x10', /m=0x10 in the address: m must be a number of millimetres/],  // decimal numbers only
      ['z=20&x=inf', /x in the address: "inf" is not a number/],
      ['z=20&z2=2', /z2 in the address: 2 is refused: the number of teeth must be a whole number from 3 to 1000/],
      // The checks of the gear read the cutter: profile A's rounded tip cannot cut z = 8 with x = 1.
      ['z=8&x=1&profile=A', /x in the address: 1 is refused: z = 8 with x = 1 cannot be generated: the cutter's/],
      ['z=%3Cb%3E20%3C%2Fb%3E', /"<b>20<\/b>" is not a whole number/],
      // Shown as the console shows a refused word: controls escaped, cut at 32 characters.
      ['z=%1B%5B2J12', /"\\x1b\[2J12" is not a whole number/],
      ['z=20%00', /"20\\x00" is not a whole number/],
      [`z=${'7'.repeat(40)}a`, new RegExp(`"${'7'.repeat(32)}\\.\\.\\." is not a whole number`)],
      // A number however long, cut where it is shown.
      [`z=${'0'.repeat(400)}2`, new RegExp(`z in the address: ${'0'.repeat(32)}\\.\\.\\. is refused: the number of teeth`)],
      ['z=20&size=8x8000', /size=8x8000 in the address: size must be WxH, each side 16 to 8192 pixels/],
      // The last of a repeated name counts, as on the command line; one it replaces is still read.
      ['z=20&z=2', /z in the address: 2 is refused/],
      ['z=2O&z=20', /z=2O in the address: z must be a number/],
      ['z=20&profile=Q&profile=A', /profile=Q in the address: profile must be A, B, C or D/],
      // The pinion-type cutter and the ring: the rack cuts no ring, nor two rings a pair.
      ['z=20&zc=5.5', /zc=5.5 in the address: zc must be a whole number from 6 to 400/],
      ['z=20&xc=0.2', /xc=0.2 in the address: xc needs zc: the rack has no shift of its own/],
      ['z=20&zc=20&xc=2', /zc=20, xc=2 in the address: the cutter cannot be used: the cutter's shift must be from -1/],
      ['z=50&internal=1', /internal=1 in the address: an internal gear can be cut only by a pinion-type cutter/],
      ['z=50&zc=20&internal=yes', /internal=yes in the address: internal must be a whole number from 0 to 1/],
      ['z=12&zc=20&internal=1', /z in the address: 12 is refused: the cutter is too large for the ring/],
      ['z=50&zc=20&internal=1&z2=30&internal2=1', /z2 in the address: a gear and its mate cannot both be rings/],
      ['z=16&zc=10&internal2=1', /internal2=1 in the address: a ring mate needs its number of teeth z2/],
      // The helix: its angle, a hand without it, a helical pinion-type cutter (named by beta), the face width.
      ['z=12&beta=50', /beta=50 in the address: the cutter cannot be used: the helix angle must be from 0 to 45/],
      ['z=12&hand=left', /hand=left in the address: hand needs beta, the helix angle: a spur gear has no hand/],
      ['z=12&beta=30&zc=20', /beta=30 in the address: the cutter cannot be used: a helical gear is cut by the rack/],
      ['z=12&beta=30&face=-1', /face=-1 in the address: face must be a number of millimetres above 0/],
      // Allowances reversed (the module's refusal, named by the word), one limit only, a mounting without a mate.
      ['z=12&z2=24&allowance=-0.13,-0.08',
        /allowance=-0.13,-0.08 in the address: the gear's thickness allowances are reversed: upper -0.13 below lower -0.08 mm/],
      ['z=12&z2=24&allowance2=-0.1', /allowance2=-0.1 in the address: allowance2 must be UPPER,LOWER in millimetres/],
      ['z=12&cd=30', /cd=30 in the address: cd needs z2: it is the mate's, or mounts a pair/],
    ];
    for (const [query, expected] of cases) {
      await browser.open(`${server.url}index.html?${query}&embed=1`);
      assert.match(await shownProblem(query), expected, query);
    }
  });
});

describe('the form and the keys', () => {
  const visible = (id) => browser.evaluate(`document.getElementById('${id}').checkVisibility()`);
  const focused = () => browser.evaluate('document.activeElement.id');
  const text = (id) => browser.evaluate(`document.getElementById('${id}').textContent`);
  const canvasShot = (name) => browser.elementShot('#canvas', artifact(`${name}.png`));
  // The data panel's rows, {name: value}; the form's fields set as typed or chosen; the address once it follows.
  const panel = () => browser.evaluate(`Object.fromEntries([...document.getElementById('gear-data-rows').rows]
    .map((row) => [row.cells[0].textContent, row.cells[1].textContent]))`);
  const choose = (values) => browser.evaluate(`(() => { document.getElementById('cutter').open = true;
    for (const [id, value] of Object.entries(${JSON.stringify(values)})) {
      const field = document.getElementById(id);
      if (field.type === 'checkbox') field.checked = value; else field.value = value;
      field.dispatchEvent(new Event('input'));
      field.dispatchEvent(new Event('change'));
    } })()`);
  const linkOf = async () => {
    await new Promise((resolve) => setTimeout(resolve, 400));
    return browser.evaluate('location.search');
  };
  const pageShot = (name) => browser.send('Page.captureScreenshot', {format: 'png'}).then(({data: png}) =>
    fs.writeFileSync(artifact(name), Buffer.from(png, 'base64')));

  test('the dialogue as people type it, scene 4 with w and s, then x, z and Esc', async () => {
    // Without a link the page plays the example at once: z = 8, scene 4, the whole gear in view.
    await browser.open(`${server.url}index.html?lang=en`);
    await new Promise((resolve) => setTimeout(resolve, 300));
    const example = await browser.evaluate(`import('./page.js').then(({page}) =>
      [page.shown.scene, page.shown.step > 0, page.playing, document.getElementById('dialogue').hidden,
        document.getElementById('gear-line').textContent])`);
    assert.deepEqual(example, [4, true, true, true, 'z = 8, x = 0']);
    await press('new-gear');  // the form one tap away, at the number of teeth
    assert.equal(await focused(), 'teeth');
    await browser.type('8O');  // a letter O for a nought, as typed in a hurry
    await browser.key('Enter');
    assert.equal(await text('teeth-message'),
      '"8O" is not a whole number: the number of teeth must be a whole number from 3 to 1000');
    assert.deepEqual([await text('gear-line'), await focused()], ['z = 8, x = 0', 'teeth']);

    // Enter moves on from z to x, then accepts; full-width digits and a decimal comma are numbers.
    await browser.evaluate(`document.getElementById('teeth').select()`);
    await browser.type('８');
    await browser.key('Enter');
    assert.equal(await focused(), 'shift');
    await browser.type('０，０');
    await browser.key('Enter');
    assert.equal(await visible('question'), true, 'the data-file question follows the accepted gear');
    await browser.key('0');
    assert.equal(await visible('question'), false);
    assert.equal(await text('gear-line'), 'z = 8, x = 0');

    // Scene 4 from its start; every 'w' zooms out and draws the next step, as in the window.
    await browser.key('4');
    for (let k = 0; k < 10; ++k) await browser.key('w');
    let previous = await canvasShot('keys_4_w10');
    sameFrame(previous, 8, 0, 4, 10, 10);
    for (let step = 11; step <= 12; ++step) {
      await browser.key('s');
      const shot = await canvasShot(`keys_4_w10_s${step}`);
      assert.ok(changedPixels(previous, shot) > 200, `'s' to step ${step} moves the rack`);
      sameFrame(shot, 8, 0, 4, step, 10);
      previous = shot;
    }

    // 'x': only the shift may change; the new gear is drawn at once, scene 1 from its start.
    await browser.key('x');
    assert.deepEqual([await visible('dialogue'), await focused(),
      await browser.evaluate(`document.getElementById('teeth').readOnly`)], [true, 'shift', true]);
    await browser.evaluate(`document.getElementById('shift').select()`);
    await browser.type('0.5');
    await browser.key('Enter');
    await browser.key('0');
    assert.equal(await text('gear-line'), 'z = 8, x = 0.5');
    sameFrame(await canvasShot('keys_x'), 8, 0.5, 1, 0, 0);

    // Esc in the form drops the change: the gear and its frame stay.
    const before = await canvasShot('keys_before_esc');
    await browser.key('z');
    await browser.type('12');
    await browser.key('Escape');
    assert.deepEqual([await visible('dialogue'), await text('gear-line')], [false, 'z = 8, x = 0.5']);
    assert.equal(changedPixels(before, await canvasShot('keys_after_esc')), 0);

    await browser.key('z');
    assert.deepEqual([await visible('dialogue'), await focused()], [true, 'teeth']);
    // The cutter part, folded away: a profile fills in its values, a refused cutter is named there.
    assert.equal(await visible('cutter-alpha'), false);
    await browser.evaluate(`(() => { const profile = document.getElementById('cutter-profile');
      profile.value = 'A'; profile.dispatchEvent(new Event('change'));
      document.getElementById('cutter-alpha').value = '50'; })()`);
    await browser.evaluate(`document.getElementById('accept').click()`);
    assert.deepEqual([await text('cutter-message'), await visible('cutter-alpha'), await focused()],
      ['the cutter cannot be used: the pressure angle must be from 10 to 35 degrees', true, 'cutter-alpha']);
    await browser.evaluate(`document.getElementById('cutter-alpha').select()`);
    await browser.type('20');
    await browser.key('Enter');  // the same gear again, cut by profile A
    await browser.key('0');
    assert.equal(await text('gear-line'), 'z = 8, x = 0.5; cutter 20°, ha 1, hf 1.25, ρ 0.38');
    await browser.key('Escape');
    assert.deepEqual([await visible('scenes'), await visible('dialogue'), await focused()], [false, true, 'teeth']);
    assert.deepEqual(browser.consoleErrors, []);
  });

  test('the gear\'s data beside the canvas, undercut and pointed in words; a refused mate', async () => {
    await browser.open(`${server.url}index.html?lang=en`);
    await press('new-gear');
    await browser.type('8');
    await browser.key('Enter');
    await browser.type('0');
    await browser.key('Enter');
    await browser.key('0');
    const undercut = await panel();  // the least shift rounded up: 0.78209 said as 0.7821
    assert.deepEqual([undercut.undercut, undercut['least shift without undercut'], undercut['pointed tooth']],
      ['yes', '0.7821', 'no']);

    await browser.key('m');  // the mate, checked as z is
    assert.equal(await focused(), 'mate-teeth');
    await browser.type('2');
    await browser.key('Enter');
    assert.equal(await text('mate-teeth-message'),
      '2 is refused: the number of teeth must be a whole number from 3 to 1000');
    await browser.evaluate(`document.getElementById('mate-teeth').select()`);
    await browser.type('16');
    await browser.key('Enter');
    await browser.key('Enter');
    assert.equal((await panel()).interference, 'no');  // the pinion's undercut clears the mate's tip
    await browser.open(`${server.url}index.html?z=20&z2=30&ha=1.4&hf=1&lang=en`);
    assert.equal((await panel()).interference, 'yes — each gear\'s tip digs into the other\'s root');

    await browser.open(`${server.url}index.html?z=10&x=0.7&lang=en`);
    const pointed = await panel();
    assert.deepEqual([pointed.undercut, pointed['pointed tooth'], pointed['diameter where the flanks meet']],
      ['no', 'yes', '13.3995 mm']);
  });

  test('a pinion-type cutter and a ring: the form, the cutting data, the link, the refusals', async () => {
    await browser.viewport(1200, 900);
    await browser.open(`${server.url}index.html?lang=en`);
    await press('new-gear');
    // The pinion-type cutter's fields only once it is chosen.
    assert.equal(await visible('cutter-zc'), false);
    await choose({teeth: '12', shift: '0', 'cutter-kind': 'pinion', 'cutter-zc': '25', 'cutter-xc': '0.2'});
    assert.equal(await visible('cutter-zc'), true);
    await press('accept');
    await browser.key('0');
    assert.equal(await text('gear-line'), 'z = 12, x = 0; pinion cutter z_c = 25, x_c = 0.2');
    let data = await panel();
    assert.deepEqual([data.cutter, data['cutter\'s number of teeth'], data['cutting centre distance'],
      data['cutting pressure angle']], ['pinion', '25', '18.6927 mm', '21.5642 deg']);
    assert.match(await linkOf(), /^\?z=12&x=0&zc=25&xc=0\.2&scene=1&/);

    // A ring asked of the rack: the geometry's refusal beside the choice, at once and on OK; nothing changes.
    await browser.key('z');
    await choose({teeth: '50', shift: '0.5', 'cutter-kind': 'rack', internal: true});
    const refusal = /^an internal gear can be cut only by a pinion-type cutter \(a rack cannot reach inside a ring\)/;
    assert.match(await text('internal-message'), refusal);
    await press('accept');
    assert.deepEqual([await visible('dialogue'), await focused()], [true, 'internal']);
    assert.match(await text('internal-message'), refusal);
    // With a pinion-type cutter of 20 teeth it is cut: its data, then its link read back.
    await choose({'cutter-kind': 'pinion', 'cutter-zc': '20', 'cutter-xc': ''});
    assert.equal(await visible('internal-message'), false);
    await press('accept');
    await browser.key('0');
    assert.equal(await text('gear-line'), 'z = 50, x = 0.5; internal gear; pinion cutter z_c = 20, x_c = 0');
    data = await panel();
    assert.deepEqual([data['cutting centre distance'], data['root diameter'], data['internal gear (ring)'],
      data['measurement between pins'] !== undefined, data['measurement over pins']],
    ['15.4530 mm', '53.4061 mm', 'yes', true, undefined]);
    await browser.key('7');
    const link = await linkOf();
    assert.match(link, /^\?z=50&x=0\.5&zc=20&internal=1&scene=7&step=0&zoom=0&lang=en$/);
    await pageShot('ring_page.png');
    await browser.open(`${server.url}index.html${link}`);
    assert.deepEqual([await text('gear-line'), await panel()],
      ['z = 50, x = 0.5; internal gear; pinion cutter z_c = 20, x_c = 0', data]);

    // Scene 8 with the default mate (too large to turn inside the ring) says no pair's figures;
    // a ring mate of a ring is refused with the choice's words, a pinion inside it is taken.
    await browser.key('8');
    const mesh = await panel();
    assert.deepEqual([Object.keys(mesh).filter((name) => /mate|mesh|working/.test(name)),
      mesh['cutting centre distance']], [[], '15.4530 mm']);
    await browser.key('m');
    await choose({'mate-teeth': '30', 'mate-shift': '0', 'mate-internal': true});
    await press('accept');
    assert.equal(await text('mate-teeth-message'), 'a gear and its mate cannot both be rings');
    await choose({'mate-internal': false});
    await press('accept');
    assert.equal(await text('gear-line'),
      'z = 50, x = 0.5; internal gear; pinion cutter z_c = 20, x_c = 0; mate z2 = 30, x2 = 0');
    assert.equal((await panel())['internal pair (a pinion inside a ring)'], 'yes');

    // The published internal pair (m 3, z 16/24, x 0/0.5, a 10-tooth cutter), the ring as the mate:
    // its figures, its link read back, the form's choice of a ring mate kept.
    await browser.open(`${server.url}index.html?z=16&x=0&z2=24&x2=0.5&zc=10&internal2=1&m=3&scene=8&lang=en`);
    assert.equal(await text('gear-line'),
      'z = 16, x = 0; pinion cutter z_c = 10, x_c = 0; module 3 mm; ring mate z2 = 24, x2 = 0.5');
    const pair = await panel();
    assert.deepEqual(['working pressure angle', 'centre distance', 'contact ratio', 'interference',
      'involute interference', 'trochoid interference', 'trimming interference'].map((name) => pair[name]),
    ['31.0936 deg', '13.1683 mm', '1.6795', 'yes — the ring\'s tip digs into the pinion\'s flank below its base circle',
      'yes', 'no', 'no']);
    assert.match(await linkOf(), /^\?z=16&x=0&z2=24&x2=0\.5&zc=10&internal2=1&m=3&scene=8&/);
    await pageShot('internal_pair_page.png');
    await browser.key('m');
    assert.deepEqual(await browser.evaluate(`[document.getElementById('mate-internal').checked,
      document.getElementById('mate-teeth').value]`), [true, '24']);
    await browser.key('Escape');
    assert.deepEqual(browser.consoleErrors, []);
  });

  test('a helical pair: its line, the published figures, the form\'s helix, the link with hand=left', async () => {
    await browser.viewport(1200, 900);
    // The published pair (m 3, z 12 and 60, x 0.09809 and 0, β 30°, a face 20 mm wide).
    await browser.open(`${server.url}index.html?z=12&x=0.09809&z2=60&beta=30&m=3&face=20&scene=8&lang=en`);
    const line = 'z = 12, x = 0.09809; helical 30°, right hand; face width 20 mm; module 3 mm; mate z2 = 60, x2 = 0';
    assert.equal(await text('gear-line'), line);
    const pair = await panel();
    assert.deepEqual(['working pressure angle', 'centre distance', 'contact ratio', 'overlap ratio', 'hand of helix']
      .map((name) => pair[name]), ['23.1126 deg', '125.0000 mm', '1.2939', '1.0610', 'right']);
    await pageShot('helical_pair_page.png');

    // The form holds the helix; a refused angle is said beside the cutter; the left hand is taken.
    await browser.key('z');
    assert.deepEqual(await browser.evaluate(`['beta', 'hand', 'face'].map((name) =>
      document.getElementById('cutter-' + name)).map((field) => [field.value, field.disabled])`),
    [['30', false], ['right', false], ['20', false]]);
    await choose({'cutter-beta': '50'});
    await press('accept');
    assert.deepEqual([await text('cutter-message'), await focused()],
      ['the cutter cannot be used: the helix angle must be from 0 to 45 degrees', 'cutter-beta']);
    await choose({'cutter-beta': '30', 'cutter-hand': 'left'});
    await press('accept');
    await browser.key('0');
    assert.equal(await text('gear-line'), line.replace('right', 'left'));
    assert.equal((await panel())['hand of helix'], 'left');
    const link = await linkOf();
    assert.match(link, /^\?z=12&x=0\.09809&z2=60&x2=0&beta=30&hand=left&m=3&face=20&scene=1&/);
    await browser.open(`${server.url}index.html${link}`);
    assert.deepEqual([await text('gear-line'), (await panel())['overlap ratio']], [line.replace('right', 'left'), '1.0610']);

    // No helix for a pinion-type cutter: its fields greyed, the geometry's reason beside them;
    // the hand and face width greyed without an angle.
    await browser.key('z');
    await choose({'cutter-kind': 'pinion'});
    assert.deepEqual([await browser.evaluate(`document.getElementById('cutter-beta').disabled`), await text('helix-note')],
      [true, 'a helical gear is cut by the rack (a hob) here: a helical pinion-type cutter is not offered, ' +
        'so neither are helical rings']);
    await choose({'cutter-kind': 'rack', 'cutter-beta': ''});
    assert.deepEqual(await browser.evaluate(`['beta', 'hand', 'face'].map((name) =>
      document.getElementById('cutter-' + name).disabled)`), [false, true, true]);
    assert.equal(await visible('helix-note'), false);
    await browser.key('Escape');
    assert.deepEqual(browser.consoleErrors, []);
  });

  test('a pair with allowances: limits and backlash, its line in both languages, x2 solved for cd, the form', async () => {
    await browser.viewport(1200, 900);
    const worked = 'z=12&x=0.6&z2=24&x2=0.36&m=3&allowance=-0.080,-0.130&allowance2=-0.090,-0.150&cdtol=0.020';
    await browser.open(`${server.url}index.html?${worked}&scene=8&lang=en`);
    const rows = await panel();
    assert.deepEqual(['span limits', 'normal backlash (least / greatest)', 'least recommended normal backlash']
      .map((name) => rows[name]), ['23.8013 / 23.7543 mm', '0.1422 / 0.2807 mm', '0.1188 mm']);
    const line = 'z = 12, x = 0.6; module 3 mm; allowance -0.08 / -0.13 mm; mate z2 = 24, x2 = 0.36; ' +
      'mate\'s allowance -0.09 / -0.15 mm; centre distance ± 0.02 mm';
    assert.equal(await text('gear-line'), line);
    await browser.evaluate(`[...document.getElementById('gear-data-rows').rows]
      .find((row) => row.cells[0].textContent.endsWith('shift coefficient x2')).scrollIntoView({block: 'center'})`);
    await pageShot('allowances_page.png');
    assert.match(await linkOf(), /&m=3&allowance=-0\.08,-0\.13&allowance2=-0\.09,-0\.15&cdtol=0\.02&scene=8&/);
    await press('language');
    assert.match(await text('gear-line'), /; 歯厚の許容差 -0\.08 \/ -0\.13 mm; .*相手歯車の歯厚の許容差 -0\.09 \/ -0\.15 mm; 中心距離 ± 0\.02 mm$/);

    // Mounted at 56.4999 mm with no x2: the mate's shift that meshes there without backlash, kept out of the link.
    await browser.open(`${server.url}index.html?z=12&x=0.6&z2=24&m=3&cd=56.4999&scene=8&lang=en`);
    assert.equal(await text('gear-line'),
      'z = 12, x = 0.6; module 3 mm; mate z2 = 24, x2 = 0.3600; centre distance 56.4999 mm');
    // No backlash there, as on the command line: too little, not binding.
    const mounted = await panel();
    assert.deepEqual(['normal backlash (least / greatest)', 'least recommended normal backlash'].map((name) => mounted[name]),
      ['0.0000 / 0.0000 mm', '0.1188 mm — the least backlash is below the least recommended']);
    assert.match(await linkOf(), /^\?z=12&x=0\.6&z2=24&m=3&cd=56\.4999&scene=8&/);

    // The mate's form holds them (x2 empty: solved again); reversed limits are refused beside them.
    await browser.key('m');
    assert.deepEqual(await browser.evaluate(`['mate-shift', 'centre-distance', 'allowance-upper']
      .map((id) => document.getElementById(id).value).concat(document.getElementById('tolerances').open)`),
    ['', '56.4999', '', true]);
    await choose({'allowance-upper': '-0.13', 'allowance-lower': '-0.08'});
    await press('accept');
    assert.deepEqual([await text('tolerances-message'), await focused()],
      ['the gear\'s thickness allowances are reversed: upper -0.13 below lower -0.08 mm', 'allowance-upper']);
    await pageShot('allowances_form.png');
    await choose({'allowance-upper': '-0.08', 'allowance-lower': '-0.13', 'centre-distance': ''});
    await press('accept');
    assert.equal(await text('gear-line'), 'z = 12, x = 0.6; module 3 mm; allowance -0.08 / -0.13 mm; mate z2 = 24, x2 = 0');
    assert.deepEqual(browser.consoleErrors, []);
  });

  test('downloads hold the desktop\'s bytes', async () => {
    await browser.open(`${server.url}index.html?z=20&x=0.5&embed=1`);
    // Through the page's own modules, as its buttons reach them.
    const inPage = (expression) => browser.evaluate(`import('./downloads.js').then((downloads) => ${expression})`);
    // The rack's gears, a gear cut by a pinion-type cutter, a ring, a helical gear ([z, x, zc, xc, internal, β]);
    // the last, z = 150, for the outlines below.
    for (const [z, x, zc = 0, xc = 0, ring = 0, beta = 0] of
      [[20, 0.5], [8, 0], [12, 0, 25, 0.2], [50, 0.5, 20, 0, 1], [12, 0.09809, 0, 0, 0, 30], [150, 0]]) {
      await browser.evaluate(`import('./exports.js').then(({call}) => [
        call.web_set_cutter(20, 1, 1.25, 0, ${zc}, ${xc}, ${beta}, 0), call.web_take_gear(${z}, ${x}, 1, 0, 0, ${ring}, 0, 0)])`);
      const [file, json] = [artifact(`desktop_data_z${z}`), artifact(`desktop_z${z}.json`)];
      const options = [...(zc > 0 ? ['--cutter-teeth', String(zc), '--cutter-shift', String(xc)] : []),
        ...(ring ? ['--internal'] : []), ...(beta ? ['--helix-angle', String(beta)] : [])];
      runRackgen(rackgen, ['--teeth', String(z), '--shift', String(x), ...options, '--flank', file, '--info', json]);
      assert.ok(Buffer.from(await inPage('Array.from(downloads.dataFileBytes())')).equals(fs.readFileSync(file)),
        `data file of z=${z} x=${x}`);
      assert.ok(Buffer.from(await inPage('Array.from(downloads.gearDataBytes())')).equals(fs.readFileSync(json)),
        `gear data of z=${z} x=${x} ${options.join(' ')}`);
      if (!ring && !beta) continue;
      for (const ending of ['.svg', '.dxf']) {  // the ring's or the transverse section's outline, as --gear writes it
        const outline = artifact(`desktop_outline_z${z}${ending}`);
        runRackgen(rackgen, ['-z', String(z), '-x', String(x), ...options, '--gear', outline]);
        assert.ok(Buffer.from(await inPage(`Array.from(downloads.gearBytes('${ending}'))`)).equals(fs.readFileSync(outline)),
          `outline of z=${z} ${options.join(' ')} ${ending}`);
      }
    }
    for (const ending of ['.svg', '.dxf']) {
      const bytes = Buffer.from(await inPage(`Array.from(downloads.gearBytes('${ending}'))`));
      const file = artifact(`desktop_gear${ending}`);
      runRackgen(rackgen, ['--teeth', '150', '--gear', file]);
      assert.ok(bytes.equals(fs.readFileSync(file)), `gear ${ending}`);
    }
    // Its solid and, below, a pair's, with the face width and bore typed beside the downloads, as --solid
    // writes them; a bore through the root circle refused beside its field.
    const solidFields = (face, bore) => browser.evaluate(`(() => { const [face, bore] = ['solid-face', 'solid-bore']
      .map((id) => document.getElementById(id)); face.value = '${face}'; bore.value = '${bore}'; })()`);
    const sameSolids = async (options, what) => {
      for (const ending of ['.stl', '.3mf']) {
        const file = artifact(`desktop_solid_${what}${ending}`);
        runRackgen(rackgen, [...options, '--solid', file]);
        assert.ok(Buffer.from(await inPage(`Array.from(downloads.solidBytes('${ending}'))`)).equals(fs.readFileSync(file)),
          `solid of ${what} ${ending}`);
      }
    };
    await solidFields('8', '20');
    await sameSolids(['--teeth', '150', '--face-width', '8', '--bore', '20'], 'z150');
    await solidFields('', '147.5');
    assert.equal(await inPage('downloads.solidBytes(\'.stl\')'), null);
    assert.match(await browser.evaluate('document.getElementById(\'solid-bore-message\').textContent'),
      /147\.5000 mm.*147\.4920 mm/);
    // A link's cutter and mate reach the downloads as the command line's options reach its files;
    // the module beside the downloads (typed with a full-width comma), too, and the address keeps it;
    // the data sheet in the page's language, as --sheet FILE.svg writes it with --lang.
    const cutter = {profile: 'B', ha: 0.8, m: 2, z2: 24, x2: 0.36};
    await browser.open(`${server.url}index.html?z=12&x=0.5${cutterQuery(cutter)}&lang=ja`);
    await browser.evaluate(`(() => { const module = document.getElementById('download-module');
      module.value = '２，５'; module.dispatchEvent(new Event('change')); })()`);
    await new Promise((resolve) => setTimeout(resolve, 400));
    assert.match(await browser.evaluate('location.search'), /&m=2\.5&/);
    const [data, dxf, json] = ['data', '.dxf', '.json'].map((name) => artifact(`desktop_cutter${name}`));
    runRackgen(rackgen, ['-z', '12', '-x', '0.5', ...cutterOptions({...cutter, m: 2.5}), '--flank', data,
      '--gear', dxf, '--info', json]);
    assert.ok(Buffer.from(await inPage('Array.from(downloads.dataFileBytes())')).equals(fs.readFileSync(data)));
    assert.ok(Buffer.from(await inPage(`Array.from(downloads.gearBytes('.dxf'))`)).equals(fs.readFileSync(dxf)));
    assert.ok(Buffer.from(await inPage('Array.from(downloads.gearDataBytes())')).equals(fs.readFileSync(json)));
    const sheet = artifact('desktop_cutter_sheet.svg');
    runRackgen(rackgen, ['-z', '12', '-x', '0.5', ...cutterOptions({...cutter, m: 2.5}), '--lang', 'ja', '--sheet', sheet]);
    assert.ok(Buffer.from(await inPage('Array.from(downloads.sheetBytes())')).equals(fs.readFileSync(sheet)));
    await solidFields('１２', '6');
    await sameSolids(['-z', '12', '-x', '0.5', ...cutterOptions({...cutter, m: 2.5}), '--face-width', '12', '--bore', '6'],
      'pair');
    // The worked pair with allowances and a centre distance tolerance, as --info writes it.
    await browser.open(`${server.url}index.html?z=12&x=0.6&z2=24&x2=0.36&m=3&allowance=-0.080,-0.130` +
      '&allowance2=-0.090,-0.150&cdtol=0.020');
    const pair = artifact('desktop_allowances.json');
    runRackgen(rackgen, ['-z', '12', '-x', '0.6', '--mate', '24', '--mate-shift', '0.36', '--module', '3',
      '--thickness-allowance', '-0.080,-0.130', '--mate-thickness-allowance', '-0.090,-0.150',
      '--centre-distance-tolerance', '0.020', '--info', pair]);
    assert.ok(Buffer.from(await inPage('Array.from(downloads.gearDataBytes())')).equals(fs.readFileSync(pair)));
  });
});

describe('every screen and every hand', () => {
  const LINK = 'z=20&x=0.5&scene=4&step=300';
  const shown = () => browser.evaluate(`import('./page.js').then(({page}) => page.shown)`);
  const address = () => browser.evaluate('location.search');

  // What stands outside the screen: the page's width, the canvas and every
  // control that is shown, with their sizes and the canvas's pixels.
  const LAYOUT = `(() => {
    const box = (e) => { const r = e.getBoundingClientRect(); return {id: e.id || e.textContent.trim(),
      left: r.left, top: r.top, right: r.right, bottom: r.bottom, width: r.width, height: r.height}; };
    const shown = (e) => e.checkVisibility();
    const canvas = document.getElementById('canvas');
    return {page: document.documentElement.scrollWidth, width: innerWidth, height: innerHeight,
      canvas: {...box(canvas), pixels: canvas.width, ratio: devicePixelRatio},
      toolbar: box(document.getElementById('controls')),
      controls: [...document.querySelectorAll('button, input, select, summary')].filter(shown).map(box)};
  })()`;

  const screens = [
    ['phone', 390, 844, 3, true], ['tablet', 820, 1180, 1, true], ['desktop', 1920, 1080, 1, false],
    ['phone landscape', 844, 390, 3, true], ['4K projector', 3840, 2160, 1, false],
  ];
  for (const [name, width, height, ratio, touch] of screens) {
    test(`${name} ${width}×${height}: nothing beyond the edges, the canvas sharp, controls for fingers`, async () => {
      await browser.viewport(width, height, ratio, touch);
      await browser.open(`${server.url}index.html?${LINK}&lang=${name.startsWith('phone') ? 'ja' : 'en'}`);
      const layout = await browser.evaluate(LAYOUT);
      assert.ok(layout.page <= width, `the page is ${layout.page} px wide`);
      const {canvas, toolbar} = layout;
      for (const part of [canvas, toolbar, ...layout.controls])
        assert.ok(part.left >= 0 && part.right <= width + 0.5, `${part.id} inside the width`);
      // The canvas and its controls on the first screen; the larger the screen, the larger the canvas.
      assert.ok(toolbar.bottom <= height && canvas.bottom <= height, 'canvas and controls on the screen');
      assert.ok(canvas.width >= Math.min(width, height) * 0.45, `a canvas of ${canvas.width} px`);
      assert.equal(canvas.pixels, Math.round(canvas.width * ratio), 'drawn at the pixel ratio');
      if (touch) for (const control of layout.controls)
        assert.ok(control.width >= 44 && control.height >= 44, `${control.id}: ${control.width}×${control.height}`);
      await browser.send('Page.captureScreenshot', {format: 'png'}).then(({data}) =>
        fs.writeFileSync(artifact(`screen_${name.replaceAll(' ', '_')}.png`), Buffer.from(data, 'base64')));
    });
  }

  test('fingers: scene, step and zoom buttons, a tap, the slider, play, pinch and the wheel', async () => {
    await browser.viewport(1024, 1366, 1, true);  // a canvas of 1000 pixels: the frame unscaled
    await browser.open(`${server.url}index.html?z=20&x=0.5&lang=en`);
    const canvasShot = (name) => browser.elementShot('#canvas', artifact(`${name}.png`));
    // The page's warm-up records and paints the frame shown again and again: the same frame.
    await browser.evaluate(`import('./page.js').then(({page}) => page.warmed)`);
    sameFrame(await canvasShot('warmed'), 20, 0.5, 1, 0, 0);
    // Taps do what the keys do: '4', 's', 's', 'w' (which draws the next step), then a tap on the picture.
    for (const key of ['4', 's', 's', 'w']) await browser.tap(`[data-key="${key}"]`);
    sameFrame(await canvasShot('tap_4_s_s_w'), 20, 0.5, 4, 3, 1);
    await browser.tap('#canvas');
    assert.deepEqual(await shown(), {scene: 4, step: 4, zoom: 1, last: 10000, info: false});

    // Two fingers spread to 1/0.9² of their distance: two presses of 'W'; the wheel one back.
    const [cx, cy] = await browser.centre('#canvas');
    await browser.touch([[[cx - 50, cy], [cx + 50, cy]], [[cx - 62, cy], [cx + 62, cy]]]);
    assert.equal((await shown()).zoom, -1);
    await browser.wheel(cx, cy, 100);
    assert.equal((await shown()).zoom, 0);

    // The whole gear in view: its tip circle fits below the pitch point, one press less would not.
    await browser.tap('#whole');
    const {zoom} = await shown();
    const reach = 10 + 11.5;  // pitch radius and tip radius of z = 20, x = 0.5, module units
    assert.ok(0.5 * 0.9 ** zoom * reach <= 0.95 && 0.5 * 0.9 ** (zoom - 1) * reach > 0.95, `zoom ${zoom}`);

    // The slider goes to step 3000 in one move, computing that frame directly.
    await browser.evaluate(`(() => { const slider = document.getElementById('step-slider');
      slider.value = '3000'; slider.dispatchEvent(new Event('input')); })()`);
    sameFrame(await canvasShot('slider_3000'), 20, 0.5, 4, 3000, zoom);

    // Play, then pause: the steps went on; the address is the link to the frame shown.
    await browser.tap('#play');
    await new Promise((resolve) => setTimeout(resolve, 700));
    await browser.tap('#play');
    const played = await shown();
    assert.ok(played.step > 3005, `played to step ${played.step}`);
    await new Promise((resolve) => setTimeout(resolve, 400));
    const link = await address();
    assert.match(link, new RegExp(`^\\?z=20&x=0.5&scene=4&step=${played.step}&zoom=${zoom}&lang=en$`));
    const frame = await canvasShot('played');
    const tab = await browser.newTab(`${server.url}index.html${link}`, [1024, 1366, 1, true]);
    const linked = await browser.elementShot('#canvas', artifact('played_link.png'), tab);
    await browser.closeTab(tab);
    assert.equal(changedPixels(frame, linked), 0, 'the link opens the same frame in a new tab');

    // After the run the kept trace mask gives way: a step back by the slider, a
    // zoom and a resize mid-run each show what --render draws for that step.
    await browser.evaluate(`(() => { const slider = document.getElementById('step-slider');
      slider.value = '2000'; slider.dispatchEvent(new Event('input')); })()`);
    await browser.tap('[data-key="s"]');
    sameFrame(await canvasShot('back_2001'), 20, 0.5, 4, 2001, zoom);
    await browser.tap('[data-key="w"]');
    sameFrame(await canvasShot('zoomed_2002'), 20, 0.5, 4, 2002, zoom + 1);
    await browser.viewport(900, 1200, 1, true);
    // Laid out anew first: a tap placed by the old layout may land on another button.
    await browser.evaluate('new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)))');
    await browser.tap('[data-key="s"]');
    sameFrame(await canvasShot('resized_2003'), 20, 0.5, 4, 2003, zoom + 1);

    // The next frame on another canvas of another pixel ratio (its racks left
    // out for the page's mask, so recorded again whole), then the same frame
    // once more (every rack in the mask, no trace item), and after another
    // scene's frame with other legend lines (the painter keeps the canvas and
    // puts only what changed), against it afresh.
    const differing = await browser.evaluate(`(async () => {
      const [{page}, {paintRecord}, {call}] = await Promise.all(
        [import('./page.js'), import('./painter.js'), import('./exports.js')]);
      const {width, height} = page.size;
      const canvas = document.createElement('canvas');
      canvas.width = 2 * width;
      canvas.height = 2 * height;
      const ctx = canvas.getContext('2d', {alpha: false});
      const frame = (step, scene = 4) => {
        call.web_open_frame(scene, step, ${zoom + 1}, width, height);
        paintRecord(page.wasm, page.layout, ctx, canvas.width, canvas.height, 2);
        return new Uint32Array(ctx.getImageData(0, 0, canvas.width, canvas.height).data.buffer);
      };
      const frames = [frame(2004), frame(2004), (frame(2005), frame(2004)), (frame(2004, 5), frame(2004))];
      return [0, 1, 3].map((k) => frames[k].filter((pixel, i) => pixel !== frames[2][i]).length);
    })()`);
    assert.deepEqual(differing, [0, 0, 0], 'frames through the kept mask and canvas against the frame afresh');

    assert.deepEqual(browser.consoleErrors, []);
  });

  test('the picture\'s own buttons: its PNG, full screen, its link shared; legends in Japanese', async () => {
    await browser.viewport(1200, 900);
    await browser.open(`${server.url}index.html?z=20&x=0.5&scene=4&step=300&zoom=24&lang=en`);
    const canvas = await browser.elementShot('#canvas', artifact('tools_canvas.png'));
    // The PNG holds the canvas's pixels.
    const downloads = artifact('downloads');
    fs.rmSync(downloads, {recursive: true, force: true});
    await browser.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});
    await press('save-png');
    const png = path.join(downloads, 'rackgen_z20_x0.5_scene4_step300_zoom24.png');
    for (let waited = 0; waited < 5000 && !fs.existsSync(png); waited += 50) await new Promise((r) => setTimeout(r, 50));
    const saved = readPng(png);
    assert.deepEqual([saved.width, saved.height, changedPixels(saved, canvas)], [canvas.width, canvas.height, 0]);

    // Full screen from the button (a user's gesture), the canvas fitted to it; the button again leaves it.
    const gesture = (id) => browser.send('Runtime.evaluate',
      {expression: `document.getElementById('${id}').click()`, userGesture: true});
    const screen = () => browser.evaluate(`new Promise((resolve) => setTimeout(() => resolve([
      document.fullscreenElement?.id ?? null, document.getElementById('canvas').getBoundingClientRect().width]), 300))`);
    const [, before] = await screen();
    await gesture('fullscreen');
    const [inFull, wide] = await screen();
    assert.deepEqual([inFull, wide > before], ['view', true]);
    await gesture('fullscreen');
    assert.equal((await screen())[0], null);

    // The link is copied where there is no system sharing, and the page says so.
    const origin = server.url.replace(/\/$/, '');
    await browser.send('Browser.grantPermissions', {origin, permissions: ['clipboardReadWrite', 'clipboardSanitizedWrite']});
    await browser.send('Emulation.setFocusEmulationEnabled', {enabled: true});  // a headless page has no focus
    await gesture('share');
    await new Promise((r) => setTimeout(r, 300));
    const [note, copied, address] = await browser.evaluate(`navigator.clipboard.readText().then((text) =>
      [document.getElementById('share-note').textContent, text, location.href])`);
    assert.deepEqual([note, copied], ['Link copied', address]);
    assert.match(copied, /\?z=20&x=0.5&scene=4&step=300&zoom=24&lang=en$/);
    await browser.send('Emulation.setFocusEmulationEnabled', {enabled: false});

    // The Japanese page paints the legends in Japanese; nothing below them changes.
    await browser.open(`${server.url}index.html?z=20&x=0.5&scene=4&step=300&zoom=24&lang=ja&embed=1`);
    const ja = await browser.screenshot(800, 800, artifact('legend_ja.png'));
    await browser.open(`${server.url}index.html?z=20&x=0.5&scene=4&step=300&zoom=24&lang=en&embed=1`);
    const en = await browser.screenshot(800, 800, artifact('legend_en.png'));
    const changed = changedPixels(ja, en);
    assert.ok(changed > 300, `${changed} pixels of the legend change`);
    assert.equal(changedPixels(ja, en, 800, 70), changed, 'only the legend\'s three lines change');
    assert.deepEqual(browser.consoleErrors, []);

    // A clip of what the canvas shows while it records: a WebM file (its EBML header) of some frames.
    await press('record-clip');
    for (let k = 0; k < 10; ++k) await browser.key('s');
    await new Promise((r) => setTimeout(r, 500));
    await press('record-clip');
    const webm = () => fs.readdirSync(downloads).find((name) => /^rackgen_z\d+_x[-\d.]+_scene\d_step\d+\.webm$/.test(name));
    for (let waited = 0; waited < 5000 && !webm(); waited += 50) await new Promise((r) => setTimeout(r, 50));
    const clip = fs.readFileSync(path.join(downloads, webm()));
    assert.deepEqual([...clip.subarray(0, 4)], [0x1a, 0x45, 0xdf, 0xa3]);
    assert.ok(clip.length > 1000, `a clip of ${clip.length} bytes`);
  });

  test('Japanese or English: from the browser, from the address, switched', async () => {
    await browser.viewport(1200, 900);
    await browser.languages('ja-JP,ja;q=0.9,en;q=0.8');
    await browser.open(`${server.url}index.html`);
    const texts = () => browser.evaluate(`['shift-prompt', 'play', 'key-help', 'teeth-message']
      .map((id) => document.getElementById(id).textContent)`);
    const [prompt, , help] = await texts();
    assert.equal(prompt, '(2) 転位係数設定　　入力 x=');  // the console's own bytes
    assert.match(help, /^'s'キーで    ：描画継続\n[^]*'x'キーで    ：転位係数変更/);
    await press('new-gear');
    await browser.type('2');
    await browser.key('Enter');
    assert.match((await texts())[3], /^2 は/);
    await browser.tap('#language');
    assert.deepEqual((await texts()).map((t) => t.split('\n')[0]),
      ['(2) Profile shift coefficient    input x=', '▶ Play', "'s'           : continue drawing",
        '2 is refused: the number of teeth must be a whole number from 3 to 1000']);
    await browser.open(`${server.url}index.html?z=20&lang=en`);
    assert.equal((await texts())[1], '▶ Play');
    await browser.languages('en-US,en');
  });

  test('no serious or critical barrier for assistive technology', async () => {
    const axe = fs.readFileSync(new URL('node_modules/axe-core/axe.min.js', import.meta.url), 'utf8');
    const barriers = async (what) => {
      await browser.evaluate(axe);
      const violations = await browser.evaluate(`axe.run(document).then((r) => r.violations
        .filter((v) => v.impact === 'serious' || v.impact === 'critical')
        .map((v) => v.id + ': ' + v.nodes.map((n) => n.target.join(' ')).join(', ')))`);
      assert.deepEqual(violations, [], what);
    };
    await browser.viewport(390, 844, 3, true);
    await browser.open(`${server.url}index.html?lang=ja`);
    await barriers('the example');
    await press('new-gear');
    await barriers('the form');
    await browser.evaluate(`(() => { document.getElementById('cutter').open = true;
      document.getElementById('internal').click(); })()`);
    await barriers('the form with its cutter part and a ring refused');
    await browser.open(`${server.url}index.html?${LINK}&info=1`);
    await barriers('the scenes');
    await browser.viewport(1200, 900);
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
