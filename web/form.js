// The form: the console's dialogue (the number of teeth, the shift, then the
// data-file question) with the mate of scene 8 beside it, the choice of a
// ring, and the cutter (the rack or a pinion-type cutter, a helical gear's
// helix and face width) and the module folded below, and the thickness
// allowances and the pair's mounting folded below that; the gear it starts, its
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

// ---- the thickness allowances and the pair's mounting -----------------------------

// No allowances, the pair at its working centre distance.
export const NO_TOLERANCES = {allowance: null, allowance2: null, cd: 0, cdtol: 0};
// Their words in a link, in the order it writes them.
export const TOLERANCE_KEYS = ['allowance', 'allowance2', 'cd', 'cdtol'];

// The allowances and mounting the words name ({allowance, allowance2:
// 'UPPER,LOWER' in mm; cd, cdtol: mm}, each may be missing), read as the
// command line reads --thickness-allowance, --mate-thickness-allowance,
// --centre-distance and --centre-distance-tolerance: {allowance: [upper,
// lower] or null, allowance2 likewise, cd (0: the working centre distance),
// cdtol (0: none)}, or {name, problem(texts)}. The mate's allowance and the
// mounting need a chosen mate (withMate). Reversed or vanishing allowances are
// the module's to refuse as the gear is taken (choice_refusal).
export function readTolerances(words, withMate) {
  const tolerances = {...NO_TOLERANCES};
  for (const name of ['allowance', 'allowance2']) {
    if (words[name] === undefined) continue;
    const limits = words[name].split(',').map((word) => call.web_number(word));
    if (limits.length !== 2 || limits.some(Number.isNaN)) return {name, problem: (t) => t.allowanceWords};
    tolerances[name] = limits;
  }
  // Above 0 and at most the largest length the command line takes for them (FACE_WIDTH_MAX).
  for (const name of ['cd', 'cdtol']) {
    if (words[name] === undefined) continue;
    tolerances[name] = call.web_number(words[name]);
    if (!(tolerances[name] > 0 && tolerances[name] <= page.faceWidthMax))
      return {name, problem: (t) => t.faceRange(page.faceWidthMax)};
  }
  const unmated = ['allowance2', 'cd', 'cdtol'].find((name) => words[name] !== undefined);
  if (unmated && !withMate) return {name: unmated, problem: (t) => t.toleranceNeedsMate};
  return tolerances;
}

// The allowances and mounting of the next gear taken or mate set.
function setTolerances({allowance, allowance2, cd, cdtol}) {
  call.web_set_tolerances(allowance ? 1 : 0, allowance?.[0] ?? 0, allowance?.[1] ?? 0, allowance2 ? 1 : 0,
    allowance2?.[0] ?? 0, allowance2?.[1] ?? 0, cd, cdtol);
}

// The mate's shift, when none is typed, solved so that the pair meshes
// without backlash at the centre distance, as --centre-distance solves it
// without --mate-shift (an external pair only; the gear z, x at module mm cut
// with the form's cutter): the mate with that x2 and solved, or as it was;
// or {name: 'cd', problem(texts), whole: true} (a sentence of its own).
export function solveMateShift(z, x, module, mate, tolerances, internal) {
  if (!(tolerances.cd > 0) || mate.z2 === 0 || internal || mate.ring) return mate;
  setTolerances(tolerances);
  const x2 = call.web_mate_shift_at_centre_distance(z, x, module, mate.z2);
  if (Number.isNaN(x2)) return {name: 'cd', problem: (t) => t.noWorkingAngle(tolerances.cd), whole: true};
  const refusal = call.web_check_shift(mate.z2, String(x2), 0);
  if (refusal !== '')
    return {name: 'cd', problem: (t) => t.solvedShiftRefused(String(x2), moduleText(refusal)), whole: true};
  return {...mate, x2: call.web_checked_shift(), solved: true};
}

// The word of a link or the form a refusal of the module is about: the
// gear's allowance or the mate's (choice_refusal names whose), else null.
export function refusedTolerance(refusal) {
  const whose = /^the (gear|mate)'s (?:thickness allowances|tooth thinned)/.exec(refusal);
  return whose === null ? null : {gear: 'allowance', mate: 'allowance2'}[whose[1]];
}

// The form's fields of each word, the first focused when the word is at fault.
const TOLERANCE_FIELDS = {allowance: ['allowance-upper', 'allowance-lower'],
  allowance2: ['mate-allowance-upper', 'mate-allowance-lower'], cd: ['centre-distance'],
  cdtol: ['centre-distance-tolerance']};

// The words of the form's allowances and mounting: an allowance when either of its fields is filled.
function toleranceWords() {
  const words = {};
  for (const [name, ids] of Object.entries(TOLERANCE_FIELDS)) {
    const typed = ids.map((id) => typedNumber($(id).value));
    if (typed.some((word) => word !== '')) words[name] = typed.join(',');
  }
  return words;
}

function fillToleranceFields(tolerances) {
  for (const [name, ids] of Object.entries(TOLERANCE_FIELDS)) {
    const value = tolerances[name];
    const values = Array.isArray(value) ? value : [value];
    ids.forEach((id, k) => {
      $(id).value = value ? String(values[k]) : '';
    });
  }
}

// A problem with a word of the allowances or the mounting beside them: what
// the word must be, or a sentence of its own when whole (the module's refusal).
function refuseTolerance(name, problem, words, whole = false) {
  say('tolerances-message',
    (t) => (whole ? problem(t) : t.fieldProblem(t.toleranceWords[name], problem(t), words[name])));
  $('tolerances').open = true;
  $(TOLERANCE_FIELDS[name][0]).focus();
}

// The mate made the one scene 8 shows and the data read (the form has checked
// it as a gear), with the allowances and mounting; the gear's warning and the
// mate's are shown. '' when taken, else why the pair cannot mesh (or an
// allowance is refused), and the mate shown stays.
function setMate(mate, tolerances) {
  setTolerances(tolerances);
  const refusal = call.web_set_mate(mate.z2, mate.x2, mate.ring ? 1 : 0);
  if (refusal !== '') return refusal;
  page.gear.mate = mate;
  page.gear.tolerances = tolerances;
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
  'internal-message', 'cutter-message', 'tolerances-message'];

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
  mateShift.value = mate.z2 > 0 && !mate.solved ? String(mate.x2) : '';
  const tolerances = page.gear?.tolerances ?? NO_TOLERANCES;
  fillToleranceFields(tolerances);
  if (tolerances !== NO_TOLERANCES && Object.values(tolerances).some(Boolean)) $('tolerances').open = true;
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
    fillToleranceFields(NO_TOLERANCES);
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
  const mateShift = typedNumber($('mate-shift').value);
  const typedMate = takeMate(typedNumber($('mate-teeth').value), mateShift, $('mate-internal').checked);
  if (typedMate.problem) return refuseField(typedMate.name === 'x2' ? 'mate-shift' : 'mate-teeth', typedMate.problem);
  const typed = toleranceWords();
  const tolerances = readTolerances(typed, typedMate.z2 > 0);
  if (tolerances.problem) return refuseTolerance(tolerances.name, tolerances.problem, typed);
  const mate = mateShift !== '' ? typedMate
    : solveMateShift(z, x, page.formFor === 'gear' ? choice.module : page.gear.module, typedMate, tolerances, internal);
  if (mate.problem) return refuseTolerance(mate.name, mate.problem, typed, true);
  // A pair that cannot mesh is refused as a whole: the gear shown stays.
  const refusal = page.formFor === 'mate' ? setMate(mate, tolerances)
    : startGear(z, x, choice, mate, internal, tolerances);
  const refused = refusedTolerance(refusal);
  if (refused) return refuseTolerance(refused, () => moduleText(refusal), typed, true);
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
// has taken, each checked, and the allowances and mounting readTolerances has
// read: scene 1 from its start. '' when taken, else why the pair cannot mesh
// (or a ring take a mate, or an allowance thin a tooth away), and nothing changes.
export function startGear(z, x, choice, mate, internal = false, tolerances = NO_TOLERANCES) {
  const {profile, cutter, module, face} = choice;
  setTolerances(tolerances);
  const refusal = call.web_take_gear(z, x, module, mate.z2, mate.x2, internal ? 1 : 0, mate.ring ? 1 : 0, face);
  if (refusal !== '') return refusal;
  page.gear = {z, x, profile, cutter, module, face, mate, internal, tolerances};
  page.shown = null;  // no frame of it yet: a resize does not redraw the gear before
  $('download-module').value = String(module);
  sayNothing('module-message');
  // The solid's face width is the helical gear's, when the form gave one; the bore is checked as it is used.
  $('solid-face').value = face > 0 ? String(face) : '';
  for (const id of ['solid-face-message', 'solid-bore-message']) sayNothing(id);
  sayWarnings();
  $('scenes').hidden = false;
  showGear();
  fitCanvas();
  return '';
}

// The gear's line and its data beside the canvas, as the gear shown has them.
export function showGear() {
  const {z, x, cutter, module, face, mate, internal, tolerances} = page.gear;
  const {allowance, allowance2, cd, cdtol} = tolerances;
  say('gear-line', (t) => {
    const parts = [t.gearLine(z, x)];
    if (internal) parts.push(t.ringLine);
    if (cutter.beta !== 0) parts.push(t.helixLine(cutter.beta, cutter.left));
    if (face > 0) parts.push(t.faceLine(face));
    if (cutter.zc > 0) parts.push(t.pinionLine(cutter.zc, cutter.xc));
    if (!isSpecified(cutter)) parts.push(t.cutterLine(cutter.alpha, cutter.ha, cutter.hf, cutter.rho));
    if (module !== page.defaultModule) parts.push(t.moduleLine(module));
    if (allowance) parts.push(t.allowanceLine(...allowance));
    // A shift solved for the centre distance, to the panel's four decimals.
    if (mate.z2 > 0) parts.push(t.mateLine(mate.z2, mate.solved ? mate.x2.toFixed(4) : mate.x2, mate.ring));
    if (allowance2) parts.push(t.mateAllowanceLine(...allowance2));
    if (cd > 0 || cdtol > 0) parts.push(t.mountLine(cd, cdtol));
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
  const refusal = call.web_set_module(module);
  if (refusal !== '') return say('module-message', () => moduleText(refusal));
  sayNothing('module-message');
  // The pair stays mounted as it was, its centre distance scaled with the module (as the module's).
  const {tolerances} = page.gear;
  page.gear.tolerances = {...tolerances, cd: tolerances.cd * module / page.gear.module};
  page.gear.module = module;
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
