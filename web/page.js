// The page's entry: loads the wasm module, asks it for every number the
// scripts share with it, and wires the parts: the form (form.js), the view
// and player (view.js), the downloads (downloads.js) and the link to a frame
// (link.js); here too the page's texts in Japanese or English and the window's
// keys. The gear, its checks, its data and every frame come from the wasm
// module (web/wasm/, through exports.js); painter.js paints each recorded
// frame. start.js loads it and calls start().
import {bindExports, call, moduleConstant, moduleReal} from './exports.js';
import {setUpDownloads} from './downloads.js';
import {answerQuestion, cancelForm, cutterField, endGear, openForm, readTolerances, refusedTolerance, setUpForm,
  showGear, solveMateShift, startGear, takeCutter, takeMate, TOLERANCE_KEYS} from './form.js';
import {CUTTER_VALUES, HELIX_KEYS, LINK_KEYS, PAGE_KEYS, PINION_VALUES, readLink} from './link.js';
import {readRecordLayout} from './painter.js';
import {$, moduleText, page, say, texts} from './state.js';
import {browserLanguage, LANGUAGES, takeSceneNames} from './texts.js';
import {followAddress, openFrame, pressKey, setPlaying, setUpView, showControls} from './view.js';

export {page};

// ---- texts -----------------------------------------------------------------------

// The dialogue's texts: the console's own from the module in Japanese, else texts.js's.
function dialogueText(k) {
  return texts().dialogue?.[k] ?? call.web_text(k);
}

function fillTexts() {
  const t = texts();
  document.documentElement.lang = page.language;
  for (const element of document.querySelectorAll('[data-text]')) element.textContent = t[element.dataset.text];
  for (const element of document.querySelectorAll('[data-label]'))
    element.setAttribute('aria-label', t[element.dataset.label]);
  for (const element of document.querySelectorAll('[data-placeholder]')) {
    // a placeholder may name a limit, as the default mate's most teeth
    const text = t[element.dataset.placeholder];
    element.placeholder = typeof text === 'function' ? text(page.limits) : text;
  }
  for (const button of document.querySelectorAll('.scene-buttons button'))
    button.setAttribute('aria-label', t.scene(Number(button.dataset.key)));
  const language = $('language');
  language.textContent = t.otherLanguage;
  language.lang = page.language === 'ja' ? 'en' : 'ja';
  const help = [];
  for (let k = 6; k < 12; ++k) help.push(dialogueText(k));
  $('key-help').textContent = [...help, ...t.moreKeyHelp].join('\n');
  for (const link of document.querySelectorAll('[data-link]'))
    link.href = `index.html?${link.dataset.link}&lang=${page.language}`;
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
  if (page.shown) openFrame(page.shown.scene, page.shown.step, page.shown.zoom);  // the legends in it
  followAddress();
}

// ---- keys --------------------------------------------------------------------------

// A key of the module's table of scenes.
function isSceneKey(key) {
  return page.sceneKeys.includes(key);
}

// One button a scene, as the module's table of scenes has them.
function makeSceneButtons() {
  $('scene-buttons').replaceChildren(...page.sceneKeys.map((key) => {
    const button = document.createElement('button');
    button.type = 'button';
    button.dataset.key = key;
    button.textContent = key;
    return button;
  }));
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
  if (event.key === 'Escape' && document.fullscreenElement) return;  // the browser's: it leaves full screen
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

// ---- links to a frame ----------------------------------------------------------------

// The cutter, helix and module a link names, made the next gear's cutter, or a problem.
function readLinkCutter(fields) {
  const words = {};
  for (const name of ['profile', ...Object.keys(CUTTER_VALUES), ...Object.keys(PINION_VALUES), ...HELIX_KEYS, 'm'])
    if (fields.has(name)) words[name] = fields.get(name);
  const choice = takeCutter(words);
  if (!choice.problem) return choice;
  const {name, problem, whole} = choice;
  if (name) {
    return {problem: (t) => t.inAddress(`${name}=${words[name]}`, whole ? problem(t) : `${name} ${problem(t)}`)};
  }
  const given = Object.entries(words).filter(([key]) => key !== 'm').map(([key, word]) => `${key}=${word}`);
  return {problem: (t) => t.inAddress(given.join(', '), problem(t))};
}

// Whether a gear's word that a later one of its name replaces is still one
// the command line would read: a basic rack's letter, a hand, or a number. The
// frame's words are link.js's.
function earlierGearWord(name, word) {
  if (name === 'profile') return Object.hasOwn(page.presets, word.toUpperCase());
  if (name === 'hand') return word === 'left' || word === 'right';
  if (name === 'allowance' || name === 'allowance2') {
    const limits = word.split(',');
    return limits.length === 2 && limits.every((limit) => !Number.isNaN(call.web_number(limit)));
  }
  return ['scene', 'step', 'zoom', ...PAGE_KEYS].includes(name) || !Number.isNaN(call.web_number(word));
}

// The gear and frame a link names, checked by the module as the dialogue
// checks its answers, or a problem to show instead of it. internal=1 (read
// with the page's flags) asks for a ring, which only a pinion-type cutter cuts.
function readLinkGear({fields, earlier, unknown, page: {internal, internal2}, frame}) {
  if (unknown) return unknown;
  const refused = earlier.find(([name, word]) => !earlierGearWord(name, word));
  if (refused) {
    const [name, word] = refused;
    const letters = Object.keys(page.presets).filter((letter) => letter !== '');
    const words = {profile: (t) => t.profileWords(letters), hand: (t) => t.handWords, allowance: (t) => t.allowanceWords,
      allowance2: (t) => t.allowanceWords}[name] ?? ((t) => t.notANumber);
    return {problem: (t) => t.inAddress(`${name}=${word}`, `${name} ${words(t)}`)};
  }
  // The checks of z and x read the cutter.
  const choice = readLinkCutter(fields);
  if (choice.problem) return choice;
  if (internal && choice.cutter.zc === 0)
    return {problem: (t) => t.inAddress(`internal=${fields.get('internal')}`, moduleText(call.web_ring_refusal()))};
  const teethRefusal = call.web_check_teeth(fields.get('z'), internal ? 1 : 0);
  if (teethRefusal !== '') return {problem: (t) => t.inAddress('z', moduleText(teethRefusal))};
  const z = call.web_checked_teeth();
  const shiftRefusal = call.web_check_shift(z, fields.get('x') ?? '0', internal ? 1 : 0);
  if (shiftRefusal !== '') return {problem: (t) => t.inAddress('x', moduleText(shiftRefusal))};
  const x = call.web_checked_shift();
  const mate = takeMate(fields.get('z2') ?? '', fields.get('x2') ?? '', internal2);
  if (mate.problem) {
    const {name, problem} = mate;
    const named = name === 'x2' && !fields.has('z2') ? `x2=${fields.get('x2')}`
      : name === 'internal2' ? `internal2=${fields.get('internal2')}` : name;
    return {problem: (t) => t.inAddress(named, problem(t))};
  }
  // The allowances and the mounting; the mate's shift solved for cd when x2 is not given.
  const words = Object.fromEntries(TOLERANCE_KEYS.filter((name) => fields.has(name)).map((name) => [name, fields.get(name)]));
  const tolerances = readTolerances(words, mate.z2 > 0);
  const solved = tolerances.problem || fields.has('x2') ? mate
    : solveMateShift(z, x, choice.module, mate, tolerances, internal);
  const fault = [tolerances, solved].find((part) => part.problem);
  if (fault) {
    const {name, problem, whole} = fault;
    return {problem: (t) => t.inAddress(`${name}=${words[name]}`, whole ? problem(t) : `${name} ${problem(t)}`)};
  }
  if (frame.problem) return frame;
  return {z, x, choice, mate: solved, internal, tolerances, ...frame};
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

// ---- start ------------------------------------------------------------------------------

// What a page opened without a link shows at once: the rack rolling round a
// gear of 8 teeth, undercut and all, at the zoom where the whole gear fits,
// playing for nearly a turn of the gear (300 steps, 5 s at 1×) and then
// resting on the gear it has cut; the form is a button (or 'z') away.
const EXAMPLE = {z: 8, x: 0, scene: 4, playTo: 300};

function showExample() {
  const choice = takeCutter({});
  const mate = takeMate('', '');
  if (choice.problem || mate.problem || startGear(EXAMPLE.z, EXAMPLE.x, choice, mate) !== '') {
    openForm('gear');
    return;
  }
  $('dialogue').hidden = true;
  openFrame(EXAMPLE.scene, 0, 0);
  openFrame(EXAMPLE.scene, 0, call.web_whole_gear_zoom());
  setPlaying(true, EXAMPLE.playTo);
}

// The cutters the form offers, from the module: the specified one and the
// profiles its list names, each an option of the form's profile after the first.
function readPresets() {
  const select = cutterField('profile');
  for (let k = 0; k < moduleConstant('CUTTER_PROFILE_COUNT'); ++k) {
    const letter = String.fromCharCode(moduleConstant(`CUTTER_PROFILES[${k}].letter`));
    select.append(new Option(`ISO 53 ${letter}`, letter));
  }
  const presets = {};
  for (const option of select.options) {
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
    page.wasm = await startPart('its wasm module rackgen.wasm could not be loaded and instantiated',
      () => loader.default());
    await startPart('its scripts and rackgen.wasm come from different builds', () => {
      bindExports(page.wasm);
      page.layout = readRecordLayout();
      page.limits = {
        scenes: moduleConstant('SCENE_COUNT'), step: moduleConstant('STEP_LIMIT'), zoom: moduleConstant('ZOOM_LIMIT'),
        sizes: {min: moduleConstant('SIZE_SIDE_MIN'), max: moduleConstant('SIZE_SIDE_MAX')},
        window: moduleConstant('WINDOW_SIZE'), mateTeeth: moduleConstant('DEFAULT_MATE_TEETH_MAX'),
        cutterTeeth: {min: moduleConstant('CUTTER_TEETH_MIN'), max: moduleConstant('CUTTER_TEETH_MAX')},
        languages: LANGUAGES,
      };
      page.sceneKeys = Array.from({length: page.limits.scenes}, (_, i) => String.fromCharCode(call.web_scene_key(i)));
      takeSceneNames(Array.from({length: page.limits.scenes}, (_, i) => call.web_scene_name(i)));
      page.presets = readPresets();
      page.moduleRange = {min: moduleReal('MODULE_MIN'), max: moduleReal('MODULE_MAX')};
      page.defaultModule = moduleReal('DEFAULT_MODULE');
      page.faceWidthMax = moduleReal('FACE_WIDTH_MAX');
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

function setUpPage() {
  const link = readLink(window.location.search, page.limits);
  const {fields} = link;
  page.language = link.page.language ?? browserLanguage(navigator.languages ?? [navigator.language]);
  ['headline', 'teeth-heading', 'teeth-prompt', 'shift-prompt', 'data-question', 'data-intro']
    .forEach((id, k) => say(id, () => dialogueText(k)));
  makeSceneButtons();
  fillTexts();
  setUpForm();
  $('language').addEventListener('click', () => setLanguage(page.language === 'ja' ? 'en' : 'ja'));
  setUpDownloads();
  document.addEventListener('keydown', onKey);
  setUpView(takeKey);

  if (link.page.problem) return showLinkProblem(link.page.problem, fields.has('z') && fields.get('embed') === '1');
  page.embed = link.page.embed;
  page.shape = link.page.shape;
  $('new-gear').hidden = false;
  $('new-gear').addEventListener('click', () => {
    if (!takeKey('z')) openForm('gear');
  });
  if (!fields.has('z')) {
    const extra = [...fields.keys()].filter((name) => name !== 'lang');
    if (extra.length === 0) return showExample();
    say('problem', (t) => t.needsTeeth(LINK_KEYS.slice(1).join(', ')));
    openForm('gear');
    return;
  }
  const gear = readLinkGear(link);
  if (gear.problem) return showLinkProblem(gear.problem, page.embed);
  $('dialogue').hidden = true;
  if (page.embed) document.body.classList.add('embed');
  const refusal = startGear(gear.z, gear.x, gear.choice, gear.mate, gear.internal, gear.tolerances);
  const refused = refusedTolerance(refusal);
  const named = refused ? `${refused}=${fields.get(refused)}` : 'z2';
  if (refusal !== '') return showLinkProblem((t) => t.inAddress(named, moduleText(refusal)), page.embed);
  call.web_show_info(link.page.info ? 1 : 0);
  openFrame(gear.scene, gear.step, gear.zoom);
  $('canvas').focus();
}
