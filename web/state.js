// What the page's parts share: the page's state (which gear is shown, with
// which cutter and module and mate, whether the form or a question is open,
// the canvas's size, playing, the language) and the saying of texts in the
// page's language.
import {japaneseText} from './module_texts.js';
import {TEXTS} from './texts.js';

export const $ = (id) => document.getElementById(id);

export const page = {
  wasm: null,           // the wasm module's object, made by createRackgen
  layout: null,         // the frame record's layout, as painter.js reads it
  // {scenes, step, zoom, sizes: {min, max}, window, mateTeeth, cutterTeeth: {min, max}}: what a
  // link may ask for, the command line's limits; the window's side; the most teeth of the
  // default mate; the teeth a pinion-type cutter may have
  limits: null,
  presets: null,        // {'': the specified cutter, A … : the ISO 53 profiles}, each {alpha, ha, hf, rho}
  moduleRange: null,    // {min, max}: the module a gear's files may have, millimetres
  defaultModule: 0,     // millimetres, as --gear writes without --module
  faceWidthMax: 0,      // millimetres, the largest face width --face-width takes
  sceneKeys: [],        // the keys of the module's scenes, '1' … '8'
  zoomStep: 0,          // what a press of 'w' multiplies the scale by
  ctx: null,
  size: {width: 0, height: 0, ratio: 1},  // the frame in window pixels, and the canvas's pixels per window pixel
  gear: null,           // {z, x, profile, cutter: {alpha, ha, hf, rho, zc, xc, beta, left}, module, face,
                        // mate: {z2, x2, ring, solved}, internal, tolerances: {allowance, allowance2, cd,
                        // cdtol}} of the gear shown (zc 0: the rack; beta 0: a spur gear; face 0: no face
                        // width given; internal: a ring; solved: x2 solved for cd; allowance null or
                        // [upper, lower] mm; cd 0: the working centre distance), or null
  shown: null,          // {scene, step, zoom, last, info} of the frame on the canvas, or null
  formFor: 'gear',      // what the open form may change: 'gear' (all), 'shift' (after 'x'), 'mate' (after 'm')
  questionOpen: false,  // the data-file question waits for '1' or '0'
  language: 'en',       // 'ja' or 'en'
  embed: false,         // only the canvas, at the top-left (a link's embed=1)
  shape: null,          // [width, height] a link's size= asks for, or null: a square
  playing: false,
  warmed: null,         // resolves once the page has warmed its painter up after the first frame (view.js)
  playTo: null,         // the step playing stops at before the scene's last (the example's), or null
};

export const texts = () => TEXTS[page.language];

// A text of the module (a refusal, a warning) in the page's language.
export function moduleText(english) {
  return page.language === 'ja' ? japaneseText(english) : english;
}

// Shows what make(texts) says in the element, again in the other language
// when it changes; '' hides it. Never as HTML: texts come from the address and the form.
export function say(id, make) {
  const element = $(id);
  element.sayText = make;
  const text = make(texts());
  element.textContent = text;
  element.hidden = text === '';
}

export const sayNothing = (id) => say(id, () => '');
export const sayModule = (id, english) => say(id, () => moduleText(english));

// A number as people type it: full-width digits and signs, a decimal comma,
// blanks around it. The module reads the result as it reads any answer.
export function typedNumber(text) {
  const plain = text.normalize('NFKC').replaceAll('\u2212', '-').trim();
  return /^[+-]?[0-9]*,[0-9]+$/.test(plain) ? plain.replace(',', '.') : plain;
}
