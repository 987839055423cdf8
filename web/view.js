// The view and the player: the canvas sized to the screen, the frames the
// module records painted on it, the controls as the frame shown has them,
// play, the step slider, the wheel and fingers, full screen, and the address
// kept as the link to the frame shown, shared from a button.
import {call} from './exports.js';
import {showDataRows} from './form.js';
import {writeLink} from './link.js';
import {forgetCanvas, paintRecord} from './painter.js';
import {$, page, say, texts} from './state.js';

// The shortest side a frame is recorded at, window pixels: a smaller canvas
// shows it scaled down, so the legend's lines (18 px type, 20 px apart in an
// 800-pixel window) keep their room on a phone; a larger one shows it scaled
// up, so the legend and the lines grow on a projected screen.
const FRAME_SIDES = {min: 640, max: 1080};
const ADDRESS_DELAY = 300;  // ms: the address follows the frame at most this often
const WHEEL_NOTCH = 100;    // pixels of wheel travel a zoom press takes
const TAP_SLOP = 10;        // CSS pixels a tap may move and still be one

// ---- the canvas ------------------------------------------------------------------

// The canvas's size: an embedded frame has the window's pixels (or size=),
// pixel for pixel; on the page it takes the largest square (or the shape
// asked for) that fits the room the style sheet gives the view, at the
// device's pixel ratio, and shows a frame of FRAME_SIDES.min to .max pixels a side.
// A changed size redraws the frame shown.
export function fitCanvas() {
  const canvas = $('canvas');
  let width;
  let height;
  let pixels = 1;  // the canvas's pixels per CSS pixel
  if (page.embed) {
    [width, height] = page.shape ?? [page.limits.window, page.limits.window];
  } else {
    const room = $('view').getBoundingClientRect();
    if (room.width === 0) return;  // the stage is hidden
    const aspect = page.shape ? page.shape[0] / page.shape[1] : 1;
    const least = page.limits.sizes.min;
    width = Math.max(least, Math.floor(Math.min(room.width, room.height * aspect)));
    height = Math.max(least, Math.round(width / aspect));
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
  forgetCanvas();  // the painter puts its next frame whole
  if (page.shown) openFrame(page.shown.scene, page.shown.step, page.shown.zoom);
}

// Records one frame with record(width, height) at the canvas's CSS size and paints it.
function showFrame(record) {
  const {width, height, ratio} = page.size;
  call.web_set_legend_language(page.language === 'ja' ? 1 : 0);  // the canvas's font paints Japanese
  if (record(width, height) === 0) return false;
  const canvas = $('canvas');
  const result = paintRecord(page.wasm, page.layout, page.ctx, canvas.width, canvas.height, ratio);
  if (result.overflowed) console.warn('rackgen: the frame did not fit the record; part of it is missing');
  const scene = call.web_shown_scene();
  const sceneChanged = page.shown?.scene !== scene;
  page.shown = {scene, step: call.web_shown_step(), zoom: call.web_shown_zoom(), last: call.web_last_step(),
    info: call.web_info_shown() === 1};
  showControls();
  if (sceneChanged) {
    announce();
    if (page.gear) showDataRows();  // the pair's rows come and go with the mesh scene
  }
  followAddress();
  page.warmed ??= warmUp();
  return true;
}

export function pressKey(key) {
  return showFrame((width, height) => call.web_key(key.charCodeAt(0), width, height));
}

// The frame at any step and zoom of a scene, computed directly as --render does.
export function openFrame(scene, step, zoom) {
  const {step: stepLimit, zoom: zoomLimit} = page.limits;
  const clamp = (value, low, high) => Math.min(high, Math.max(low, value));
  showFrame((width, height) => {
    call.web_open_frame(scene, clamp(step, 0, stepLimit), clamp(zoom, -zoomLimit, zoomLimit), width, height);
    return 1;
  });
}

function zoomTo(zoom) {
  if (page.shown) openFrame(page.shown.scene, page.shown.step, zoom);
}

// The controls as the frame shown has them: the slider at its step, the
// pressed scene, play only where there are steps, the canvas's name.
export function showControls() {
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

// ---- warming up ---------------------------------------------------------------------

// The browser makes fast code of the painter's scripts and of the module only
// after they have run a while: the first frames played took 20 to 40 ms each
// and dropped two or three screen refreshes. So after the first frame the page
// shows the frame shown again, painted whole, WARM_PAINTS times while the
// browser is idle (the same pixels put again, as after a resize); frames shown
// meanwhile warm it as well.
const WARM_PAINTS = 30;
const WARM_WAIT = 50;  // ms between paints where the browser cannot say when it is idle

// Resolves once the warm paints are done.
function warmUp() {
  const idle = window.requestIdleCallback ?? ((next) => setTimeout(next, WARM_WAIT));
  return new Promise((done) => {
    let left = WARM_PAINTS;
    const paintAgain = () => {
      if (left-- <= 0) return done();
      if (page.shown && !page.playing) {
        forgetCanvas();
        openFrame(page.shown.scene, page.shown.step, page.shown.zoom);
      }
      idle(paintAgain);
    };
    idle(paintAgain);
  });
}

// ---- playing ---------------------------------------------------------------------

const player = {due: 0, last: 0};

export function setPlaying(playing, playTo = null) {
  page.playTo = playTo;
  if (page.playing === playing) return;
  page.playing = playing;
  showControls();
  announce(playing ? 'played' : 'paused');
  if (!playing) followAddress();
  if (playing) {
    player.due = 0;
    player.last = performance.now();
    requestAnimationFrame(playTick);
  }
}

// One screen refresh of playing: as many steps as the speed says are due,
// drawn as one frame; playing stops at the scene's last step (or the step
// it was asked to stop at).
function playTick(now) {
  if (!page.playing || !page.shown) return;
  const speed = Number($('speed').value);  // steps a second
  player.due += ((now - player.last) * speed) / 1000;
  player.last = now;
  const steps = Math.floor(player.due);
  if (steps >= 1) {
    player.due -= steps;
    const {scene, step, zoom} = page.shown;
    const last = Math.min(page.shown.last, page.playTo ?? Infinity);
    if (step >= last) return setPlaying(false);
    openFrame(scene, Math.min(last, step + steps), zoom);
    if (page.shown.step <= step) return setPlaying(false);  // the scene's curve is complete
  }
  requestAnimationFrame(playTick);
}

// ---- the address ------------------------------------------------------------------

let addressTimer = 0;

// The query of the link to what is shown now.
function frameQuery() {
  return writeLink({gear: page.gear, frame: page.shown, embed: page.embed, shape: page.shape,
    language: page.language}, {presets: page.presets, defaultModule: page.defaultModule});
}

// The address becomes the link to what is shown, at most every ADDRESS_DELAY
// ms and without a new history entry each time; while playing, once it stops.
// (Changing the address asks the browser's own process to keep it: done every
// ADDRESS_DELAY ms while playing, it dropped a screen refresh now and then on
// a 2-core machine, 0 to 7 in 30 s on a projector's canvas.)
export function followAddress() {
  if (addressTimer || page.playing) return;  // setPlaying follows the frame a play stops at
  addressTimer = setTimeout(() => {
    addressTimer = 0;
    const query = frameQuery();
    if (window.location.search !== query) window.history.replaceState(null, '', query || window.location.pathname);
  }, ADDRESS_DELAY);
}

// ---- the frame's own tools: full screen and the link shared ---------------------------

const NOTE_TIME = 4000;  // ms the note on a copied link stays
let noteTimer = 0;

// The canvas's room alone on the screen, or back; Esc leaves it too (the browser's own key).
function toggleFullscreen() {
  if (document.fullscreenElement) {
    document.exitFullscreen().catch(() => {});
    return;
  }
  $('view').requestFullscreen?.().then(() => $('canvas').focus()).catch(() => {});
}

// The link to the frame shown: through the system's sharing where there is
// one, else copied to the clipboard with a note that says so (or, where the
// page may not write the clipboard, the link in the note to copy by hand).
async function shareLink() {
  const url = new URL(frameQuery() || window.location.pathname, window.location.href).href;
  if (navigator.share) {
    try {
      await navigator.share({title: 'rackgen', url});
      return;
    } catch (error) {
      if (error.name === 'AbortError') return;  // the user closed the sharing
    }
  }
  let copied = false;
  try {
    await navigator.clipboard.writeText(url);
    copied = true;
  } catch {
    copied = false;
  }
  say('share-note', (t) => copied ? t.copied : t.copyThis(url));
  clearTimeout(noteTimer);
  if (copied) noteTimer = setTimeout(() => say('share-note', () => ''), NOTE_TIME);
}

// ---- buttons, slider, wheel and fingers --------------------------------------------------

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

// The controls' buttons (each a key of the window's, taken by takeKey), play,
// whole gear, the slider, full screen and sharing; the wheel and fingers on the canvas; the canvas
// fitted again whenever its room changes.
export function setUpView(takeKey) {
  for (const button of document.querySelectorAll('#controls [data-key]'))
    button.addEventListener('click', () => {
      if (button.dataset.key !== 's') setPlaying(false);
      takeKey(button.dataset.key);
    });
  $('play').addEventListener('click', () => setPlaying(!page.playing));
  $('fullscreen').addEventListener('click', toggleFullscreen);
  document.addEventListener('fullscreenchange', () =>
    $('fullscreen').setAttribute('aria-pressed', String(document.fullscreenElement === $('view'))));
  $('share').addEventListener('click', shareLink);
  $('whole').addEventListener('click', () => zoomTo(call.web_whole_gear_zoom()));
  $('step-slider').addEventListener('input', (event) => {
    setPlaying(false);
    if (page.shown) openFrame(page.shown.scene, Number(event.target.value), page.shown.zoom);
  });
  const canvas = $('canvas');
  canvas.style.touchAction = 'none';
  setUpWheel(canvas);
  setUpFingers(canvas);
  new ResizeObserver(() => fitCanvas()).observe($('view'));
  window.addEventListener('resize', () => fitCanvas());
  // A canvas the browser dropped and gave back is empty: the frame is painted whole again.
  canvas.addEventListener('contextrestored', () => {
    forgetCanvas();
    if (page.shown) openFrame(page.shown.scene, page.shown.step, page.shown.zoom);
  });
}
