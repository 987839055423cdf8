// The link to a frame: a page address's query read into what it asks for,
// and the query of a link written from what the page shows. No page and no
// wasm module here: the limits a link is checked against and the numbers a
// link leaves out are the caller's (the module's own). The gear's words (z,
// x, the mate, the cutter, a helical gear's helix and face width, the module,
// the thickness allowances and the pair's mounting) are kept as typed; the module checks
// them as the dialogue checks an answer. A problem is a function of the
// page's texts (texts.js), so it says itself in either language.

export const GEAR_KEYS = ['z', 'x', 'z2', 'x2', 'scene', 'step', 'zoom', 'profile', 'alpha', 'ha', 'hf', 'rho', 'zc',
  'xc', 'beta', 'hand', 'internal', 'internal2', 'm', 'face', 'allowance', 'allowance2', 'cd', 'cdtol'];
export const PAGE_KEYS = ['info', 'lang', 'embed', 'size'];
export const LINK_KEYS = [...GEAR_KEYS, ...PAGE_KEYS];
// The cutter's values under their names in a link and the form, and in the program's Cutter.
export const CUTTER_VALUES = {alpha: 'pressure_angle', ha: 'addendum', hf: 'dedendum', rho: 'tip_radius'};
// A pinion-type cutter's own values, likewise: its number of teeth (0: the rack) and its shift.
export const PINION_VALUES = {zc: 'teeth', xc: 'shift'};
// A helical gear's words: its helix angle (degrees), its hand (left or right), its face width (mm).
export const HELIX_KEYS = ['beta', 'hand', 'face'];

// The address's fields as they were typed: '+' is a plus sign here (a step or
// zoom may have one), not a blank, and a NUL byte is kept as \x00, as the
// dialogue shows it, instead of ending the word where the module reads it.
// The last of a repeated name counts, as the command line's last option does;
// earlier lists the words it replaces, [name, word] in the address's order.
function addressFields(search) {
  const fields = new Map();
  const earlier = [];
  for (const part of search.replace(/^\?/, '').split('&')) {
    if (part === '') continue;
    const at = part.indexOf('=');
    const raw = at < 0 ? [part, ''] : [part.slice(0, at), part.slice(at + 1)];
    const [name, word] = raw.map((text) => {
      let decoded = text;
      try {
        decoded = decodeURIComponent(text);
      } catch {
        // a broken %-escape stays as typed
      }
      return decoded.replaceAll('\0', '\\x00');
    });
    if (fields.has(name)) earlier.push([name, fields.get(name)]);
    fields.set(name, word);
  }
  return {fields, earlier};
}

function wholeNumber(fields, name, low, high, fallback) {
  if (!fields.has(name)) return {value: fallback};
  const word = fields.get(name);
  if (!/^[+-]?[0-9]{1,9}$/.test(word) || Number(word) < low || Number(word) > high)
    return {problem: (t) => t.wholeNumber(name, word, low, high)};
  return {value: Number(word)};
}

// What the page's own fields and the gear's flag ask: {language (null: the
// browser's), embed, shape ([width, height] or null: a square), info,
// internal (the gear is a ring), internal2 (the mate is a ring)}, or {problem}.
function readPageFields(fields, {languages, sizes}) {
  const result = {language: null, embed: false, shape: null, info: false, internal: false, internal2: false};
  if (fields.has('lang')) {
    const word = fields.get('lang');
    if (!languages.includes(word)) return {problem: (t) => t.languageWord(word)};
    result.language = word;
  }
  for (const name of ['embed', 'info', 'internal', 'internal2']) {
    const flag = wholeNumber(fields, name, 0, 1, 0);
    if (flag.problem) return flag;
    result[name] = flag.value === 1;
  }
  if (fields.has('size')) {
    const word = fields.get('size');
    const sides = /^([0-9]{1,5})x([0-9]{1,5})$/.exec(word);
    const {min, max} = sizes;
    if (!sides || [sides[1], sides[2]].some((side) => Number(side) < min || Number(side) > max))
      return {problem: (t) => t.sizeWord(word, min, max)};
    result.shape = [Number(sides[1]), Number(sides[2])];
  }
  return result;
}

// The frame's {scene, step, zoom} (scene 1, step 0, zoom 0 when not given), or {problem}.
function readFrameFields(fields, {scenes, step: stepLimit, zoom: zoomLimit}) {
  const scene = wholeNumber(fields, 'scene', 1, scenes, 1);
  const step = wholeNumber(fields, 'step', 0, stepLimit, 0);
  const zoom = wholeNumber(fields, 'zoom', -zoomLimit, zoomLimit, 0);
  for (const part of [scene, step, zoom])
    if (part.problem) return part;
  return {scene: scene.value, step: step.value, zoom: zoom.value};
}

// The fields read by read (readPageFields or readFrameFields), a word a later
// one replaces checked all the same, as the command line checks every option
// it is given: the first refused is named.
function readEvery(read, {fields, earlier}, limits) {
  for (const [name, word] of earlier) {
    const alone = read(new Map([[name, word]]), limits);
    if (alone.problem) return alone;
  }
  return read(fields, limits);
}

// A query (location.search) read against limits {scenes, step, zoom (the
// command line's), sizes: {min, max} (--size's), languages}:
//   fields:  every name given and its word as typed (the last of a repeated name),
//   earlier: the words of repeated names that later ones replace, [name, word],
//   unknown: null, or {problem} naming the first name a link does not take,
//   page:    the page's fields (lang, embed, size, info), internal and internal2, or {problem},
//   frame:   the frame's fields (scene, step, zoom) or {problem}.
// A page's or frame's word that a later one replaces is checked all the same;
// the gear's are the page's to check. The page says these problems, and the
// gear's, in an order of its own.
export function readLink(search, limits) {
  const given = addressFields(search);
  const {fields, earlier} = given;
  const unknown = [...fields.keys()].find((name) => !LINK_KEYS.includes(name));
  return {
    fields,
    earlier,
    unknown: unknown === undefined ? null
      : {problem: (t) => t.unknownName(unknown, LINK_KEYS.join(', '))},
    page: readEvery(readPageFields, given, limits),
    frame: readEvery(readFrameFields, given, limits),
  };
}

// The query of a link to what is shown, in its language: with a gear and a
// frame of it, the gear (z, x; z2 and x2 with a chosen mate, z2 > 0), its
// profile ('' the specified cutter) and the cutter's values that differ from
// the profile's, a pinion-type cutter's teeth (zc > 0) and shift (unless 0),
// a helical gear's helix angle (beta, unless 0) and hand (hand=left only),
// internal=1 for a ring (internal2=1 for a ring mate), its module unless it is
// defaultModule, its face width (face, when given), its thickness allowances
// (allowance=UPPER,LOWER and allowance2= the mate's, when given) and its
// mounting (cd, cdtol, when given; x2 left out when it was solved for cd), the
// frame's scene, step and zoom, info, embed and size when they are on; else the language alone.
// presets: the cutters by profile, each {alpha, ha, hf, rho}.
export function writeLink({gear, frame, embed, shape, language}, {presets, defaultModule}) {
  const fields = [];
  if (gear && frame) {
    fields.push(['z', gear.z], ['x', gear.x]);
    if (gear.mate.z2 > 0) fields.push(['z2', gear.mate.z2]);
    if (gear.mate.z2 > 0 && !gear.mate.solved) fields.push(['x2', gear.mate.x2]);
    if (gear.profile !== '') fields.push(['profile', gear.profile]);
    const preset = presets[gear.profile];
    for (const name of Object.keys(CUTTER_VALUES))
      if (gear.cutter[name] !== preset[name]) fields.push([name, gear.cutter[name]]);
    const {zc = 0, xc = 0} = gear.cutter;
    if (zc > 0) fields.push(['zc', zc]);
    if (zc > 0 && xc !== 0) fields.push(['xc', xc]);
    const {beta = 0, left = false} = gear.cutter;
    if (beta !== 0) fields.push(['beta', beta]);
    if (left) fields.push(['hand', 'left']);
    if (gear.internal) fields.push(['internal', 1]);
    if (gear.mate.ring) fields.push(['internal2', 1]);
    if (gear.module !== defaultModule) fields.push(['m', gear.module]);
    if (gear.face > 0) fields.push(['face', gear.face]);
    const {allowance = null, allowance2 = null, cd = 0, cdtol = 0} = gear.tolerances ?? {};
    if (allowance) fields.push(['allowance', allowance.join(',')]);
    if (allowance2) fields.push(['allowance2', allowance2.join(',')]);
    if (cd > 0) fields.push(['cd', cd]);
    if (cdtol > 0) fields.push(['cdtol', cdtol]);
    const {scene, step, zoom, info} = frame;
    fields.push(['scene', scene], ['step', step], ['zoom', zoom]);
    if (info) fields.push(['info', 1]);
    if (embed) fields.push(['embed', 1]);
    if (shape) fields.push(['size', shape.join('x')]);
  }
  fields.push(['lang', language]);
  // An allowance's comma is written as it is: a query may hold one.
  return `?${fields.map(([name, value]) => `${name}=${encodeURIComponent(String(value)).replaceAll('%2C', ',')}`)
    .join('&')}`;
}
