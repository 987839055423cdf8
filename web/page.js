// The page's controller: the dialogue as a form, the keys on the canvas, links
// to a frame and the downloads. The gear, its checks and every frame come from
// the wasm module (web/main.cpp); painter.js paints each recorded frame. Owns
// the page's state: which gear is shown and whether the form or a question is open.
// start.js loads it and calls start().
import {moduleConstant, paintRecord, readRecordLayout} from './painter.js';

const FRAME_SIZE = 800;  // the window's width and height at creation, pixels
const LINK_KEYS = ['z', 'x', 'scene', 'step', 'zoom'];

const $ = (id) => document.getElementById(id);

export const page = {
  module: null,         // the wasm module's object, made by createRackgen
  layout: null,         // the frame record's layout, as painter.js reads it
  limits: null,         // {scenes, step, zoom}: what a link may ask for, the command line's limits
  ctx: null,
  gear: null,           // {z, x} of the gear shown, or null
  keepTeeth: false,     // the form was opened by 'x': only the shift is asked
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

// ---- the dialogue ------------------------------------------------------------------

function openForm(keepTeeth) {
  page.keepTeeth = keepTeeth && page.gear !== null;
  $('dialogue').hidden = false;
  document.body.classList.remove('embed');
  const teeth = $('teeth');
  const shift = $('shift');
  teeth.readOnly = page.keepTeeth;
  teeth.value = page.gear ? String(page.gear.z) : '';
  shift.value = page.gear ? String(page.gear.x) : '';
  showText('teeth-message', '');
  showText('shift-message', '');
  (page.keepTeeth ? shift : teeth).focus();
  (page.keepTeeth ? shift : teeth).select();
}

// Esc: the gear ends and the form starts afresh.
function endGear() {
  page.gear = null;
  page.framed = false;
  page.questionOpen = false;
  $('scenes').hidden = true;
  openForm(false);
}

function acceptForm() {
  showText('teeth-message', '');
  showText('shift-message', '');
  let z = page.gear ? page.gear.z : 0;
  if (!page.keepTeeth) {
    const refusal = call('web_check_teeth', 'string', ['string'], [$('teeth').value.trim()]);
    if (refusal !== '') {
      showText('teeth-message', refusal);
      $('teeth').focus();
      return;
    }
    z = page.module._web_checked_teeth();
  }
  const refusal = call('web_check_shift', 'string', ['number', 'string'], [z, $('shift').value.trim()]);
  if (refusal !== '') {
    showText('shift-message', refusal);
    $('shift').focus();
    return;
  }
  startGear(z, page.module._web_checked_shift());
  $('dialogue').hidden = true;
  page.questionOpen = true;
  $('question').hidden = false;
  $('answer-yes').focus();
}

function startGear(z, x) {
  showText('warning', call('web_start', 'string', ['number', 'number'], [z, x]));
  page.gear = {z, x};
  $('scenes').hidden = false;
  showText('gear-line', `z = ${z}, x = ${x}`);
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
  return moduleFile((file) => call('web_write_gear', 'string', ['string'], [file]), `/gear${ending}`);
}

function downloadDataFile() {
  const bytes = dataFileBytes();
  if (bytes) offerDownload(bytes, `dataz${page.gear.z}`, 'application/octet-stream');
}

function downloadGear(ending, type) {
  const bytes = gearBytes(ending);
  if (bytes) offerDownload(bytes, `gear_z${page.gear.z}_x${page.gear.x}${ending}`, type);
}

// ---- keys -------------------------------------------------------------------------------

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
  } else if (key === 'z' || key === 'x') {
    openForm(key === 'x');
  } else if (key.length === 1 && '1234567swW'.includes(key)) {
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

// The frame a link names, or a problem to show instead of it.
function readLink(params) {
  for (const name of params.keys())
    if (!LINK_KEYS.includes(name))
      return {problem: `"${name}" in the address is not known here; a link takes ${LINK_KEYS.join(', ')}`};
  const teethRefusal = call('web_check_teeth', 'string', ['string'], [params.get('z')]);
  if (teethRefusal !== '') return {problem: `z in the address: ${teethRefusal}`};
  const z = page.module._web_checked_teeth();
  const shiftRefusal = call('web_check_shift', 'string', ['number', 'string'], [z, params.get('x') ?? '0']);
  if (shiftRefusal !== '') return {problem: `x in the address: ${shiftRefusal}`};
  const x = page.module._web_checked_shift();
  const {scenes, step: stepLimit, zoom: zoomLimit} = page.limits;
  const scene = wholeNumber(params, 'scene', 1, scenes, 1);
  const step = wholeNumber(params, 'step', 0, stepLimit, 0);
  const zoom = wholeNumber(params, 'zoom', -zoomLimit, zoomLimit, 0);
  for (const part of [scene, step, zoom])
    if (part.problem) return part;
  return {z, x, scene: scene.value, step: step.value, zoom: zoom.value};
}

// ---- start ------------------------------------------------------------------------------

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
  document.addEventListener('keydown', onKey);

  const params = addressFields(window.location.search);
  if (params.has('z')) {
    const link = readLink(params);
    document.body.classList.add('embed');
    $('dialogue').hidden = true;
    if (link.problem) {
      showText('problem', link.problem);
    } else {
      startGear(link.z, link.x);
      openFrame(link.scene, link.step, link.zoom);
      $('canvas').focus();
    }
  } else {
    if ([...params.keys()].length > 0)
      showText('problem', 'a link to a frame needs z (and may give x, scene, step, zoom); here is the form');
    openForm(false);
  }
}
