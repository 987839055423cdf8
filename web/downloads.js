// The downloads: the data file, the whole gear as SVG and DXF, its solid as
// STL and 3MF (of the face width and bore typed beside them), the gear's
// data as JSON and its data sheet as SVG in the page's language, each the
// bytes the module writes into its memory file system, handed to the browser
// under the name the desktop program gives it; and the frame shown as a PNG
// of the canvas's pixels, and a clip of what the canvas shows while it
// records (the browser's media recorder), as WebM.
import {call} from './exports.js';
import {$, page, sayModule, sayNothing, texts, typedNumber} from './state.js';

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
  const bytes = page.wasm.FS.readFile(path);
  page.wasm.FS.unlink(path);
  return bytes;
}

export function dataFileBytes() {
  return moduleFile((file) => call.web_write_data_file(file), '/data');
}

export function gearBytes(ending) {
  return moduleFile((file) => call.web_write_gear(file, page.gear.module), `/gear${ending}`);
}

export function gearDataBytes() {
  return moduleFile((file) => call.web_write_gear_data(file), '/gear.json');
}

// The solid's face width and bore (mm) typed beside the downloads, each 0
// when empty (ten modules, no bore), checked by the module as --face-width and
// --bore are: {face, bore}, or null with the refusal said beside its field.
export function solidSizes() {
  const sizes = {};
  let refused = false;
  for (const [name, check] of [['face', call.web_face_width_refusal], ['bore', call.web_bore_refusal]]) {
    const word = typedNumber($(`solid-${name}`).value);
    const size = call.web_number(word);
    // A face width of 0 typed is refused, as --face-width 0 is; 0 to the module is the default.
    sizes[name] = word === '' ? 0 : name === 'face' && size === 0 ? NaN : size;
    const refusal = check(sizes[name]);
    refused ||= refusal !== '';
    if (refusal === '') sayNothing(`solid-${name}-message`);
    else sayModule(`solid-${name}-message`, refusal);
  }
  return refused ? null : sizes;
}

// As --solid FILE.stl (or .3mf) writes it, with --face-width and --bore as typed.
export function solidBytes(ending) {
  const sizes = solidSizes();
  if (!sizes) return null;
  return moduleFile((file) => call.web_write_solid(file, sizes.face, sizes.bore), `/gear${ending}`);
}

// As --sheet FILE.svg writes it, with --lang of the page's language.
export function sheetBytes() {
  return moduleFile((file) => call.web_write_sheet(file, page.language === 'ja' ? 1 : 0), '/sheet.svg');
}

export function downloadDataFile() {
  const bytes = dataFileBytes();
  if (bytes) offerDownload(bytes, `dataz${page.gear.z}`, 'application/octet-stream');
}

// The gear's outline, data or data sheet, named after it (a ring as one).
function downloadGear(ending, type) {
  const bytes = ending === '.json' ? gearDataBytes() : ending === '_sheet.svg' ? sheetBytes()
    : ending === '.stl' || ending === '.3mf' ? solidBytes(ending) : gearBytes(ending);
  const {z, x, internal} = page.gear;
  if (bytes) offerDownload(bytes, `${internal ? 'ring' : 'gear'}_z${z}_x${x}${ending}`, type);
}

// The frame shown, the canvas's own pixels, as a PNG named after its link.
export function downloadFramePng() {
  const shown = page.shown;
  if (!shown) return;
  const name = `rackgen_z${page.gear.z}_x${page.gear.x}_scene${shown.scene}_step${shown.step}_zoom${shown.zoom}.png`;
  $('canvas').toBlob((blob) => {
    if (blob) offerDownload(blob, name, 'image/png');
  }, 'image/png');
}

// The clip being recorded: the recorder and what it has given so far, or null.
let clip = null;

function showRecording() {
  const button = $('record-clip');
  button.textContent = clip ? texts().stopClip : texts().recordClip;
  button.setAttribute('aria-pressed', String(clip !== null));
}

// Starts recording the canvas as it plays (at most 60 frames a second), or
// stops and hands the WebM over, named after the frame it started from.
export function toggleRecording() {
  if (clip) {
    clip.recorder.stop();
    return;
  }
  const shown = page.shown;
  const name = `rackgen_z${page.gear.z}_x${page.gear.x}_scene${shown?.scene ?? 1}_step${shown?.step ?? 0}.webm`;
  const recorder = new MediaRecorder($('canvas').captureStream(60), {mimeType: 'video/webm'});
  const chunks = [];
  recorder.addEventListener('dataavailable', (event) => chunks.push(event.data));
  recorder.addEventListener('stop', () => {
    clip = null;
    showRecording();
    offerDownload(new Blob(chunks, {type: 'video/webm'}), name, 'video/webm');
  });
  clip = {recorder};
  recorder.start(1000);
  showRecording();
}

export function setUpDownloads() {
  $('save-png').addEventListener('click', downloadFramePng);
  // Only where the browser records a canvas as WebM.
  const recordable = typeof MediaRecorder !== 'undefined' && MediaRecorder.isTypeSupported('video/webm') &&
    typeof HTMLCanvasElement.prototype.captureStream === 'function';
  $('record-clip').hidden = !recordable;
  if (recordable) $('record-clip').addEventListener('click', toggleRecording);
  $('download-data').addEventListener('click', downloadDataFile);
  $('download-svg').addEventListener('click', () => downloadGear('.svg', 'image/svg+xml'));
  $('download-dxf').addEventListener('click', () => downloadGear('.dxf', 'application/dxf'));
  $('download-stl').addEventListener('click', () => downloadGear('.stl', 'model/stl'));
  $('download-3mf').addEventListener('click', () => downloadGear('.3mf', 'model/3mf'));
  for (const name of ['face', 'bore']) $(`solid-${name}`).addEventListener('change', solidSizes);
  $('download-json').addEventListener('click', () => downloadGear('.json', 'application/json'));
  $('download-sheet').addEventListener('click', () => downloadGear('_sheet.svg', 'image/svg+xml'));
}
