// The page's controller: the dialogue as a form with the mate and the cutter,
// the keys on the canvas, links to a frame, the gear's data and the downloads.
// The gear, its checks, its data and every frame come from the wasm module
// (web/main.cpp); painter.js paints each recorded frame. Owns the page's state: which gear is shown, with which cutter
// and module and mate, and whether the form or a question is open.
// start.js loads it and calls start().
import {moduleConstant, paintRecord, readRecordLayout} from './painter.js';

const FRAME_SIZE = 800;  // the window's width and height at creation, pixels
const LINK_KEYS = ['z', 'x', 'z2', 'x2', 'scene', 'step', 'zoom', 'profile', 'alpha', 'ha', 'hf', 'rho', 'm'];
// The cutter's values under their names in a link and the form, and in the program's Cutter.
const CUTTER_VALUES = {alpha: 'pressure_angle', ha: 'addendum', hf: 'dedendum', rho: 'tip_radius'};
// What the form calls each field of the cutter part in a refusal.
const CUTTER_WORDS = {
  alpha: 'the pressure angle', ha: 'the addendum', hf: 'the dedendum', rho: 'the tip radius', m: 'the module',
};
const DEFAULT_MODULE = 1;  // millimetres, as --gear writes without --module

const $ = (id) => document.getElementById(id);

export const page = {
  module: null,         // the wasm module's object, made by createRackgen
  layout: null,         // the frame record's layout, as painter.js reads it
  limits: null,         // {scenes, step, zoom}: what a link may ask for, the command line's limits
  presets: null,        // {'': the specified cutter, A … D: the ISO 53 profiles}, each {alpha, ha, hf, rho}
  moduleRange: null,    // {min, max}: the module a gear's files may have, millimetres
  ctx: null,
  gear: null,           // {z, x, profile, cutter: {alpha, ha, hf, rho}, module, mate: {z2, x2}, warning}
                        // of the gear shown, or null
  formFor: 'gear',      // what the open form may change: 'gear' (all), 'shift' (after 'x'), 'mate' (after 'm')
  questionOpen: false,  // the data-file question waits for '1' or '0'
  framed: false,        // the canvas shows a frame (a new dialogue leaves it there, as the window does)
};

function showText(id, text) {
  const element = $(id);
  element.textContent = text;  // never as HTML: the texts come from the address and the form
  element.hidden = text === '';
}

function call(name, returns, types, args) {
  return page.module.ccall(name, returns, types, args);
}

// A real number the module shares with the page (web_real in web/main.cpp), by
// its name in the program's source. Throws when the module does not know it.
function moduleReal(name) {
  const value = call('web_real', 'number', ['string'], [name]);
  if (Number.isNaN(value)) throw new Error(`the wasm module knows no "${name}"`);
  return value;
}

// ---- frames ----------------------------------------------------------------------

// The canvas has the window's 800 × 800 pixels whatever the screen's density,
// so the picture is the window's pixel for pixel.
function setUpCanvas() {
  page.ctx = $('canvas').getContext('2d', {alpha: false});
  page.ctx.fillStyle = '#fff';  // the window's ground until the first frame
  page.ctx.fillRect(0, 0, FRAME_SIZE, FRAME_SIZE);
}

// Records one frame with record() and paints it.
function showFrame(record) {
  if (record() === 0) return false;
  const result = paintRecord(page.module, page.layout, page.ctx, FRAME_SIZE, FRAME_SIZE);
  page.framed = true;
  if (result.overflowed) console.warn('rackgen: the frame did not fit the record; part of it is missing');
  return true;
}

function pressKey(key) {
  return showFrame(() => page.module._web_key(key.charCodeAt(0), FRAME_SIZE, FRAME_SIZE));
}

function openFrame(scene, step, zoom) {
  showFrame(() => {
    page.module._web_open_frame(scene, step, zoom, FRAME_SIZE, FRAME_SIZE);
    return 1;
  });
}

// ---- the cutter ------------------------------------------------------------------

// The cutter and module the words name ({profile, alpha, ha, hf, rho, m}, each
// may be missing: then the profile's value, or the specified cutter's, and the
// default module), made the next gear's cutter: {profile, cutter, module}; or
// {problem}, with the name of the word at fault unless the cutter as a whole
// is refused.
function takeCutter(words) {
  const profile = (words.profile ?? '').toUpperCase();
  if (!Object.hasOwn(page.presets, profile)) {
    const letters = Object.keys(page.presets).filter((letter) => letter !== '');
    return {name: 'profile', problem: `must be ${letters.slice(0, -1).join(', ')} or ${letters.at(-1)}`};
  }
  const cutter = {...page.presets[profile]};
  for (const name of Object.keys(CUTTER_VALUES)) {
    if (words[name] === undefined) continue;
    cutter[name] = call('web_number', 'number', ['string'], [words[name]]);
    if (Number.isNaN(cutter[name])) return {name, problem: 'must be a number'};
  }
  let module = DEFAULT_MODULE;
  if (words.m !== undefined) {
    module = call('web_number', 'number', ['string'], [words.m]);
    const {min, max} = page.moduleRange;
    if (!(module >= min && module <= max))
      return {name: 'm', problem: `must be a number of millimetres from ${min} to ${max}`};
  }
  const refusal = call('web_set_cutter', 'string', ['number', 'number', 'number', 'number'],
    [cutter.alpha, cutter.ha, cutter.hf, cutter.rho]);
  if (refusal !== '') return {problem: `the cutter cannot be used: ${refusal}`};
  return {profile, cutter, module};
}

// The mate the words name, checked as the dialogue checks a gear (with the
// cutter takeCutter has set): {z2, x2}, {z2: 0, x2: 0} for the default mate
// (no z2), or {name: 'z2' or 'x2', problem}.
function takeMate(teethWord, shiftWord) {
  if (teethWord === '') {
    if (shiftWord === '') return {z2: 0, x2: 0};
    return {name: 'x2', problem: 'x2 needs z2: the default mate is a standard gear'};
  }
  const teethRefusal = call('web_check_teeth', 'string', ['string'], [teethWord]);
  if (teethRefusal !== '') return {name: 'z2', problem: teethRefusal};
  const z2 = page.module._web_checked_teeth();
  const shiftRefusal = call('web_check_shift', 'string', ['number', 'string'], [z2, shiftWord || '0']);
  if (shiftRefusal !== '') return {name: 'x2', problem: shiftRefusal};
  return {z2, x2: page.module._web_checked_shift()};
}

// The mate made the one scene 8 shows and the data read; the gear's warning
// and the mate's are shown.
function setMate(mate) {
  page.gear.mate = mate;
  const mateWarning = call('web_set_mate', 'string', ['number', 'number'], [mate.z2, mate.x2]);
  showText('warning', [page.gear.warning, mateWarning].filter((text) => text !== '').join('\n'));
}

function cutterField(name) {
  return $(`cutter-${name}`);
}

function fillCutterFields(cutter) {
  for (const name of Object.keys(CUTTER_VALUES)) cutterField(name).value = String(cutter[name]);
}

// The words of the form's cutter part.
function cutterWords() {
  const words = {};
  for (const name of ['profile', ...Object.keys(CUTTER_VALUES), 'm'])
    words[name] = cutterField(name).value.trim();
  return words;
}

function isSpecified(cutter) {
  return Object.keys(CUTTER_VALUES).every((name) => cutter[name] === page.presets[''][name]);
}

// ---- the dialogue ------------------------------------------------------------------

const FORM_MESSAGES = ['teeth-message', 'shift-message', 'mate-teeth-message', 'mate-shift-message',
  'cutter-message'];

// The form, at the gear shown if there is one; its cutter part folded unless
// it holds another cutter or module. After 'x' only the shift may change,
// after 'm' only the mate ('gear', 'shift' or 'mate': what may change).
function openForm(formFor) {
  page.formFor = page.gear === null ? 'gear' : formFor;
  $('dialogue').hidden = false;
  document.body.classList.remove('embed');
  const teeth = $('teeth');
  const shift = $('shift');
  const mateTeeth = $('mate-teeth');
  const mateShift = $('mate-shift');
  teeth.readOnly = page.formFor !== 'gear';
  shift.readOnly = page.formFor === 'mate';
  mateTeeth.readOnly = mateShift.readOnly = page.formFor === 'shift';
  teeth.value = page.gear ? String(page.gear.z) : '';
  shift.value = page.gear ? String(page.gear.x) : '';
  const mate = page.gear?.mate ?? {z2: 0};
  mateTeeth.value = mate.z2 > 0 ? String(mate.z2) : '';
  mateShift.value = mate.z2 > 0 ? String(mate.x2) : '';
  if (page.gear) {
    cutterField('profile').value = page.gear.profile;
    fillCutterFields(page.gear.cutter);
    cutterField('m').value = String(page.gear.module);
  }
  $('cutter-fields').disabled = page.formFor !== 'gear';
  const words = cutterWords();
  const specified = page.presets[''];
  if (words.profile !== '' || words.m !== String(DEFAULT_MODULE) ||
      Object.keys(CUTTER_VALUES).some((name) => words[name] !== String(specified[name])))
    $('cutter').open = true;
  for (const id of FORM_MESSAGES) showText(id, '');
  const first = {gear: teeth, shift, mate: mateTeeth}[page.formFor];
  first.focus();
  first.select();
}

// Esc: the gear ends and the form starts afresh.
function endGear() {
  page.gear = null;
  page.framed = false;
  page.questionOpen = false;
  $('scenes').hidden = true;
  openForm('gear');
}

function refuseField(id, text) {
  showText(`${id}-message`, text);
  $(id).focus();
}

function acceptForm() {
  for (const id of FORM_MESSAGES) showText(id, '');
  const words = cutterWords();
  const choice = takeCutter(words);
  if (choice.problem) {
    showText('cutter-message', choice.name
      ? `${CUTTER_WORDS[choice.name]} ${choice.problem}, not "${words[choice.name]}"` : choice.problem);
    $('cutter').open = true;
    cutterField(choice.name ?? 'alpha').focus();
    return;
  }
  let z = page.gear ? page.gear.z : 0;
  if (page.formFor === 'gear') {
    const refusal = call('web_check_teeth', 'string', ['string'], [$('teeth').value.trim()]);
    if (refusal !== '') return refuseField('teeth', refusal);
    z = page.module._web_checked_teeth();
  }
  let x = page.gear ? page.gear.x : 0;
  if (page.formFor !== 'mate') {
    const refusal = call('web_check_shift', 'string', ['number', 'string'], [z, $('shift').value.trim()]);
    if (refusal !== '') return refuseField('shift', refusal);
    x = page.module._web_checked_shift();
  }
  const mate = takeMate($('mate-teeth').value.trim(), $('mate-shift').value.trim());
  if (mate.problem) return refuseField(mate.name === 'z2' ? 'mate-teeth' : 'mate-shift', mate.problem);
  $('dialogue').hidden = true;
  if (page.formFor === 'mate') {
    // As the window's 'm': scene 8 from its start at the next key, no data-file question.
    setMate(mate);
    showGear();
    page.module._web_key('m'.charCodeAt(0), FRAME_SIZE, FRAME_SIZE);
    $('canvas').focus();
    return;
  }
  startGear(z, x, choice, mate);
  page.questionOpen = true;
  $('question').hidden = false;
  $('answer-yes').focus();
}

// A new gear, cut with the cutter takeCutter has just set (choice is its
// answer), with the mate takeMate has taken.
function startGear(z, x, choice, mate) {
  const warning = call('web_start', 'string', ['number', 'number'], [z, x]);
  const {profile, cutter, module} = choice;
  page.module._web_set_module(module);
  page.gear = {z, x, profile, cutter, module, warning};
  setMate(mate);
  $('scenes').hidden = false;
  showGear();
}

// The gear's line and its data beside the canvas, as the gear shown has them.
function showGear() {
  const {z, x, cutter, module, mate} = page.gear;
  let line = `z = ${z}, x = ${x}`;
  const {alpha, ha, hf, rho} = cutter;
  if (!isSpecified(cutter)) line += `; cutter ${alpha}°, ha ${ha}, hf ${hf}, ρ ${rho}`;
  if (module !== DEFAULT_MODULE) line += `; module ${module} mm`;
  if (mate.z2 > 0) line += `; mate z2 = ${mate.z2}, x2 = ${mate.x2}`;
  showText('gear-line', line);
  const rows = call('web_gear_data_rows', 'string', [], []).split('\n').filter((row) => row !== '');
  $('gear-data-rows').replaceChildren(...rows.map((row) => {
    const tr = document.createElement('tr');
    const [name, value] = row.split('\t');
    for (const [tag, text] of [['th', name], ['td', value]]) {
      const cell = document.createElement(tag);
      cell.textContent = text;  // never as HTML, as every text of the page
      tr.append(cell);
    }
    return tr;
  }));
}

// The answer to the data-file question. The first gear's frame of scene '1'
// follows at once, as the window opens with it; after 'z' or 'x' the canvas
// keeps the frame it shows until the next key, as the window does.
function answerQuestion(yes) {
  page.questionOpen = false;
  $('question').hidden = true;
  if (yes) downloadDataFile();
  if (!page.framed) pressKey('s');
  $('canvas').focus();
}

// ---- downloads -----------------------------------------------------------------------

function offerDownload(bytes, name, type) {
  const url = URL.createObjectURL(new Blob([bytes], {type}));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

// The bytes of a file the module has written into its own memory file system,
// or null (the reason shown) when it could not.
function moduleFile(write, path) {
  const fault = write(path);
  if (fault !== '') {
    showText('warning', fault);
    return null;
  }
  const bytes = page.module.FS.readFile(path);
  page.module.FS.unlink(path);
  return bytes;
}

export function dataFileBytes() {
  return moduleFile((file) => call('web_write_data_file', 'string', ['string'], [file]), '/data');
}

export function gearBytes(ending) {
  return moduleFile((file) => call('web_write_gear', 'string', ['string', 'number'], [file, page.gear.module]),
    `/gear${ending}`);
}

export function gearDataBytes() {
  return moduleFile((file) => call('web_write_gear_data', 'string', ['string'], [file]), '/gear.json');
}

function downloadDataFile() {
  const bytes = dataFileBytes();
  if (bytes) offerDownload(bytes, `dataz${page.gear.z}`, 'application/octet-stream');
}

function downloadGear(ending, type) {
  const bytes = ending === '.json' ? gearDataBytes() : gearBytes(ending);
  if (bytes) offerDownload(bytes, `gear_z${page.gear.z}_x${page.gear.x}${ending}`, type);
}

// ---- keys -------------------------------------------------------------------------------

// '1' … the last scene's digit, as the module counts its scenes.
function isSceneKey(key) {
  return key >= '1' && key <= String(page.limits.scenes);
}

function onKey(event) {
  if (event.ctrlKey || event.metaKey || event.altKey || page.gear === null) return;
  if (page.questionOpen) {
    if (event.key === '1' || event.key === '0') {
      event.preventDefault();
      answerQuestion(event.key === '1');
    }
    return;
  }
  if (!$('dialogue').hidden) return;  // the form takes the keys while it is open
  const key = event.key;
  if (key === 'Escape') {
    endGear();
  } else if (key === 'z' || key === 'x' || key === 'm') {
    openForm({z: 'gear', x: 'shift', m: 'mate'}[key]);
  } else if (key.length === 1 && (isSceneKey(key) || 'swWi'.includes(key))) {
    pressKey(key);
  } else {
    return;
  }
  event.preventDefault();
}

// ---- links to a frame ----------------------------------------------------------------

// The address's fields as they were typed: '+' is a plus sign here (a step or
// zoom may have one), not a blank, and a NUL byte is kept as \x00, as the
// dialogue shows it, instead of ending the word where the module reads it.
// The first of a repeated name counts.
function addressFields(search) {
  const fields = new Map();
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
    if (!fields.has(name)) fields.set(name, word);
  }
  return fields;
}

function wholeNumber(params, name, low, high, fallback) {
  if (!params.has(name)) return {value: fallback};
  const word = params.get(name);
  if (!/^[+-]?[0-9]{1,9}$/.test(word) || Number(word) < low || Number(word) > high)
    return {problem: `${name}=${word} in the address: ${name} must be a whole number from ${low} to ${high}`};
  return {value: Number(word)};
}

// The cutter and module a link names, made the next gear's cutter, or a problem.
function readLinkCutter(params) {
  const words = {};
  for (const name of ['profile', ...Object.keys(CUTTER_VALUES), 'm'])
    if (params.has(name)) words[name] = params.get(name);
  const choice = takeCutter(words);
  if (!choice.problem) return choice;
  const {name, problem} = choice;
  if (name) return {problem: `${name}=${words[name]} in the address: ${name} ${problem}`};
  const given = Object.entries(words).filter(([name]) => name !== 'm').map(([name, word]) => `${name}=${word}`);
  return {problem: `${given.join(', ')} in the address: ${problem}`};
}

// The frame a link names, or a problem to show instead of it.
function readLink(params) {
  for (const name of params.keys())
    if (!LINK_KEYS.includes(name))
      return {problem: `"${name}" in the address is not known here; a link takes ${LINK_KEYS.join(', ')}`};
  // The checks of z and x read the cutter.
  const choice = readLinkCutter(params);
  if (choice.problem) return choice;
  const teethRefusal = call('web_check_teeth', 'string', ['string'], [params.get('z')]);
  if (teethRefusal !== '') return {problem: `z in the address: ${teethRefusal}`};
  const z = page.module._web_checked_teeth();
  const shiftRefusal = call('web_check_shift', 'string', ['number', 'string'], [z, params.get('x') ?? '0']);
  if (shiftRefusal !== '') return {problem: `x in the address: ${shiftRefusal}`};
  const x = page.module._web_checked_shift();
  const mate = takeMate(params.get('z2') ?? '', params.get('x2') ?? '');
  if (mate.problem) {
    const {name, problem} = mate;
    return {problem: name === 'x2' && !params.has('z2')
      ? `x2=${params.get('x2')} in the address: ${problem}` : `${name} in the address: ${problem}`};
  }
  const {scenes, step: stepLimit, zoom: zoomLimit} = page.limits;
  const scene = wholeNumber(params, 'scene', 1, scenes, 1);
  const step = wholeNumber(params, 'step', 0, stepLimit, 0);
  const zoom = wholeNumber(params, 'zoom', -zoomLimit, zoomLimit, 0);
  for (const part of [scene, step, zoom])
    if (part.problem) return part;
  return {z, x, choice, mate, scene: scene.value, step: step.value, zoom: zoom.value};
}

// ---- start ------------------------------------------------------------------------------

// The cutters the form offers, from the module: the specified one and the
// profiles its list names.
function readPresets() {
  const presets = {};
  for (const option of cutterField('profile').options) {
    const source = option.value === '' ? 'SPECIFIED_CUTTER' : `CUTTER_PROFILES.${option.value}`;
    presets[option.value] = {};
    for (const [name, field] of Object.entries(CUTTER_VALUES))
      presets[option.value][name] = moduleReal(`${source}.${field}`);
  }
  return presets;
}

function fillTexts() {
  const text = (k) => call('web_text', 'string', ['number'], [k]);
  showText('headline', text(0));
  showText('teeth-heading', text(1));
  showText('teeth-prompt', text(2));
  showText('shift-prompt', text(3));
  showText('data-question', text(4));
  showText('data-intro', text(5));
  const help = [];
  for (let k = 6; k < 12; ++k) help.push(text(k));
  $('key-help').textContent = help.join('\n');
  for (const option of cutterField('profile').options) {
    const {alpha, ha, hf, rho} = page.presets[option.value];
    option.textContent = `${option.textContent}: ${alpha}°, ${ha}, ${hf}, ρ ${rho}`;
  }
}

// One part of the start; when it fails, the error names the part and why.
async function startPart(what, work) {
  try {
    return await work();
  } catch (error) {
    throw new Error(`${what} (${error})`);
  }
}

// The wasm module, the numbers the scripts share with it, then the form or a
// linked frame. Whatever fails is named in #problem instead of the page.
export async function start() {
  try {
    const loader = await startPart('its script rackgen.js did not load', () => import('./rackgen.js'));
    page.module = await startPart('its wasm module rackgen.wasm could not be loaded and instantiated',
      () => loader.default());
    await startPart('its scripts and rackgen.wasm come from different builds', () => {
      page.layout = readRecordLayout(page.module);
      const limit = (name) => moduleConstant(page.module, name);
      page.limits = {scenes: limit('SCENE_COUNT'), step: limit('STEP_LIMIT'), zoom: limit('ZOOM_LIMIT')};
      page.presets = readPresets();
      page.moduleRange = {min: moduleReal('MODULE_MIN'), max: moduleReal('MODULE_MAX')};
    });
    await startPart('the page could not be set up', setUpPage);
  } catch (error) {
    $('dialogue').hidden = true;
    $('scenes').hidden = true;
    showText('problem', `rackgen could not start in this browser: ${error.message}`);
  }
}

function setUpPage() {
  setUpCanvas();
  fillTexts();
  $('dialogue').addEventListener('submit', (event) => {
    event.preventDefault();
    acceptForm();
  });
  $('answer-yes').addEventListener('click', () => answerQuestion(true));
  $('answer-no').addEventListener('click', () => answerQuestion(false));
  $('download-data').addEventListener('click', downloadDataFile);
  $('download-svg').addEventListener('click', () => downloadGear('.svg', 'image/svg+xml'));
  $('download-dxf').addEventListener('click', () => downloadGear('.dxf', 'application/dxf'));
  $('download-json').addEventListener('click', () => downloadGear('.json', 'application/json'));
  const profile = cutterField('profile');
  profile.addEventListener('change', () => fillCutterFields(page.presets[profile.value]));
  fillCutterFields(page.presets['']);
  document.addEventListener('keydown', onKey);

  const params = addressFields(window.location.search);
  if (params.has('z')) {
    const link = readLink(params);
    document.body.classList.add('embed');
    $('dialogue').hidden = true;
    if (link.problem) {
      showText('problem', link.problem);
    } else {
      startGear(link.z, link.x, link.choice, link.mate);
      openFrame(link.scene, link.step, link.zoom);
      $('canvas').focus();
    }
  } else {
    if ([...params.keys()].length > 0)
      showText('problem',
        `a link to a frame needs z (and may give ${LINK_KEYS.slice(1).join(', ')}); here is the form`);
    openForm('gear');
  }
}
