// The Japanese of the wasm module's texts (web/module_texts.js), on the
// messages the real module gives in headless Chromium: each is translated
// whole (no English word left over), keeps every number and the quoted word
// as they are, and a text the table does not know comes back unchanged.
// Usage: node module_texts_test.mjs <built page dir>
import assert from 'node:assert/strict';
import path from 'node:path';
import {pageTestTools} from './page_tools.mjs';
import {after, before, test} from 'node:test';


const pageDir = path.resolve(process.argv[2]);
const {Browser, serve} = await pageTestTools(pageDir);

// Runs in the page: the module's messages by group, each {english, japanese}.
async function moduleMessages() {
  const {call} = await import('./exports.js');
  const {japaneseText} = await import('./module_texts.js');
  const teeth = (word, ring = 0) => call.web_check_teeth(word, ring);
  const shift = (z, word, ring = 0) => call.web_check_shift(z, word, ring);
  const cutter = (alpha, ha, hf, rho, zc = 0, xc = 0, beta = 0, left = 0) =>
    call.web_set_cutter(alpha, ha, hf, rho, zc, xc, beta, left);
  const start = (z, x, ring = 0, face = 0) => call.web_take_gear(z, x, 2, 0, 0, ring, 0, face);
  const warning = (ofMate) => call.web_gear_warning(ofMate);
  const mate = (z, x, ring = 0) => call.web_set_mate(z, x, ring);
  const rows = () => call.web_gear_data_rows();
  const groups = {  // control characters, words cut at 32 characters, one holding the wrapper
    teeth: ['8O', '2', '1001', '', 'a\x01b\x1b', 'abcdefghij'.repeat(4), 'ß'.repeat(70), 'a" is not a whole number: b']
      .map(teeth),
    shift: [3, 10, 20, 100].flatMap((z) => ['-2', '1.25', 'abc'].map((word) => shift(z, word))),
    cutter: [[5, 1, 1.25, 0], [20, 3, 1.25, 0], [35, 2, 1.25, 0], [35, 1, 2, 0], [20, 1, 1.25, 1]]
      .map((values) => cutter(...values)),
    generation: [[[20, 1, 1.25, 0.38], 3, '1'], [[14.5, 1, 1.25, 0.3], 5, '-0.9'], [[10, 2, 2, 0.5], 3, '0.8']]
      .map(([values, z, word]) => (cutter(...values), shift(z, word))),
  };
  // The page cannot set a refused cutter, so gear_refusal's wrapper of its reasons is made here.
  groups.cutter.push(`the cutter cannot be used: ${groups.cutter[0]}`);
  cutter(14.5, 1, 1.25, 0.3);
  groups.rows = [(start(3, 0.8), rows())];  // a span above where the flanks meet
  cutter(20, 1, 1.25, 0);
  groups.warnings = [(start(10, 0.7), warning(0)), (mate(10, 0.7), warning(1))];
  groups.rows.push(rows(), (start(3, -0.2), mate(0, 0), rows()), (cutter(20, 1.4, 1, 0), start(20, 0), mate(30, 0), rows()),
    (cutter(20, 1, 1.25, 0), start(20, 0), mate(20, 0), rows()), (start(20, 0), mate(3, -0.2), rows()));
  // A pinion-type cutter and the rings it cuts: refusals, the warnings' sentences, the rows.
  groups.pinion = [cutter(20, 1, 1.25, 0, 5), cutter(20, 1, 1.25, 0, 20, 2), call.web_ring_refusal(),
    (cutter(20, 1, 1.25, 0), teeth('50', 1)), (cutter(20, 1, 1.25, 0, 20, -1), shift(12, '-0.9')),
    (cutter(20, 1, 1.25, 0, 20), teeth('12', 1)), shift(50, '1.5', 1), (start(50, 0.5, 1), mate(30, 0, 1)),
    (start(24, 0, 1), warning(0))];
  groups.rows.push((start(12, 0), rows()), (start(50, 0.5, 1), rows()));
  // Internal pairs: the ring's tip below the pinion's base circle; a pinion that goes in along its axis.
  groups.rows.push((cutter(20, 1, 1.25, 0, 10), start(16, 0), mate(24, 0.5, 1), rows()), (start(20, 0), mate(24, 0.5, 1), rows()));
  // Helical gears: the helix refused, the transverse section's refusals and warning, the rows of a
  // left-hand gear without a face width and of a pair whose face is too narrow for a caliper.
  groups.helical = [cutter(20, 1, 1.25, 0, 0, 0, 50), call.web_helical_pinion_refusal(),
    (cutter(20, 1, 1.25, 0, 0, 0, 30, 1), shift(3, '-2')), (start(10, 1.1), warning(0))];
  groups.rows.push((start(12, 0.1), rows()), (start(12, 0.1, 0, 1), mate(60, 0), rows()));
  // Thickness allowances (reversed, or thinning a tooth away: the gear's and the mate's) and the backlash
  // rows of the worked pair, of a pair below the least recommended and of one that binds; then none again.
  const tolerances = (...values) => call.web_set_tolerances(...values);
  const pair = (z, x) => call.web_take_gear(z, x, 3, 24, 0.36, 0, 0, 0);
  cutter(20, 1, 1.25, 0);
  groups.allowances = [[1, -0.13, -0.08, 0, 0, 0], [1, -5, -6, 0, 0, 0], [0, 0, 0, 1, -0.15, -0.1], [0, 0, 0, 1, -8, -9]]
    .map((values) => (tolerances(...values, 0, 0), pair(12, 0.6)));
  groups.rows.push((tolerances(1, -0.08, -0.13, 1, -0.09, -0.15, 0, 0.02), pair(12, 0.6), rows()),
    (tolerances(1, -0.01, -0.02, 0, 0, 0, 0, 0), pair(12, 0.6), rows()),
    (tolerances(0, 0, 0, 0, 0, 0, 0, 0.02), pair(12, 0.6), rows()));
  tolerances(0, 0, 0, 0, 0, 0, 0, 0);
  groups.downloads = [call.web_write_data_file('/none/data'),
    call.web_write_gear('/none/gear.svg', 1),
    call.web_write_gear_data('/none/gear.json'),  // a file made but not written: no way here
    'the data file could not be written', "the gear's outline could not be written",
    "the gear's data could not be written"];
  // The solid's: its file, its face width and bore refused (through the gear, the mate, a ring), its outline's faults.
  groups.downloads.push(call.web_write_solid('/none/gear.stl', 0, 0), "the gear's solid could not be written",
    call.web_face_width_refusal(-1), call.web_bore_refusal(NaN), call.web_bore_refusal(1000),
    (call.web_take_gear(40, 0, 3, 12, 0, 0, 0, 0), call.web_bore_refusal(60)),
    (cutter(20, 1, 1.25, 0, 20), start(50, 0.5, 1), call.web_bore_refusal(5)),
    'the bore reaches the root circle', 'the outline crosses itself',
    (cutter(20, 1, 1.25, 0, 0, 0, 30), start(40, 0), call.web_write_solid('/none/gear.stl', 1e5, 0)));
  // The rows as the page shows them: "name\tvalue" in English, the module's
  // Japanese name and the value's words translated in Japanese.
  const pageRows = (text, japanese) => text.split('\n').filter(Boolean).map((row) => {
    const [name, nameJa, value] = row.split('\t');
    return japanese ? `${nameJa}\t${japaneseText(value)}\n` : `${name}\t${value}\n`;
  }).join('');
  const translated = Object.fromEntries(Object.entries(groups).map(([group, texts]) =>
    [group, texts.map((english) => ({english, japanese: japaneseText(english)}))]));
  translated.rows = groups.rows.map((text) => ({english: pageRows(text, false), japanese: pageRows(text, true)}));
  return {translated, unknown: japaneseText('a new message of 12 words\tno\n')};
}

let server;
let browser;
let messages;
before(async () => {
  server = await serve(pageDir);
  browser = await Browser.launch();
  await browser.open(server.url);
  messages = await browser.evaluate(`(${moduleMessages.toString()})()`);
});
after(async () => {
  await browser?.close();
  server?.close();
});

const NUMBERS = /-?\d+(?:\.\d+)?(?:e[-+]?\d+)?/g;

for (const group of ['teeth', 'shift', 'cutter', 'generation', 'warnings', 'pinion', 'helical', 'allowances', 'rows',
  'downloads']) {
  test(`the module's ${group} messages in Japanese`, () => {
    for (let {english, japanese} of messages.translated[group]) {
      assert.ok(english !== '', `a ${group} case gave no message`);
      const quoted = /^"(.*)" is not (?:a whole number|a number): /s.exec(english);
      if (quoted) {
        assert.ok(japanese.startsWith(`「${quoted[1]}」`), `the word kept: ${japanese}`);
        [english, japanese] = [english.slice(quoted[1].length + 2), japanese.slice(quoted[1].length + 2)];
      }
      // mm, z, x, z2, x2 and d are shorter than a word; cos is a formula's.
      assert.deepEqual(japanese.replaceAll('cos β', '').match(/[A-Za-z]{3,}/g) ?? [], [],
        `English left in ${JSON.stringify(japanese)}`);
      assert.deepEqual((japanese.match(NUMBERS) ?? []).sort(), (english.match(NUMBERS) ?? []).sort(),
        `the numbers of ${JSON.stringify(english)} in ${JSON.stringify(japanese)}`);
    }
  });
}

test('the data panel row by row, and its states in words', () => {
  const rows = messages.translated.rows.map(({japanese}) => japanese);
  assert.match(rows[0], /またぎ歯厚\t—（接触点が両側の歯面の交わる点より外側にあります）/);
  assert.match(rows[1], /歯先のとがり\tあり\n両側の歯面の交わる直径\t[\d.]+ mm\n/);
  assert.match(rows[2], /切り下げ\tあり\n切り下げを避ける最小の転位係数\t[\d.]+\n/);
  assert.match(rows[2], /オーバーピン寸法\t—（ピンが大きすぎてインボリュートに接しません）/);
  assert.match(rows[3], /圧力角\t[\d.]+°/);
  assert.match(rows[3], /干渉\tあり — /);
  assert.match(rows[4], /干渉\tなし/);
  assert.match(rows[4], /工具\tラック\n/);
  assert.match(rows[6],
    /工具\tピニオンカッタ\nピニオンカッタの歯数\t20\n[^]*切削時の中心距離\t[\d.]+ mm\n切削時のかみあい圧力角\t[\d.]+°/);
  assert.match(rows[7],
    /またぎ歯厚\t—（ノギスは内歯車の歯をまたげません[^]*ビトウィーンピン寸法\t[\d.]+ mm\n[^]*内歯車\tあり\n$/);
  assert.match(rows[10], /ねじれ方向\t左ねじれ\n[^]*重なりかみあい率\t—（歯幅が与えられていません）\n/);
  assert.match(rows[11], /歯直角またぎ歯厚\t—（歯幅が、ノギスでまたぎ歯厚を測るのに要る幅（最小歯幅）より狭く/);
  assert.match(rows[11], /重なりかみあい率\t[\d.]+\n全かみあい率\t[\d.]+\n/);
  assert.match(rows[12], /またぎ歯厚の上下限\t23\.8013 \/ 23\.7543 mm\n[^]*歯車の回転方向バックラッシ角\t[\d.]+ \/ [\d.]+°\n/);
  assert.match(rows[13], /推奨最小法線バックラッシ\t[\d.]+ mm — 最小バックラッシが推奨最小値を下回ります\n/);
  assert.match(rows[14], /推奨最小法線バックラッシ\t[\d.]+ mm — 最小バックラッシが負で、歯車がかみ込みます\n/);
});

test('a text the table does not know comes back unchanged', () => {
  assert.equal(messages.unknown, 'a new message of 12 words\tなし\n');
});
