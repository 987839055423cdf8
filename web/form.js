// The form: the console's dialogue (the number of teeth, the shift, then the
// data-file question) with the mate of scene 8 beside it, the choice of a
// ring, and the cutter (the rack or a pinion-type cutter, a helical gear's
// helix and face width) and the module folded below; the gear it starts, its
// line and its data beside the canvas, and the module beside the downloads.
// Every answer is checked by the module as the console and the command line
// check theirs.
import {call} from './exports.js';
import {downloadDataFile} from './downloads.js';
import {CUTTER_VALUES, PINION_VALUES} from './link.js';
import {japaneseText} from './module_texts.js';
import {$, moduleText, page, say, sayNothing, typedNumber} from './state.js';
import {fitCanvas, followAddress, pressKey, setPlaying} from './view.js';

// ---- the cutter ------------------------------------------------------------------

// The cutter and module the words name ({profile, alpha, ha, hf, rho, zc, xc,
// beta, hand, m, face}, each may be missing: then the profile's value, or the
// specified cutter's, the rack (no zc; xc only with zc), a spur gear (no beta;
// hand 'left' or 'right', left only with beta; face, mm, only with beta), and
// the default module), made the next gear's cutter: {profile, cutter: {alpha,
// ha, hf, rho, zc, xc, beta, left}, module, face (0: not given)}; or {name,
// problem(texts), whole}, the name of the word at fault unless the cutter as a
// whole is refused, whole when the problem is a sentence of its own rather
// than what the word must be.
export function takeCutter(words) {
  const profile = (words.profile ?? '').toUpperCase();
  if (!Object.hasOwn(page.presets, profile)) {
    const letters = Object.keys(page.presets).filter((letter) => letter !== '');
    return {name: 'profile', problem: (t) => t.profileWords(letters)};
  }
  const cutter = {...page.presets[profile], zc: 0, xc: 0};
  for (const name of [...Object.keys(CUTTER_VALUES), 'xc']) {
    if (words[name] === undefined) continue;
    cutter[name] = call.web_number(words[name]);
    if (Number.isNaN(cutter[name])) return {name, problem: (t) => t.notANumber};
  }
  if (words.zc !== undefined) {
    // A whole number in the cutter's range, as --cutter-teeth takes it: 0 would be the rack.
    const {min, max} = page.limits.cutterTeeth;
    cutter.zc = call.web_number(words.zc);
    if (!(Number.isInteger(cutter.zc) && cutter.zc >= min && cutter.zc <= max))
      return {name: 'zc', problem: (t) => t.cutterTeethRange(min, max)};
  } else if (words.xc !== undefined) {
    return {name: 'xc', problem: (t) => t.cutterShiftNeedsTeeth};
  }
  const helix = readHelix(words);
  if (helix.problem) return helix;
  Object.assign(cutter, helix.cutter);
  const module = words.m === undefined ? page.defaultModule : readModule(words.m);
  if (module === null) return {name: 'm', problem: moduleProblem};
  const refusal = setModuleCutter(cutter);
  if (refusal !== '') {
    const problem = () => moduleText(`the cutter cannot be used: ${refusal}`);
    // The helix alone at fault (its angle, or a pinion-type cutter's helix) is named by its word;
    // the spur cutter that tells so stays the form's, as a refused cutter starts no gear.
    if (cutter.beta !== 0 && setModuleCutter({...cutter, beta: 0, left: false}) === '')
      return {name: 'beta', problem, whole: true};
    return {problem};
  }
  return {profile, cutter, module, face: helix.face};
}

// The helix the words name (beta, hand, face), read as the command line reads
// --helix-angle, --hand and --face-width: {cutter: {beta, left}, face} (beta 0:
// a spur gear; face 0: not given), or {name, problem(texts)}. The angle's range
// is the cutter's to check (cutter_refusal).
function readHelix({beta: betaWord, hand, face: faceWord}) {
  const beta = betaWord === undefined ? 0 : call.web_number(betaWord);
  if (Number.isNaN(beta)) return {name: 'beta', problem: (t) => t.notANumber};
  if (hand !== undefined && hand !== 'left' && hand !== 'right') return {name: 'hand', problem: (t) => t.handWords};
  if (hand === 'left' && beta === 0) return {name: 'hand', problem: (t) => t.handNeedsHelix};
  const face = faceWord === undefined ? 0 : call.web_number(faceWord);
  if (!(faceWord === undefined || (face > 0 && face <= page.faceWidthMax)))
    return {name: 'face', problem: (t) => t.faceRange(page.faceWidthMax)};
  if (face > 0 && beta === 0) return {name: 'face', problem: (t) => t.faceNeedsHelix};
  return {cutter: {beta, left: hand === 'left'}, face};
}

// The form's cutter, which the module's checks and the next gear use: '' when
// it takes it, else why not. The gear shown keeps its own.
function setModuleCutter({alpha, ha, hf, rho, zc, xc, beta, left}) {
  return call.web_set_cutter(alpha, ha, hf, rho, zc, xc, beta, left ? 1 : 0);
}

// Why the form's ring cannot be cut, in the geometry's own words, when it asks
// for one with the rack (said beside the choice of a ring); true then.
function sayRingRefusal() {
  const refused = $('internal').checked && cutterField('kind').value !== 'pinion';
  if (refused) say('internal-message', () => moduleText(call.web_ring_refusal()));
  else sayNothing('internal-message');
  return refused;
}

// The module, mm, a word names (read as the command line reads --module), or
// null when it names none within the module's range; moduleProblem says so.
function readModule(word) {
  const module = call.web_number(word);
  const {min, max} = page.moduleRange;
  return module >= min && module <= max ? module : null;
}
const moduleProblem = (t) => t.moduleRange(page.moduleRange.min, page.moduleRange.max);

// The mate the words name, checked as the dialogue checks a gear, or a ring
// when ring is true (with the cutter takeCutter has set): {z2, x2, ring},
// {z2: 0, x2: 0, ring: false} for the default mate (no z2), or
// {name: 'z2', 'x2' or 'internal2', problem(texts)}.
export function takeMate(teethWord, shiftWord, ring = false) {
  if (teethWord === '') {
    if (ring) return {name: 'internal2', problem: (t) => t.mateRingNeedsTeeth};
    if (shiftWord === '') return {z2: 0, x2: 0, ring: false};
    return {name: 'x2', problem: (t) => t.mateShiftNeedsTeeth};
  }
  const teethRefusal = call.web_check_teeth(teethWord, ring ? 1 : 0);
  if (teethRefusal !== '') return {name: 'z2', problem: () => moduleText(teethRefusal)};
  const z2 = call.web_checked_teeth();
  const shiftRefusal = call.web_check_shift(z2, shiftWord || '0', ring ? 1 : 0);
  if (shiftRefusal !== '') return {name: 'x2', problem: () => moduleText(shiftRefusal)};
  return {z2, x2: call.web_checked_shift(), ring};
}

// The mate made the one scene 8 shows and the data read (the form has checked
// it as a gear); the gear's warning and the mate's are shown. '' when taken,
// else why the pair cannot mesh, and the mate shown stays.
function setMate(mate) {
  const refusal = call.web_set_mate(mate.z2, mate.x2, mate.ring ? 1 : 0);
  if (refusal !== '') return refusal;
  page.gear.mate = mate;
  sayWarnings();
  return '';
}

// The module's warnings for a pointed tooth of the gear shown and of its mate.
function sayWarnings() {
  const warnings = [0, 1].map((ofMate) => call.web_gear_warning(ofMate)).filter((text) => text !== '');
  say('warning', () => warnings.map(moduleText).join('\n'));
}

export function cutterField(name) {
  return $(`cutter-${name}`);
}

function fillCutterFields(cutter) {
  for (const name of Object.keys(CUTTER_VALUES)) cutterField(name).value = String(cutter[name]);
}

// The rack or a pinion-type cutter (zc > 0) in the form's cutter part: its
// choice and, for the pinion-type cutter, its teeth and shift; and the helix
// and face width (empty for a spur gear, and for a face width not given).
function fillCutterKind({zc, xc, beta, left}, face) {
  cutterField('kind').value = zc > 0 ? 'pinion' : 'rack';
  cutterField('zc').value = zc > 0 ? String(zc) : '';
  cutterField('xc').value = zc > 0 ? String(xc) : '';
  cutterField('beta').value = beta !== 0 ? String(beta) : '';
  cutterField('hand').value = left ? 'left' : 'right';
  cutterField('face').value = face > 0 ? String(face) : '';
  showCutterKind();
}

// The pinion-type cutter's fields only while it is chosen.
function showCutterKind() {
  const pinion = cutterField('kind').value === 'pinion';
  for (const name of Object.keys(PINION_VALUES)) cutterField(name).closest('p').hidden = !pinion;
  showHelixFields();
}

// A helix angle typed as none: the field left empty, or 0.
const spurWord = (word) => word === '' || call.web_number(word) === 0;

// The helix's fields greyed for the pinion-type cutter, which cuts no helical
// gear (the geometry's reason said beside them); the hand and the face width
// greyed without a helix angle, as a spur gear has neither.
function showHelixFields() {
  const pinion = cutterField('kind').value === 'pinion';
  cutterField('beta').disabled = pinion;
  cutterField('hand').disabled = cutterField('face').disabled =
    pinion || spurWord(typedNumber(cutterField('beta').value));
  if (pinion) say('helix-note', () => moduleText(call.web_helical_pinion_refusal()));
  else sayNothing('helix-note');
}

// The words of the form's cutter part: the pinion-type cutter's only when it
// is chosen (its shift 0 when left empty); the helix's only when its fields
// are open and filled.
function cutterWords() {
  const words = {profile: cutterField('profile').value};
  for (const name of [...Object.keys(CUTTER_VALUES), 'm']) words[name] = typedNumber(cutterField(name).value);
  if (cutterField('kind').value === 'pinion') {
    words.zc = typedNumber(cutterField('zc').value);
    words.xc = typedNumber(cutterField('xc').value) || '0';
  }
  for (const name of ['beta', 'face']) {
    const field = cutterField(name);
    if (!field.disabled && typedNumber(field.value) !== '') words[name] = typedNumber(field.value);
  }
  if (!cutterField('hand').disabled) words.hand = cutterField('hand').value;
  return words;
}

function isSpecified(cutter) {
  return Object.keys(CUTTER_VALUES).every((name) => cutter[name] === page.presets[''][name]);
}

// ---- the dialogue ------------------------------------------------------------------

const FORM_MESSAGES = ['teeth-message', 'shift-message', 'mate-teeth-message', 'mate-shift-message',
  'internal-message', 'cutter-message'];

// The form, at the gear shown if there is one; its cutter part folded unless
// it holds another cutter or module. After 'x' only the shift may change,
// after 'm' only the mate ('gear', 'shift' or 'mate': what may change).
export function openForm(formFor) {
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
  $('mate-internal').checked = mate.ring === true;
  $('mate-internal').disabled = page.formFor === 'shift';
  if (page.gear) {
    cutterField('profile').value = page.gear.profile;
    fillCutterFields(page.gear.cutter);
    fillCutterKind(page.gear.cutter, page.gear.face);
    cutterField('m').value = String(page.gear.module);
    $('internal').checked = page.gear.internal;
  }
  $('cutter-fields').disabled = $('internal').disabled = page.formFor !== 'gear';
  const words = cutterWords();
  const specified = page.presets[''];
  if (words.profile !== '' || words.m !== String(page.defaultModule) || words.zc !== undefined ||
      words.beta !== undefined || Object.keys(CUTTER_VALUES).some((name) => words[name] !== String(specified[name])))
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
export function cancelForm() {
  if (page.gear === null) {
    for (const id of ['teeth', 'shift', 'mate-teeth', 'mate-shift']) $(id).value = '';
    $('internal').checked = $('mate-internal').checked = false;
    for (const id of FORM_MESSAGES) sayNothing(id);
    $('teeth').focus();
    return;
  }
  closeForm();
}

// Esc on the canvas: the gear ends and the form starts afresh.
export function endGear() {
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

// Whether the open form asks for a ring: its choice, or the gear shown's
// when only the shift or the mate may change.
function formRing() {
  return page.formFor === 'gear' ? $('internal').checked : page.gear.internal;
}

// Enter in the number of teeth (or the mate's): the answer is checked (with
// the cutter the form names, if it takes it; as a ring's if it asks for one),
// then the shift is asked, as the console asks it next.
function nextField(from, to) {
  const message = `${from}-message`;
  if (page.formFor === 'gear') takeCutter(cutterWords());
  const ring = from === 'teeth' ? formRing() && !sayRingRefusal() : $('mate-internal').checked;
  const refusal = call.web_check_teeth(typedNumber($(from).value), ring ? 1 : 0);
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
    const {name, problem, whole} = choice;
    say('cutter-message',
      (t) => (name && !whole ? t.fieldProblem(t.cutterWords[name], problem(t), words[name]) : problem(t)));
    $('cutter').open = true;
    cutterField(name ?? 'alpha').focus();
    return;
  }
  // A ring only with a pinion-type cutter: the geometry's refusal beside the choice.
  const internal = formRing();
  if (page.formFor === 'gear' && sayRingRefusal()) return $('internal').focus();
  let z = page.gear ? page.gear.z : 0;
  if (page.formFor === 'gear') {
    const refusal = call.web_check_teeth(typedNumber($('teeth').value), internal ? 1 : 0);
    if (refusal !== '') return refuseField('teeth', () => moduleText(refusal));
    z = call.web_checked_teeth();
  }
  let x = page.gear ? page.gear.x : 0;
  if (page.formFor !== 'mate') {
    const refusal = call.web_check_shift(z, typedNumber($('shift').value), internal ? 1 : 0);
    if (refusal !== '') return refuseField('shift', () => moduleText(refusal));
    x = call.web_checked_shift();
  }
  const mate = takeMate(typedNumber($('mate-teeth').value), typedNumber($('mate-shift').value),
    $('mate-internal').checked);
  if (mate.problem) return refuseField(mate.name === 'x2' ? 'mate-shift' : 'mate-teeth', mate.problem);
  // A pair that cannot mesh is refused as a whole: the gear shown stays.
  const refusal = page.formFor === 'mate' ? setMate(mate) : startGear(z, x, choice, mate, internal);
  if (refusal !== '') return refuseField('mate-teeth', () => moduleText(refusal));
  $('dialogue').hidden = true;
  if (page.formFor === 'mate') {
    // As the window's 'm': scene 8 from its start, drawn at once; no data-file question.
    showGear();
    closeForm();
    call.web_key('m'.charCodeAt(0), page.size.width, page.size.height);
    pressKey('s');
    return;
  }
  closeForm();
  pressKey('s');  // the new gear's first frame at once: the canvas shows the gear the page names
  page.questionOpen = true;
  $('question').hidden = false;
  $('answer-yes').focus();
}

// A new gear (a ring if internal), cut with the cutter takeCutter has just
// set (choice is its answer, the face width among it), with the mate takeMate
// has taken, each checked: scene 1 from its start. '' when taken, else why the
// pair cannot mesh (or a ring take a mate), and nothing changes.
export function startGear(z, x, choice, mate, internal = false) {
  const {profile, cutter, module, face} = choice;
  const refusal = call.web_take_gear(z, x, module, mate.z2, mate.x2, internal ? 1 : 0, mate.ring ? 1 : 0, face);
  if (refusal !== '') return refusal;
  page.gear = {z, x, profile, cutter, module, face, mate, internal};
  page.shown = null;  // no frame of it yet: a resize does not redraw the gear before
  $('download-module').value = String(module);
  sayNothing('module-message');
  sayWarnings();
  $('scenes').hidden = false;
  showGear();
  fitCanvas();
  return '';
}

// The gear's line and its data beside the canvas, as the gear shown has them.
export function showGear() {
  const {z, x, cutter, module, face, mate, internal} = page.gear;
  say('gear-line', (t) => {
    const parts = [t.gearLine(z, x)];
    if (internal) parts.push(t.ringLine);
    if (cutter.beta !== 0) parts.push(t.helixLine(cutter.beta, cutter.left));
    if (face > 0) parts.push(t.faceLine(face));
    if (cutter.zc > 0) parts.push(t.pinionLine(cutter.zc, cutter.xc));
    if (!isSpecified(cutter)) parts.push(t.cutterLine(cutter.alpha, cutter.ha, cutter.hf, cutter.rho));
    if (module !== page.defaultModule) parts.push(t.moduleLine(module));
    if (mate.z2 > 0) parts.push(t.mateLine(mate.z2, mate.x2, mate.ring));
    return parts.join('; ');
  });
  showDataRows();
}

// The module's rows of the gear's data (and the pair's, as the frame shown
// asks), each "name\tJapanese name\tvalue": the name in the page's language,
// the value's words turned into Japanese on the Japanese page.
export function showDataRows() {
  const rows = call.web_gear_data_rows().split('\n').filter((row) => row !== '');
  $('gear-data-rows').replaceChildren(...rows.map((row) => {
    const tr = document.createElement('tr');
    const [name, nameJa, value] = row.split('\t');
    const shown = page.language === 'ja' ? [nameJa, japaneseText(value)] : [name, value];
    for (const [tag, text] of [['th', shown[0]], ['td', shown[1]]]) {
      const cell = document.createElement(tag);
      cell.textContent = text;  // never as HTML, as every text of the page
      tr.append(cell);
    }
    return tr;
  }));
}

// The answer to the data-file question.
export function answerQuestion(yes) {
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
  call.web_set_module(module);
  showGear();
  followAddress();
}

// Enter in the form moves from z to x (and from z2 to x2) and then accepts.
function onFormKey(event) {
  if (event.key !== 'Enter' || event.isComposing) return;
  const next = {'teeth': 'shift', 'mate-teeth': 'mate-shift'}[event.target.id];
  if (!next || event.target.readOnly || $(next).readOnly) return;
  event.preventDefault();
  nextField(event.target.id, next);
}

// The form's buttons and keys, the cutter's profile, the module beside the downloads.
export function setUpForm() {
  $('dialogue').addEventListener('submit', (event) => {
    event.preventDefault();
    acceptForm();
  });
  $('dialogue').addEventListener('keydown', onFormKey);
  $('cancel').addEventListener('click', cancelForm);
  $('answer-yes').addEventListener('click', () => answerQuestion(true));
  $('answer-no').addEventListener('click', () => answerQuestion(false));
  $('download-module').addEventListener('change', takeDownloadModule);
  const profile = cutterField('profile');
  profile.addEventListener('change', () => fillCutterFields(page.presets[profile.value]));
  fillCutterFields(page.presets['']);
  cutterField('kind').addEventListener('change', () => {
    showCutterKind();
    sayRingRefusal();
  });
  cutterField('beta').addEventListener('input', showHelixFields);
  $('internal').addEventListener('change', sayRingRefusal);
  showCutterKind();
  cutterField('m').value = $('download-module').value = String(page.defaultModule);
}
