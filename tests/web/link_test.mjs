// The link to a frame (web/link.js) without a browser: what a query asks for,
// what it refuses and in which words, and the query the page writes read back.
// Usage: node --test link_test.mjs
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {readLink, writeLink} from '../../web/link.js';
import {LANGUAGES, TEXTS} from '../../web/texts.js';

const LIMITS = {scenes: 8, step: 10000, zoom: 300, sizes: {min: 16, max: 8192}, languages: LANGUAGES};
const SPECIFIED = {alpha: 20, ha: 1, hf: 1.25, rho: 0};
const PRESETS = {'': SPECIFIED, B: {...SPECIFIED, rho: 0.3}};
const read = (search) => readLink(search, LIMITS);
const said = (part) => part.problem(TEXTS.en);

test('a link without fields asks for the first frame, as the browser speaks, square and without data', () => {
  for (const search of ['', '?', '?&&']) {
    const link = read(search);
    assert.equal(link.fields.size, 0);
    assert.equal(link.unknown, null);
    assert.deepEqual(link.page, {language: null, embed: false, shape: null, info: false, internal: false, internal2: false});
    assert.deepEqual(link.frame, {scene: 1, step: 0, zoom: 0});
  }
});

test('the query the page writes reads back as it was written', () => {
  const gear = {z: 12, x: -0.25, profile: 'B', cutter: {...PRESETS.B, ha: 0.8}, module: 2.5,
    mate: {z2: 24, x2: 0.36}};
  const shown = {gear, frame: {scene: 8, step: 30, zoom: -15, info: true}, embed: true, shape: [640, 480],
    language: 'ja'};
  const query = writeLink(shown, {presets: PRESETS, defaultModule: 1});
  assert.equal(query,
    '?z=12&x=-0.25&z2=24&x2=0.36&profile=B&ha=0.8&m=2.5&scene=8&step=30&zoom=-15&info=1&embed=1&size=640x480&lang=ja');
  const link = read(query);
  assert.deepEqual(link.page, {language: 'ja', embed: true, shape: [640, 480], info: true, internal: false, internal2: false});
  assert.deepEqual(link.frame, {scene: 8, step: 30, zoom: -15});
  assert.deepEqual(['z', 'x', 'z2', 'x2', 'profile', 'ha', 'm'].map((name) => link.fields.get(name)),
    ['12', '-0.25', '24', '0.36', 'B', '0.8', '2.5']);

  // A ring cut by a pinion-type cutter: its teeth and shift (the shift left out when 0), internal=1.
  const ring = {...gear, cutter: {...PRESETS.B, zc: 25, xc: 0.2}, mate: {z2: 0, x2: 0}, internal: true};
  const ringQuery = writeLink({...shown, gear: ring, embed: false, shape: null}, {presets: PRESETS, defaultModule: 1});
  assert.equal(ringQuery, '?z=12&x=-0.25&profile=B&zc=25&xc=0.2&internal=1&m=2.5&scene=8&step=30&zoom=-15&info=1&lang=ja');
  const ringLink = read(ringQuery);
  assert.deepEqual([ringLink.unknown, ringLink.page.internal, ringLink.fields.get('zc'), ringLink.fields.get('xc')],
    [null, true, '25', '0.2']);
  // A ring mate: internal2=1 after internal's place.
  const ringMate = {...ring, internal: false, mate: {z2: 40, x2: 0, ring: true}};
  const ringMateQuery = writeLink({...shown, gear: ringMate}, {presets: PRESETS, defaultModule: 1});
  assert.match(ringMateQuery, /&z2=40&x2=0&.*&xc=0\.2&internal2=1&m=2\.5&/);
  assert.equal(read(ringMateQuery).page.internal2, true);
  assert.match(writeLink({...shown, gear: {...ring, cutter: {...ring.cutter, xc: 0}, internal: false}},
    {presets: PRESETS, defaultModule: 1}), /&profile=B&zc=25&m=2\.5&/);

  // A helical gear: beta after the cutter's values, hand only when left, face after the module.
  const helical = {...gear, cutter: {...gear.cutter, beta: 30, left: true}, face: 20};
  const helicalQuery = writeLink({...shown, gear: helical, embed: false, shape: null},
    {presets: PRESETS, defaultModule: 1});
  assert.equal(helicalQuery,
    '?z=12&x=-0.25&z2=24&x2=0.36&profile=B&ha=0.8&beta=30&hand=left&m=2.5&face=20&scene=8&step=30&zoom=-15&info=1&lang=ja');
  const helicalLink = read(helicalQuery);
  assert.deepEqual([helicalLink.unknown, ...['beta', 'hand', 'face'].map((name) => helicalLink.fields.get(name))],
    [null, '30', 'left', '20']);
  assert.doesNotMatch(writeLink({...shown, gear: {...helical, cutter: {...helical.cutter, left: false}, face: 0}},
    {presets: PRESETS, defaultModule: 1}), /hand|face/);

  // Allowances and mounting after the face width, commas as they are; a mate's shift solved for cd left out.
  const mounted = {...gear, tolerances: {allowance: [-0.08, -0.13], allowance2: [-0.09, -0.15], cd: 0, cdtol: 0.02}};
  const mountedQuery = writeLink({...shown, gear: mounted, embed: false, shape: null}, {presets: PRESETS, defaultModule: 1});
  assert.match(mountedQuery, /&x2=0\.36&.*&m=2\.5&allowance=-0\.08,-0\.13&allowance2=-0\.09,-0\.15&cdtol=0\.02&scene=8&/);
  assert.deepEqual(['allowance', 'allowance2', 'cd', 'cdtol'].map((name) => read(mountedQuery).fields.get(name)),
    ['-0.08,-0.13', '-0.09,-0.15', undefined, '0.02']);
  const solved = {...gear, mate: {z2: 24, x2: 0.35998, solved: true}, tolerances: {...mounted.tolerances, cd: 56.4999}};
  assert.match(writeLink({...shown, gear: solved}, {presets: PRESETS, defaultModule: 1}), /^\?z=12&x=-0\.25&z2=24&profile=.*&cd=56\.4999&cdtol/);

  // The specified cutter, the default module and mate, what is off: left out; no frame: the language alone.
  const plain = {...gear, profile: '', cutter: SPECIFIED, module: 1, mate: {z2: 0, x2: 0}};
  const frame = {scene: 1, step: 0, zoom: 0, info: false};
  assert.equal(writeLink({gear: plain, frame, embed: false, shape: null, language: 'en'},
    {presets: PRESETS, defaultModule: 1}), '?z=12&x=-0.25&scene=1&step=0&zoom=0&lang=en');
  assert.equal(writeLink({gear: plain, frame: null, embed: true, shape: null, language: 'en'},
    {presets: PRESETS, defaultModule: 1}), '?lang=en');
});

test('words are kept as typed: the last of a name, plus signs, escapes, NUL bytes', () => {
  const link = read('?z=8&z=9&zoom=2&zoom=+5&x=%EF%BC%90%EF%BC%8E%EF%BC%95&profile=%E0%A4%A&m&alpha=1%002');
  assert.equal(link.fields.get('z'), '9');
  assert.deepEqual(link.earlier, [['z', '8'], ['zoom', '2']]);
  assert.equal(link.frame.zoom, 5);
  assert.equal(link.fields.get('x'), '０．５');  // the module reads a gear's words
  assert.equal(link.fields.get('profile'), '%E0%A4%A');
  assert.equal(link.fields.get('m'), '');
  assert.equal(link.fields.get('alpha'), '1\\x002');
});

test('a frame beyond the command line\'s limits, or not a whole number, is refused by name', () => {
  for (const [search, words] of [
    ['?step=NaN', /step=NaN.*0.*10000/], ['?step=10001', /step=10001/], ['?step=0000000001', /step=0000000001/],
    ['?step=１０', /step=１０/], ['?step=1.5', /step=1\.5/], ['?step=', /step=/], ['?scene=0', /scene=0.*1.*8/],
    ['?scene=9', /scene=9/], ['?zoom=-301', /zoom=-301.*-300.*300/], ['?zoom=1e2', /zoom=1e2/],
    ['?z=8&scene=4&scene=9', /scene=9/], ['?scene=9&scene=4', /scene=9/],  // a replaced word is checked, too
  ])
    assert.match(said(read(search).frame), words, search);
  assert.deepEqual(read('?scene=8&step=10000&zoom=-300').frame, {scene: 8, step: 10000, zoom: -300});
});

test('the page\'s own fields and the ring\'s flag are checked: language, flags, size within --size\'s limits', () => {
  for (const [search, words] of [
    ['?lang=fr', /lang=fr/], ['?lang=EN', /lang=EN/], ['?embed=2', /embed=2/], ['?info=yes', /info=yes/],
    ['?size=15x100', /size=15x100.*16.*8192/], ['?size=100x8193', /size=100x8193/], ['?size=100', /size=100\b/],
    ['?size=100X100', /size=100X100/], ['?size=-16x16', /size=-16x16/], ['?lang=fr&lang=en', /lang=fr/],
    ['?internal=yes', /internal=yes.*0.*1/], ['?internal=2&internal=1', /internal=2/],
  ])
    assert.match(said(read(search).page), words, search);
  assert.deepEqual(read('?size=16x8192&embed=1&lang=en').page,
    {language: 'en', embed: true, shape: [16, 8192], info: false, internal: false, internal2: false});
});

test('a name a link does not take is named, with those it does', () => {
  const link = read('?z=8&Z=9&foo=1');
  assert.match(said(link.unknown), /"Z" in the address.*z, x, z2, x2, scene.*size/);
  assert.match(read('?%ZZ=1').unknown.problem(TEXTS.ja), /%ZZ/);
});
