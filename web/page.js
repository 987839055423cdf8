// The page's controller: the dialogue as a form with the mate and the cutter;
// the canvas sized to the screen; keys, buttons, a step slider, play, wheel
// and pinch; the address kept as the link to the frame shown; the gear's data
// and the downloads; the page's texts in Japanese or English.
// The gear, its checks, its data and every frame come from the wasm module
// (web/main.cpp); painter.js paints each recorded frame. Owns the page's state:
// which gear is shown, with which cutter and module and mate, whether the form
// or a question is open, the canvas's size, playing, the language.
// start.js loads it and calls start().
import {moduleConstant, paintRecord, readRecordLayout} from './painter.js';
import {browserLanguage, LANGUAGES, TEXTS} from './texts.js';
import {japaneseDataRow, japaneseText} from './module_texts.js';

const EMBED_SIZE = 800;  // an embedded frame's width and height, the window's at creation, pixels
// The shortest side a frame is recorded at, window pixels: a smaller canvas
// shows it scaled down, so the legend's lines (18 px type, 20 px apart in an
// 800-pixel window) keep their room on a phone; a larger one shows it scaled
// up, so the legend and the lines grow on a projected screen.
const FRAME_SIDES = {min: 640, max: 1080};
const SIZE_LIMITS = {min: 16, max: 8192};  // a size= side, pixels, as --size takes it
const GEAR_KEYS = ['z', 'x', 'z2', 'x2', 'scene', 'step', 'zoom', 'profile', 'alpha', 'ha', 'hf', 'rho', 'm'];
const PAGE_KEYS = ['info', 'lang', 'embed', 'size'];
const LINK_KEYS = [...GEAR_KEYS, ...PAGE_KEYS];
// The cutter's values under their names in a link and the form, and in the program's Cutter.
const CUTTER_VALUES = {alpha: 'pressure_angle', ha: 'addendum', hf: 'dedendum', rho: 'tip_radius'};
const DEFAULT_MODULE = 1;  // millimetres, as --gear writes without --module
const ADDRESS_DELAY = 300;  // ms: the address follows the frame at most this often
const WHEEL_NOTCH = 100;    // pixels of wheel travel a zoom press takes
const TAP_SLOP = 10;        // CSS pixels a tap may move and still be one

const $ = (id) => document.getElementById(id);

export const page = {
  module: null,         // the wasm module's object, made by createRackgen
  layout: null,         // the frame record's layout, as painter.js reads it
  limits: null,         // {scenes, step, zoom}: what a link may ask for, the command line's limits
  presets: null,        // {'': the specified cutter, A … D: the ISO 53 profiles}, each {alpha, ha, hf, rho}
  moduleRange: null,    // {min, max}: the module a gear's files may have, millimetres
  zoomStep: 0,          // what a press of 'w' multiplies the scale by
  ctx: null,
  size: {width: 0, height: 0, ratio: 1},  // the frame in window pixels, and the canvas's pixels per window pixel
  gear: null,           // {z, x, profile, cutter: {alpha, ha, hf, rho}, module, mate: {z2, x2}, warning}
                        // of the gear shown, or null
  shown: null,          // {scene, step, zoom, last, info} of the frame on the canvas, or null
  formFor: 'gear',      // what the open form may change: 'gear' (all), 'shift' (after 'x'), 'mate' (after 'm')
  questionOpen: false,  // the data-file question waits for '1' or '0'
  language: 'en',       // 'ja' or 'en'
  embed: false,         // only the canvas, at the top-left (a link's embed=1)
  shape: null,          // [width, height] a link's size= asks for, or null: a square
  playing: false,
};

// ---- texts -----------------------------------------------------------------------

const texts = () => TEXTS[page.language];

// A text of the module (a refusal, a warning) in the page's language.
function moduleText(english) {
  return page.language === 'ja' ? japaneseText(english) : english;
}

// Shows what make(texts) says in the element, again in the other language
// when it changes; '' hides it. Never as HTML: texts come from the address and the form.
function say(id, make) {
  const element = $(id);
  element.sayText = make;
  const text = make(texts());
  element.textContent = text;
  element.hidden = text === '';
}

const sayNothing = (id) => say(id, () => '');
const sayModule = (id, english) => say(id, () => moduleText(english));

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

// A number as people type it: full-width digits and signs, a decimal comma,
// blanks around it. The module reads the result as it reads any answer.
function typedNumber(text) {
  const plain = text.normalize('NFKC').replaceAll('\u2212', '-').trim();
  return /^[+-]?[0-9]*,[0-9]+$/.test(plain) ? plain.replace(',', '.') : plain;
}

// The dialogue's texts: the console's own from the module in Japanese, else texts.js's.
function dialogueText(k) {
  return texts().dialogue?.[k] ?? call('web_text', 'string', ['number'], [k]);
}

function fillTexts() {
  const t = texts();
  document.documentElement.lang = page.language;
  for (const element of document.querySelectorAll('[data-text]')) element.textContent = t[element.dataset.text];
  for (const element of document.querySelectorAll('[data-label]'))
    element.setAttribute('aria-label', t[element.dataset.label]);
  for (const element of document.querySelectorAll('[data-placeholder]'))
    element.placeholder = t[element.dataset.placeholder];
  for (const button of document.querySelectorAll('.scene-buttons button'))
    button.setAttribute('aria-label', t.scene(Number(button.dataset.key)));
  const language = $('language');
  language.textContent = t.otherLanguage;
  language.lang = page.language === 'ja' ? 'en' : 'ja';
  const help = [];
  for (let k = 6; k < 12; ++k) help.push(dialogueText(k));
  $('key-help').textContent = [...help, ...t.moreKeyHelp].join('\n');
  for (const option of cutterField('profile').options) {
    const {alpha, ha, hf, rho} = page.presets[option.value];
    const name = option.value === '' ? t.asSpecified : `ISO 53 ${option.value}`;
    option.textContent = `${name}: ${alpha}°, ${ha}, ${hf}, ρ ${rho}`;
  }
  // Whatever is shown (the dialogue's texts among it) says it again in this language.
  for (const element of document.querySelectorAll('[id]'))
    if (element.sayText) say(element.id, element.sayText);
  if (page.gear) showGear();
  showControls();
}

function setLanguage(language) {
  page.language = language;
  fillTexts();
  followAddress();
}

// ---- the canvas ------------------------------------------------------------------

// The canvas's size: an embedded frame has the window's 800 × 800 pixels (or
// size=), pixel for pixel; on the page it takes the largest square (or the
// shape asked for) that fits the room the style sheet gives the view, at the
// device's pixel ratio, and shows a frame of FRAME_SIDES.min to .max pixels a side.
// A changed size redraws the frame shown.
function fitCanvas() {
  const canvas = $('canvas');
  let width;
  let height;
  let pixels = 1;  // the canvas's pixels per CSS pixel
  if (page.embed) {
    [width, height] = page.shape ?? [EMBED_SIZE, EMBED_SIZE];
  } else {
    const room = $('view').getBoundingClientRect();
    if (room.width === 0) return;  // the stage is hidden
    const aspect = page.shape ? page.shape[0] / page.shape[1] : 1;
    width = Math.max(SIZE_LIMITS.min, Math.floor(Math.min(room.width, room.height * aspect)));
    height = Math.max(SIZE_LIMITS.min, Math.round(width / aspect));
    pixels = window.devicePixelRatio || 1;
  }
  const shortSide = Math.min(width, height);
  const frame = page.embed ? 1  // window pixels per CSS pixel
    : Math.min(Math.max(1, FRAME_SIDES.min / shortSide), FRAME_SIDES.max / shortSide);
  const size = {width: Math.round(width * frame), height: Math.round(height * frame)};
  size.ratio = Math.round(width * pixels) / size.width;
  const {width: oldWidth, height: oldHeight, ratio: oldRatio} = page.size;
  if (oldWidth === size.width && oldHeight === size.height && oldRatio === size.ratio &&
      canvas.style.width === `${width}px` && canvas.style.height === `${height}px`) return;
  page.size = size;
  canvas.style.width = `${width}px`;
  canvas.style.height = `${height}px`;
  canvas.width = Math.round(width * pixels);
  canvas.height = Math.round(height * pixels);
  page.ctx = canvas.getContext('2d', {alpha: false});
  page.ctx.fillStyle = '#fff';  // the window's ground until the first frame
  page.ctx.fillRect(0, 0, canvas.width, canvas.height);
  if (page.shown) openFrame(page.shown.scene, page.shown.step, page.shown.zoom);
}

// Records one frame with record(width, height) at the canvas's CSS size and paints it.
function showFrame(record) {
  const {width, height, ratio} = page.size;
  if (record(width, height) === 0) return false;
  const canvas = $('canvas');
  const result = paintRecord(page.module, page.layout, page.ctx, canvas.width, canvas.height, ratio);
  if (result.overflowed) console.warn('rackgen: the frame did not fit the record; part of it is missing');
  const m = page.module;
  const scene = m._web_shown_scene();
  const sceneChanged = page.shown?.scene !== scene;
  page.shown = {scene, step: m._web_shown_step(), zoom: m._web_shown_zoom(), last: m._web_last_step(),
    info: m._web_info_shown() === 1};
  showControls();
  if (sceneChanged) announce();
  followAddress();
  return true;
}

function pressKey(key) {
  return showFrame((width, height) => page.module._web_key(key.charCodeAt(0), width, height));
}

// The frame at any step and zoom of a scene, computed directly as --render does.
function openFrame(scene, step, zoom) {
  const {step: stepLimit, zoom: zoomLimit} = page.limits;
  const clamp = (value, low, high) => Math.min(high, Math.max(low, value));
  showFrame((width, height) => {
    page.module._web_open_frame(scene, clamp(step, 0, stepLimit), clamp(zoom, -zoomLimit, zoomLimit), width, height);
    return 1;
  });
}

function zoomTo(zoom) {
  if (page.shown) openFrame(page.shown.scene, page.shown.step, zoom);
}

// The controls as the frame shown has them: the slider at its step, the
// pressed scene, play only where there are steps, the canvas's name.
function showControls() {
  const shown = page.shown;
  const t = texts();
  const slider = $('step-slider');
  const stepping = shown !== null && shown.last > 0;
  slider.disabled = !stepping;
  $('play').disabled = !stepping;
  if (shown) {
    slider.max = String(shown.last);
    slider.value = String(shown.step);
    $('step-value').textContent = String(shown.step);
    for (const button of document.querySelectorAll('.scene-buttons button'))
      button.setAttribute('aria-pressed', String(Number(button.dataset.key) === shown.scene));
    document.querySelector('[data-key="i"]').setAttribute('aria-pressed', String(shown.info));
    $('canvas').setAttribute('aria-label', t.canvasName($('gear-line').textContent,
      t.frame(shown.scene, shown.step, shown.zoom)));
  }
  const play = $('play');
  play.textContent = page.playing ? `❚❚ ${t.pause}` : `▶ ${t.play}`;
  play.setAttribute('aria-pressed', String(page.playing));
}

// Says the frame's scene to screen readers (not every step: that would drown them).
function announce(extra = '') {
  const shown = page.shown;
  if (!shown) return;
  say('status', (t) => [t.frame(shown.scene, shown.step, shown.zoom), extra && t[extra]].filter(Boolean).join('. '));
}

// ---- playing ---------------------------------------------------------------------

const player = {due: 0, last: 0};

function setPlaying(playing) {
  if (page.playing === playing) return;
  page.playing = playing;
  showControls();
  announce(playing ? 'played' : 'paused');
  if (playing) {
    player.due = 0;
    player.last = performance.now();
    requestAnimationFrame(playTick);
  }
}

// One screen refresh of playing: as many steps as the speed says are due,
// drawn as one frame; playing stops at the scene's last step.
function playTick(now) {
  if (!page.playing || !page.shown) return;
  const speed = Number($('speed').value);  // steps a second
  player.due += ((now - player.last) * speed) / 1000;
  player.last = now;
  const steps = Math.floor(player.due);
  if (steps >= 1) {
    player.due -= steps;
    const {scene, step, zoom, last} = page.shown;
    if (step >= last) return setPlaying(false);
    openFrame(scene, Math.min(last, step + steps), zoom);
    if (page.shown.step <= step) return setPlaying(false);  // the scene's curve is complete
  }
  requestAnimationFrame(playTick);
}

// ---- the address ------------------------------------------------------------------

let addressTimer = 0;

// The address becomes the link to what is shown, at most every ADDRESS_DELAY
// ms and without a new history entry each time.
function followAddress() {
  if (addressTimer) return;
  addressTimer = setTimeout(() => {
    addressTimer = 0;
    const query = linkQuery();
    if (window.location.search !== query) window.history.replaceState(null, '', query || window.location.pathname);
  }, ADDRESS_DELAY);
}

// The query of a link to the frame shown (the gear, its cutter, module and
// mate, the frame's scene, step and zoom, the data shown) in this language.
function linkQuery() {
  const fields = [];
  const gear = page.gear;
  if (gear && page.shown) {
    fields.push(['z', gear.z], ['x', gear.x]);
    if (gear.mate.z2 > 0) fields.push(['z2', gear.mate.z2], ['x2', gear.mate.x2]);
    if (gear.profile !== '') fields.push(['profile', gear.profile]);
    const preset = page.presets[gear.profile];
    for (const name of Object.keys(CUTTER_VALUES))
      if (gear.cutter[name] !== preset[name]) fields.push([name, gear.cutter[name]]);
    if (gear.module !== DEFAULT_MODULE) fields.push(['m', gear.module]);
    const {scene, step, zoom, info} = page.shown;
    fields.push(['scene', scene], ['step', step], ['zoom', zoom]);
    if (info) fields.push(['info', 1]);
    if (page.embed) fields.push(['embed', 1]);
    if (page.shape) fields.push(['size', page.shape.join('x')]);
  }
  fields.push(['lang', page.language]);
  return `?${fields.map(([name, value]) => `${name}=${encodeURIComponent(String(value))}`).join('&')}`;
}

// ---- the cutter ------------------------------------------------------------------

// The cutter and module the words name ({profile, alpha, ha, hf, rho, m}, each
// may be missing: then the profile's value, or the specified cutter's, and the
// default module), made the next gear's cutter: {profile, cutter, module}; or
// {name, problem(texts)}, the name of the word at fault unless the cutter as
// a whole is refused.
function takeCutter(words) {
  const profile = (words.profile ?? '').toUpperCase();
  if (!Object.hasOwn(page.presets, profile)) {
    const letters = Object.keys(page.presets).filter((letter) => letter !== '');
    return {name: 'profile', problem: (t) => t.profileWords(letters)};
  }
  const cutter = {...page.presets[profile]};
  for (const name of Object.keys(CUTTER_VALUES)) {
    if (words[name] === undefined) continue;
    cutter[name] = call('web_number', 'number', ['string'], [words[name]]);
    if (Number.isNaN(cutter[name])) return {name, problem: (t) => t.notANumber};
  }
  const module = words.m === undefined ? DEFAULT_MODULE : readModule(words.m);
  if (module === null) return {name: 'm', problem: moduleProblem};
  const refusal = setModuleCutter(cutter);
  if (refusal !== '') return {problem: () => moduleText(`the cutter cannot be used: ${refusal}`)};
  return {profile, cutter, module};
}

// The form's cutter, which the module's checks and the next gear use: '' when
// it takes it, else why not. The gear shown keeps its own.
function setModuleCutter({alpha, ha, hf, rho}) {
  return call('web_set_cutter', 'string', ['number', 'number', 'number', 'number'], [alpha, ha, hf, rho]);
}

// The module, mm, a word names (read as the command line reads --module), or
// null when it names none within the module's range; moduleProblem says so.
function readModule(word) {
  const module = call('web_number', 'number', ['string'], [word]);
  const {min, max} = page.moduleRange;
  return module >= min && module <= max ? module : null;
}
const moduleProblem = (t) => t.moduleRange(page.moduleRange.min, page.moduleRange.max);

// The mate the words name, checked as the dialogue checks a gear (with the
// cutter takeCutter has set): {z2, x2}, {z2: 0, x2: 0} for the default mate
// (no z2), or {name: 'z2' or 'x2', problem(texts)}.
function takeMate(teethWord, shiftWord) {
  if (teethWord === '') {
    if (shiftWord === '') return {z2: 0, x2: 0};
    return {name: 'x2', problem: (t) => t.mateShiftNeedsTeeth};
  }
  const teethRefusal = call('web_check_teeth', 'string', ['string'], [teethWord]);
  if (teethRefusal !== '') return {name: 'z2', problem: () => moduleText(teethRefusal)};
  const z2 = page.module._web_checked_teeth();
  const shiftRefusal = call('web_check_shift', 'string', ['number', 'string'], [z2, shiftWord || '0']);
  if (shiftRefusal !== '') return {name: 'x2', problem: () => moduleText(shiftRefusal)};
  return {z2, x2: page.module._web_checked_shift()};
}

// The mate made the one scene 8 shows and the data read (the form has checked
// it); the gear's warning and the mate's are shown.
function setMate(mate) {
  page.gear.mate = mate;
  call('web_set_mate', 'string', ['number', 'number'], [mate.z2, mate.x2]);
  sayWarnings();
}

// The module's warnings for a pointed tooth of the gear shown and of its mate.
function sayWarnings() {
  const warnings = [0, 1].map((mate) => call('web_gear_warning', 'string', ['number'], [mate]))
    .filter((text) => text !== '');
  say('warning', () => warnings.map(moduleText).join('\n'));
}

function cutterField(name) {
  return $(`cutter-${name}`);
}

function fillCutterFields(cutter) {
  for (const name of Object.keys(CUTTER_VALUES)) cutterField(name).value = String(cutter[name]);
}

// The words of the form's cutter part.
function cutterWords() {
  const words = {profile: cutterField('profile').value};
  for (const name of [...Object.keys(CUTTER_VALUES), 'm']) words[name] = typedNumber(cutterField(name).value);
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
  setPlaying(false);
  page.formFor = page.gear === null ? 'gear' : formFor;
  $('dialogue').hidden = false;
  $('cancel').hidden = page.gear === null;
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
  for (const id of FORM_MESSAGES) sayNothing(id);
  const first = {gear: teeth, shift, mate: mateTeeth}[page.formFor];
  first.focus();
  first.select();
}

function closeForm() {
  $('dialogue').hidden = true;
  fitCanvas();
  $('canvas').focus();
}

// Esc in the form: the change is dropped and the gear shown stays; with no
// gear yet, the typed answers are cleared.
function cancelForm() {
  if (page.gear === null) {
    for (const id of ['teeth', 'shift', 'mate-teeth', 'mate-shift']) $(id).value = '';
    for (const id of FORM_MESSAGES) sayNothing(id);
    $('teeth').focus();
    return;
  }
  closeForm();
}

// Esc on the canvas: the gear ends and the form starts afresh.
function endGear() {
  setPlaying(false);
  page.gear = null;
  page.shown = null;
  page.questionOpen = false;
  $('scenes').hidden = true;
  say('gear-line', () => '');
  openForm('gear');
  followAddress();
}

function refuseField(id, problem) {
  say(`${id}-message`, problem);
  $(id).focus();
}

// Enter in the number of teeth (or the mate's): the answer is checked, then
// the shift is asked, as the console asks it next.
function nextField(from, to) {
  const message = `${from}-message`;
  const refusal = call('web_check_teeth', 'string', ['string'], [typedNumber($(from).value)]);
  if (refusal !== '' && !(from === 'mate-teeth' && typedNumber($(from).value) === ''))
    return say(message, () => moduleText(refusal));
  sayNothing(message);
  $(to).focus();
  $(to).select();
}

function acceptForm() {
  for (const id of FORM_MESSAGES) sayNothing(id);
  const words = cutterWords();
  const choice = takeCutter(words);
  if (choice.problem) {
    const {name, problem} = choice;
    say('cutter-message', (t) => (name ? t.fieldProblem(t.cutterWords[name], problem(t), words[name]) : problem(t)));
    $('cutter').open = true;
    cutterField(name ?? 'alpha').focus();
    return;
  }
  let z = page.gear ? page.gear.z : 0;
  if (page.formFor === 'gear') {
    const refusal = call('web_check_teeth', 'string', ['string'], [typedNumber($('teeth').value)]);
    if (refusal !== '') return refuseField('teeth', () => moduleText(refusal));
    z = page.module._web_checked_teeth();
  }
  let x = page.gear ? page.gear.x : 0;
  if (page.formFor !== 'mate') {
    const refusal = call('web_check_shift', 'string', ['number', 'string'], [z, typedNumber($('shift').value)]);
    if (refusal !== '') return refuseField('shift', () => moduleText(refusal));
    x = page.module._web_checked_shift();
  }
  const mate = takeMate(typedNumber($('mate-teeth').value), typedNumber($('mate-shift').value));
  if (mate.problem) return refuseField(mate.name === 'z2' ? 'mate-teeth' : 'mate-shift', mate.problem);
  $('dialogue').hidden = true;
  if (page.formFor === 'mate') {
    // As the window's 'm': scene 8 from its start, drawn at once; no data-file question.
    setMate(mate);
    showGear();
    closeForm();
    page.module._web_key('m'.charCodeAt(0), page.size.width, page.size.height);
    pressKey('s');
    return;
  }
  startGear(z, x, choice, mate);
  closeForm();
  pressKey('s');  // the new gear's first frame at once: the canvas shows the gear the page names
  page.questionOpen = true;
  $('question').hidden = false;
  $('answer-yes').focus();
}

// A new gear, cut with the cutter takeCutter has just set (choice is its
// answer), with the mate takeMate has taken, all checked: scene 1 from its start.
function startGear(z, x, choice, mate) {
  const {profile, cutter, module} = choice;
  call('web_take_gear', 'string', ['number', 'number', 'number', 'number', 'number'],
    [z, x, module, mate.z2, mate.x2]);
  page.gear = {z, x, profile, cutter, module, mate};
  page.shown = null;  // no frame of it yet: a resize does not redraw the gear before
  $('download-module').value = String(module);
  sayNothing('module-message');
  sayWarnings();
  $('scenes').hidden = false;
  showGear();
  fitCanvas();
}

// The gear's line and its data beside the canvas, as the gear shown has them.
function showGear() {
  const {z, x, cutter, module, mate} = page.gear;
  say('gear-line', (t) => {
    const parts = [t.gearLine(z, x)];
    if (!isSpecified(cutter)) parts.push(t.cutterLine(cutter.alpha, cutter.ha, cutter.hf, cutter.rho));
    if (module !== DEFAULT_MODULE) parts.push(t.moduleLine(module));
    if (mate.z2 > 0) parts.push(t.mateLine(mate.z2, mate.x2));
    return parts.join('; ');
  });
  const rows = call('web_gear_data_rows', 'string', [], []).split('\n').filter((row) => row !== '');
  $('gear-data-rows').replaceChildren(...rows.map((row) => {
    const tr = document.createElement('tr');
    const [name, value] = row.split('\t');
    const shown = page.language === 'ja' ? japaneseDataRow(name, value) : [name, value];
    for (const [tag, text] of [['th', shown[0]], ['td', shown[1]]]) {
      const cell = document.createElement(tag);
      cell.textContent = text;  // never as HTML, as every text of the page
      tr.append(cell);
    }
    return tr;
  }));
}

// The answer to the data-file question.
function answerQuestion(yes) {
  page.questionOpen = false;
  $('question').hidden = true;
  if (yes) downloadDataFile();
  $('canvas').focus();
}

// The module of the downloads and the data, changed beside the downloads.
function takeDownloadModule() {
  const word = typedNumber($('download-module').value);
  const module = readModule(word);
  if (module === null) return say('module-message', (t) => t.fieldProblem(t.cutterWords.m, moduleProblem(t), word));
  sayNothing('module-message');
  page.gear.module = module;
  call('web_set_module', 'string', ['number'], [module]);
  showGear();
  followAddress();
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
    sayModule('warning', fault);
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

// ---- keys, buttons, wheel and fingers ---------------------------------------------------

// '1' … the last scene's digit, as the module counts its scenes.
function isSceneKey(key) {
  return key >= '1' && key <= String(page.limits.scenes);
}

// A key of the window's, typed or from a button; true when it is one.
function takeKey(key) {
  if (page.gear === null) return false;
  if (key === 'Escape') {
    endGear();
  } else if (key === 'z' || key === 'x' || key === 'm') {
    openForm({z: 'gear', x: 'shift', m: 'mate'}[key]);
  } else if (key.length === 1 && (isSceneKey(key) || 'swWi'.includes(key))) {
    pressKey(key);
  } else {
    return false;
  }
  return true;
}

function onKey(event) {
  if (event.ctrlKey || event.metaKey || event.altKey) return;
  if (!$('dialogue').hidden) {
    if (event.key === 'Escape') {
      event.preventDefault();
      cancelForm();
    }
    return;  // the form takes the other keys while it is open
  }
  if (page.gear === null) return;
  if (page.questionOpen) {
    if (event.key === '1' || event.key === '0') {
      event.preventDefault();
      answerQuestion(event.key === '1');
    }
    return;
  }
  const target = event.target;
  if ((target.tagName === 'INPUT' && target.type !== 'range') || target.tagName === 'SELECT') return;
  if (target.tagName === 'INPUT' && event.key.startsWith('Arrow')) return;  // the slider's own keys
  if (takeKey(event.key)) event.preventDefault();
}

// Enter in the form moves from z to x (and from z2 to x2) and then accepts.
function onFormKey(event) {
  if (event.key !== 'Enter' || event.isComposing) return;
  const next = {'teeth': 'shift', 'mate-teeth': 'mate-shift'}[event.target.id];
  if (!next || event.target.readOnly || $(next).readOnly) return;
  event.preventDefault();
  nextField(event.target.id, next);
}

// The wheel zooms the picture, a notch a press of 'w' (down) or 'W' (up), at
// the step shown.
function setUpWheel(canvas) {
  let travel = 0;
  canvas.addEventListener('wheel', (event) => {
    if (!page.shown) return;
    event.preventDefault();
    const unit = [1, 33, 800][event.deltaMode] ?? 1;
    travel += event.deltaY * unit;
    const presses = Math.trunc(travel / WHEEL_NOTCH);
    if (presses === 0) return;
    travel -= presses * WHEEL_NOTCH;
    zoomTo(page.shown.zoom + presses);
  }, {passive: false});
}

// Fingers on the canvas: a tap continues the drawing as 's' does; two fingers
// zoom, a press of 'W' for every 1/ZOOM_STEP they spread apart.
function setUpFingers(canvas) {
  const pointers = new Map();
  let pinch = null;  // {distance, zoom} when two fingers went down
  let tap = null;    // {id, x, y} of a single press that has not moved
  const spread = () => {
    const [a, b] = [...pointers.values()];
    return Math.hypot(a.x - b.x, a.y - b.y);
  };
  canvas.addEventListener('pointerdown', (event) => {
    pointers.set(event.pointerId, {x: event.clientX, y: event.clientY});
    canvas.setPointerCapture(event.pointerId);
    tap = pointers.size === 1 ? {id: event.pointerId, x: event.clientX, y: event.clientY} : null;
    if (pointers.size === 2 && page.shown) pinch = {distance: spread(), zoom: page.shown.zoom};
  });
  canvas.addEventListener('pointermove', (event) => {
    if (!pointers.has(event.pointerId)) return;
    pointers.set(event.pointerId, {x: event.clientX, y: event.clientY});
    if (tap && Math.hypot(event.clientX - tap.x, event.clientY - tap.y) > TAP_SLOP) tap = null;
    if (pinch && pointers.size === 2 && pinch.distance > 0) {
      const presses = Math.round(Math.log(spread() / pinch.distance) / Math.log(page.zoomStep));
      if (pinch.zoom + presses !== page.shown.zoom) zoomTo(pinch.zoom + presses);
    }
  });
  const lift = (event) => {
    if (!pointers.delete(event.pointerId)) return;
    if (pointers.size < 2) pinch = null;
    if (event.type === 'pointerup' && tap?.id === event.pointerId && page.gear && !page.questionOpen &&
        $('dialogue').hidden)
      pressKey('s');
    tap = null;
  };
  canvas.addEventListener('pointerup', lift);
  canvas.addEventListener('pointercancel', lift);
}

function setUpControls() {
  for (const button of document.querySelectorAll('#controls [data-key]'))
    button.addEventListener('click', () => {
      if (button.dataset.key !== 's') setPlaying(false);
      takeKey(button.dataset.key);
    });
  $('play').addEventListener('click', () => setPlaying(!page.playing));
  $('whole').addEventListener('click', () => zoomTo(page.module._web_whole_gear_zoom()));
  $('step-slider').addEventListener('input', (event) => {
    setPlaying(false);
    if (page.shown) openFrame(page.shown.scene, Number(event.target.value), page.shown.zoom);
  });
  const canvas = $('canvas');
  canvas.style.touchAction = 'none';
  setUpWheel(canvas);
  setUpFingers(canvas);
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
    return {problem: (t) => t.wholeNumber(name, word, low, high)};
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
  if (name) return {problem: (t) => t.inAddress(`${name}=${words[name]}`, `${name} ${problem(t)}`)};
  const given = Object.entries(words).filter(([key]) => key !== 'm').map(([key, word]) => `${key}=${word}`);
  return {problem: (t) => t.inAddress(given.join(', '), problem(t))};
}

// What the page's own fields of a link ask: {language, embed, shape, info} or a problem.
function readPageFields(params) {
  const result = {language: null, embed: false, shape: null, info: false};
  if (params.has('lang')) {
    const word = params.get('lang');
    if (!LANGUAGES.includes(word)) return {problem: (t) => t.languageWord(word)};
    result.language = word;
  }
  for (const name of ['embed', 'info']) {
    const flag = wholeNumber(params, name, 0, 1, 0);
    if (flag.problem) return flag;
    result[name] = flag.value === 1;
  }
  if (params.has('size')) {
    const word = params.get('size');
    const sides = /^([0-9]{1,5})x([0-9]{1,5})$/.exec(word);
    const {min, max} = SIZE_LIMITS;
    if (!sides || [sides[1], sides[2]].some((side) => Number(side) < min || Number(side) > max))
      return {problem: (t) => t.sizeWord(word, min, max)};
    result.shape = [Number(sides[1]), Number(sides[2])];
  }
  return result;
}

// The frame a link names, or a problem to show instead of it.
function readLink(params) {
  for (const name of params.keys())
    if (!LINK_KEYS.includes(name)) return {problem: (t) => t.unknownName(name, LINK_KEYS.join(', '))};
  // The checks of z and x read the cutter.
  const choice = readLinkCutter(params);
  if (choice.problem) return choice;
  const teethRefusal = call('web_check_teeth', 'string', ['string'], [params.get('z')]);
  if (teethRefusal !== '') return {problem: (t) => t.inAddress('z', moduleText(teethRefusal))};
  const z = page.module._web_checked_teeth();
  const shiftRefusal = call('web_check_shift', 'string', ['number', 'string'], [z, params.get('x') ?? '0']);
  if (shiftRefusal !== '') return {problem: (t) => t.inAddress('x', moduleText(shiftRefusal))};
  const x = page.module._web_checked_shift();
  const mate = takeMate(params.get('z2') ?? '', params.get('x2') ?? '');
  if (mate.problem) {
    const {name, problem} = mate;
    return {problem: (t) => t.inAddress(name === 'x2' && !params.has('z2') ? `x2=${params.get('x2')}` : name,
      problem(t))};
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
      page.zoomStep = moduleReal('ZOOM_STEP');
    });
    await startPart('the page could not be set up', setUpPage);
  } catch (error) {
    $('dialogue').hidden = true;
    $('scenes').hidden = true;
    $('problem').textContent = `rackgen could not start in this browser: ${error.message}`;
    $('problem').hidden = false;
  }
}

// A problem with the address, shown alone in an embedded page, above the form otherwise.
function showLinkProblem(problem, embed) {
  say('problem', problem);
  if (embed) {
    document.body.classList.add('embed');
    $('dialogue').hidden = true;
  } else {
    openForm('gear');
  }
}

function setUpPage() {
  const params = addressFields(window.location.search);
  const pageFields = readPageFields(params);
  page.language = pageFields.language ?? browserLanguage(navigator.languages ?? [navigator.language]);
  ['headline', 'teeth-heading', 'teeth-prompt', 'shift-prompt', 'data-question', 'data-intro']
    .forEach((id, k) => say(id, () => dialogueText(k)));
  fillTexts();
  $('dialogue').addEventListener('submit', (event) => {
    event.preventDefault();
    acceptForm();
  });
  $('dialogue').addEventListener('keydown', onFormKey);
  $('cancel').addEventListener('click', cancelForm);
  $('language').addEventListener('click', () => setLanguage(page.language === 'ja' ? 'en' : 'ja'));
  $('answer-yes').addEventListener('click', () => answerQuestion(true));
  $('answer-no').addEventListener('click', () => answerQuestion(false));
  $('download-data').addEventListener('click', downloadDataFile);
  $('download-svg').addEventListener('click', () => downloadGear('.svg', 'image/svg+xml'));
  $('download-dxf').addEventListener('click', () => downloadGear('.dxf', 'application/dxf'));
  $('download-json').addEventListener('click', () => downloadGear('.json', 'application/json'));
  $('download-module').addEventListener('change', takeDownloadModule);
  const profile = cutterField('profile');
  profile.addEventListener('change', () => fillCutterFields(page.presets[profile.value]));
  fillCutterFields(page.presets['']);
  document.addEventListener('keydown', onKey);
  setUpControls();
  new ResizeObserver(() => fitCanvas()).observe($('view'));
  window.addEventListener('resize', () => fitCanvas());

  if (pageFields.problem) return showLinkProblem(pageFields.problem, params.has('z') && params.get('embed') === '1');
  page.embed = pageFields.embed;
  page.shape = pageFields.shape;
  if (!params.has('z')) {
    const extra = [...params.keys()].filter((name) => name !== 'lang');
    if (extra.length > 0) say('problem', (t) => t.needsTeeth(LINK_KEYS.slice(1).join(', ')));
    openForm('gear');
    return;
  }
  const link = readLink(params);
  if (link.problem) return showLinkProblem(link.problem, page.embed);
  $('dialogue').hidden = true;
  if (page.embed) document.body.classList.add('embed');
  startGear(link.z, link.x, link.choice, link.mate);
  page.module._web_show_info(pageFields.info ? 1 : 0);
  openFrame(link.scene, link.step, link.zoom);
  $('canvas').focus();
}
