// Frame times of the web page in headless Chromium for the heaviest frames of
// the desktop frame benchmark: each frame recorded by the wasm module, painted
// on a canvas of the benchmark's own in the page and rasterised (one pixel read
// back forces it), as tables: the window's 800 × 800 pixels, then the heaviest
// cases on a desktop's, a phone's and a projector's canvas as the page sizes
// them (a phone's frame recorded at 640 × 640 window pixels and painted on its
// canvas's pixels, 1098 / 640 canvas pixels to one); last, playing on the
// page's own canvas on three screens, with the frames a screen refresh drew
// and dropped and the page's work in each, beside a control on each screen
// that draws no frame (what the browser and the machine drop on their own).
// Usage: node bench/web/frame_bench.mjs <built page dir> [words: only the cases naming one]
import path from 'node:path';
import {Browser, missingTools, serve} from '../../tests/web/browser.mjs';

const FRAMES = 20;  // timed frames per case, after two untimed ones

// [name, z, x, scene, step, zoom]; zoom as in a link (w presses; negative: W presses).
const CASES = [
  ['scene 1 z=20', 20, 0.5, 1, 0, 0],
  ['scene 4 z=20 step 300', 20, 0.5, 4, 300, 0],
  ['scene 4 z=20 step 3000', 20, 0.5, 4, 3000, 0],
  ['scene 5 z=20 step 3000', 20, 0.5, 5, 3000, 0],
  ['scene 4 z=20 step 10000', 20, 0.5, 4, 10000, 0],
  ['scene 5 z=20 step 10000', 20, 0.5, 5, 10000, 0],
  ['scene 4 z=8 step 1000 w×9 (whole gear)', 8, 0.5, 4, 1000, 9],
  ['scene 1 z=1000', 1000, 0.5, 1, 0, 0],
  ['scene 7 z=1000', 1000, 0.5, 7, 0, 0],
  ['scene 1 z=20 W×40', 20, 0.5, 1, 0, -40],
  ['scene 6 z=20 W×40', 20, 0.5, 6, 0, -40],
  ['scene 7 z=20 w×30', 20, 0.5, 7, 0, 30],
];
// [name, recorded pixels a side, canvas pixels a side, CSS pixels a side]
const WINDOW = ['800×800', 800, 800, 800];

// The heaviest cases again on the canvases a page sized to its screen has.
const HEAVY = [
  'scene 4 z=20 step 10000', 'scene 5 z=20 step 10000', 'scene 4 z=8 step 1000 w×9 (whole gear)', 'scene 7 z=20 w×30',
];
const SCREENS = [
  ['desktop 1000×1000 ×1', 1000, 1000, 1000],
  ['phone 366×366 ×3', 640, 1098, 366],
  ['4K projector 2070×2070 ×1', 1080, 2070, 2070],
];

// Runs in the page, through its modules: the case's frame again and again on
// a canvas of its own, as playing or 's' draws it: each timed frame follows
// the frame of the step before (the cost of one more step, the trace racks
// added to the kept mask), and that one follows the timed frame (a step back:
// the frame built afresh, timed as "afresh"). The page's own canvas is left alone.
const MEASURE = `async (z, x, scene, step, zoom, recorded, backing, css, frames) => {
  const {page} = await import('./page.js');
  const {paintRecord} = await import('./painter.js');
  const {call} = await import('./exports.js');
  const m = page.wasm;
  const ratio = backing / recorded;
  const canvas = document.createElement('canvas');
  canvas.width = canvas.height = backing;
  canvas.style.width = canvas.style.height = css + 'px';
  document.body.append(canvas);
  const ctx = canvas.getContext('2d', {alpha: false});
  call.web_take_gear(z, x, 1, 0, 0, 0, 0, 0);
  const times = [];
  const before = Math.max(0, step - 1);
  for (let k = 0; k < frames + 2; ++k) {
    const t = performance.now();
    call.web_open_frame(scene, before, zoom, recorded, recorded);
    paintRecord(m, page.layout, ctx, backing, backing, ratio);
    ctx.getImageData(0, 0, 1, 1);
    const t0 = performance.now();
    call.web_open_frame(scene, step, zoom, recorded, recorded);
    const t1 = performance.now();
    paintRecord(m, page.layout, ctx, backing, backing, ratio);
    ctx.getImageData(0, 0, 1, 1);
    const t2 = performance.now();
    if (k >= 2) times.push([t1 - t0, t2 - t1, m.HEAP32[(page.layout.record + page.layout.vertexCount) >> 2], t0 - t]);
  }
  canvas.remove();
  return times;
}`;

// Playing as the page plays: its Play button at 1× (60 steps a second) or 5×
// for PLAY_SECONDS (or until the play reaches the scene's last step) from a
// link's frame, on the page's own canvas on the default desktop screen, a
// phone's (390 × 844 CSS pixels at 3 device pixels to one) and a 4K
// projector's (3840 × 2160). Counts the screen refreshes, the
// steps drawn, the gaps between refreshes longer than a 60 Hz frame and a half
// (a frame dropped), and times the player's work in each refresh (recording
// and painting a frame: from a callback of the benchmark's queued before the
// player's to one queued after it), its median and the refreshes in which it
// took over two 60 Hz frames. A lesson plays for minutes: 30 s a case, or
// RACKGEN_PLAY_SECONDS for a quicker run.
const PLAY_SECONDS = Number(process.env.RACKGEN_PLAY_SECONDS ?? 30);
const PLAYS = [
  ['scene 4 z=20 from step 0', 'z=20&x=0.5&scene=4&step=0'],
  ['scene 5 z=20 from step 0', 'z=20&x=0.5&scene=5&step=0'],
  ['scene 8 z=12/24 from step 0', 'z=12&x=0.6&z2=24&x2=0.36&scene=8&step=0&zoom=8'],
  ['scene 4 z=20 from step 9000', 'z=20&x=0.5&scene=4&step=9000'],
  ['scene 5 z=20 from step 9000', 'z=20&x=0.5&scene=5&step=9000'],
];
// [screen, width, height, device pixels a CSS pixel, touch]
const PLAY_SCREENS = [['desktop', 1200, 900, 1, false], ['phone', 390, 844, 3, true],
  ['4K projector', 3840, 2160, 1, false]];
const SETTLE_MS = 500;
// The control beside the plays, on each screen: the same page left at a
// frame, whose canvas is put again whole in every refresh (as in a play whose
// every pixel changes), followed by script work up to CONTROL_WORK_MS in all
// (a play's order of work); no frame is recorded or painted. The refreshes it
// drops are the browser's and the machine's: the floor under the plays' gaps.
const CONTROL_WORK_MS = 3;
// A play at speed (steps a second), or with controlMs the control instead.
const PLAY = `async (seconds, speed, controlMs) => {
  const {page} = await import('./page.js');
  // As a user presses Play: not within the page's first moments, while the
  // browser still compiles its code (page.warmed: the page's warm-up paints done).
  await page.warmed;
  await new Promise((settled) => setTimeout(settled, ${SETTLE_MS}));
  document.getElementById('speed').value = String(speed);
  const canvas = document.getElementById('canvas');
  const first = page.shown.step;
  const gaps = [];
  const works = [];
  await new Promise((done) => {
    // Callbacks of a refresh run in the order they were asked for: before, the player's, after.
    let last = 0;
    let end = 0;
    let start = 0;
    // A play that reached its last step (from step 9000 at 5× within 3.3 s) ends the measurement.
    const going = (now) => now < end && (controlMs || page.playing);
    const before = (now) => {
      if (last) gaps.push(now - last);
      last = now;
      if (!end) end = now + seconds * 1000;
      start = performance.now();
      if (going(now)) requestAnimationFrame(before);
    };
    const after = (now) => {
      works.push(performance.now() - start);
      if (going(now)) requestAnimationFrame(after); else done();
    };
    requestAnimationFrame(before);
    if (controlMs) {
      const {ctx} = page;
      const image = ctx.getImageData(0, 0, canvas.width, canvas.height);
      const numbers = new Float64Array(1 << 10);
      const control = (now) => {
        ctx.putImageData(image, 0, 0);
        do {
          for (let i = 0; i < numbers.length; ++i) numbers[i] = numbers[i] * 0.5 + i;
        } while (performance.now() - start < controlMs);
        if (going(now)) requestAnimationFrame(control);
      };
      requestAnimationFrame(control);
    } else {
      document.getElementById('play').click();
    }
    requestAnimationFrame(after);
  });
  if (page.playing) document.getElementById('play').click();
  return {steps: page.shown.step - first, gaps, works, size: canvas.width + '×' + canvas.height};
}`;

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
};

const [pageDir, ...words] = process.argv.slice(2);
const dir = path.resolve(pageDir ?? 'build-web');
const why = missingTools(dir);
if (why !== null) {
  console.error(`the web frame benchmark needs ${why}`);
  process.exit(1);
}
const server = await serve(dir);
const browser = await Browser.launch();

// The targets, and the cases that missed them, for the summary at the end.
const FRAME_TARGET = 16.7;  // ms, a frame's median
const WORST_TARGET = 33;    // ms, any frame's
const GAP_TARGET = 25;      // ms between refreshes while playing
const missed = {medians: [], worst: [], gaps: [], frames: 0, plays: 0, control: []};

// Does a case whose names are these run? Every one when no words were given.
const chosen = (...names) => words.length === 0 || words.some((w) => names.some((name) => name.includes(w)));

async function table(title, cases, [, recorded, backing, css]) {
  console.log(`\n${title}`);
  console.log('case                                 vertices | record med | paint med | frame med | frame worst | afresh med');
  for (const [name, z, x, scene, step, zoom] of cases) {
    if (!chosen(name)) continue;
    const times = await browser.evaluate(`(${MEASURE})(${z}, ${x}, ${scene}, ${step}, ${zoom}, ${recorded}, ${backing}, ${css}, ${FRAMES})`);
    const frame = times.map(([r, p]) => r + p);
    const cells = [median(times.map((t) => t[0])), median(times.map((t) => t[1])), median(frame), Math.max(...frame),
      median(times.map((t) => t[3]))];
    console.log(`${name.padEnd(38)} ${String(times[0][2]).padStart(6)} | ${cells.map((c) => c.toFixed(2).padStart(9)).join(' | ')}`);
    const where = `${name} on ${backing} px`;
    missed.frames += 1;
    if (cells[2] > FRAME_TARGET) missed.medians.push(`${where} (${cells[2].toFixed(1)})`);
    if (cells[3] > WORST_TARGET) missed.worst.push(`${where} (${cells[3].toFixed(1)})`);
  }
}

try {
  await browser.open(`${server.url}index.html?z=20`);
  const version = (await browser.send('Browser.getVersion')).product;
  console.log(`${version}, headless, software raster; ${FRAMES} frames a case, times in ms`);
  await table(`${WINDOW[0]} canvas, pixel ratio 1 (the window's pixels)`, CASES, WINDOW);
  const heavy = CASES.filter(([name]) => HEAVY.includes(name));
  for (const screen of SCREENS) {
    const [name, recorded, backing, css] = screen;
    const painted = recorded === backing ? '' : `, recorded at ${recorded}×${recorded} (×${(backing / recorded).toFixed(3)})`;
    await table(`${name}: ${css}×${css} CSS pixels, ${backing}×${backing} canvas pixels${painted}`, heavy, screen);
  }
  // A row of the plays' table: the refreshes, steps drawn, gaps and the work
  // in each refresh. Answers the gaps over GAP_TARGET.
  const row = (label, {steps, gaps, works, size}) => {
    const dropped = gaps.filter((gap) => gap > GAP_TARGET).length;
    const cells = [gaps.length, steps, dropped, Math.max(...gaps).toFixed(1),
      median(works).toFixed(1), works.filter((work) => work > WORST_TARGET).length, Math.max(...works).toFixed(1)];
    console.log(`${label.padEnd(46)} ${size.padEnd(9)} | ${cells.map((c, k) => String(c).padStart([9, 5, 7, 7, 8, 3, 8][k])).join(' | ')}`);
    return dropped;
  };
  const play = async (name, query, speed, screen) => {
    if (!chosen(name, screen)) return;
    await browser.open(`${server.url}index.html?${query}`);
    const label = `${name}, ${screen} ${speed / 60}×`;
    const dropped = row(label, await browser.evaluate(`(${PLAY})(${PLAY_SECONDS}, ${speed}, 0)`));
    missed.plays += 1;
    if (dropped > 0) missed.gaps.push(`${label} (${dropped})`);
  };
  const control = async (screen) => {
    if (!chosen('control', screen)) return;
    await browser.open(`${server.url}index.html?${PLAYS[0][1]}`);
    const label = `control: canvas put, ${CONTROL_WORK_MS} ms, ${screen}`;
    const dropped = row(label, await browser.evaluate(`(${PLAY})(${PLAY_SECONDS}, 60, ${CONTROL_WORK_MS})`));
    missed.control.push(`${screen} ${dropped}`);
  };
  console.log(`\nplaying for ${PLAY_SECONDS} s on the page's canvas, headless Chromium's refreshes (canvas in device pixels);`);
  console.log('work: the player\'s in a refresh; times in ms');
  console.log(`${'case'.padEnd(46)} ${'canvas'.padEnd(9)} | refreshes | steps | gaps>25 | longest | work med | >33 | work max`);
  for (const [screen, width, height, ratio, touch] of PLAY_SCREENS) {
    await browser.viewport(width, height, ratio, touch);
    await control(screen);
    for (const speed of [60, 300])
      for (const [name, query] of PLAYS) await play(name, query, speed, screen);
  }
  const list = (cases) => (cases.length === 0 ? '' : `: ${cases.join('; ')}`);
  console.log(`\ntargets: frame medians within ${FRAME_TARGET} ms in ${missed.frames - missed.medians.length} of ` +
    `${missed.frames} cases${list(missed.medians)}`);
  console.log(`worst frames within ${WORST_TARGET} ms in ${missed.frames - missed.worst.length} of ${missed.frames} ` +
    `cases${list(missed.worst)}`);
  console.log(`plays without a gap over ${GAP_TARGET} ms: ${missed.plays - missed.gaps.length} of ${missed.plays}` +
    `${list(missed.gaps)}`);
  if (missed.control.length > 0)
    console.log(`the control's gaps over ${GAP_TARGET} ms in ${PLAY_SECONDS} s, no frame drawn: ${missed.control.join('; ')}`);
} finally {
  await browser.close();
  server.close();
}
