// The canvas painter: paints the frame record the program has just recorded
// (frame_record in the wasm memory) on a 2D canvas as the window shows it:
// white ground, hard-edged lines and discs in the record's colours and pixel
// widths, the legend in an 18 px Helvetica-metric font; on a canvas with more
// pixels than the frame was recorded at (a screen's pixel ratio) the widths
// and the font grow by the ratio. Lines and polygons are set pixel by pixel
// into an image (a canvas path with its smoothed edges costs twenty times more
// per segment), of which only the tiles set by this frame or the last are
// put on the canvas; the text is drawn by the canvas in the record's painting order.
// The trace racks, drawn last over everything in one colour, come as a
// one-bit mask the wasm module sets with the same pixels (web_trace_mask),
// a few bits a step where this file would store a pixel at a time.
// Keeps the canvas's image (in the module's memory where it fits there) and
// the record last painted between frames.
import {call, moduleConstant} from './exports.js';

// Helvetica 18 as the window's bitmap font; Nimbus Sans has its metrics.
const LEGEND_SIZE = 18;  // pixels of the recorded frame
const LEGEND_FACES = '"Nimbus Sans", Helvetica, Arial, sans-serif';

// What the painter reads of the frame record, under the names of record/record.hpp.
const RECORD_NAMES = {
  textCapacity: 'RECORD_TEXT_CAPACITY', itemCount: 'FrameRecord.item_count', vertexCount: 'FrameRecord.vertex_count',
  overflowed: 'FrameRecord.overflowed', items: 'FrameRecord.items', vertices: 'FrameRecord.vertices',
  text: 'FrameRecord.text',
  itemSize: 'sizeof RecordItem', kind: 'RecordItem.kind', colour: 'RecordItem.colour', width: 'RecordItem.width',
  firstVertex: 'RecordItem.first_vertex', itemVertices: 'RecordItem.vertex_count',
  textOffset: 'RecordItem.text_offset', layer: 'RecordItem.layer',
  vertexSize: 'sizeof RecordVertex',
  kindLines: 'ItemKind::LINES', kindLineLoop: 'ItemKind::LINE_LOOP', kindPolygon: 'ItemKind::POLYGON',
  kindText: 'ItemKind::TEXT',
  layerPlain: 'ITEM_LAYER_PLAIN', layerTrace: 'ITEM_LAYER_TRACE', layerPanel: 'ITEM_LAYER_PANEL',
};

// The record's address, and its byte offsets, sizes, item kinds and layers as
// this module was built with them. Throws when one is unknown to the module.
export function readRecordLayout() {
  const layout = {record: call.web_frame_record()};
  for (const [key, name] of Object.entries(RECORD_NAMES)) layout[key] = moduleConstant(name);
  // The module marks the tiles it sets pixels of (web_set_trace_pixels) as this file cuts them.
  if (moduleConstant('PAINT_TILE_SHIFT') !== TILE_SHIFT) throw new Error('the image\'s tiles differ');
  return layout;
}

// ---- the pixel image of lines and polygons -----------------------------------------

// The frame's pixels, white where nothing is set, in an image kept from frame
// to frame with the canvas it was put on, cut in TILE × TILE tiles, each
// marked where the frame set a pixel of it. A frame clears only the tiles the
// last one marked, and puts on the canvas only those and its own: no white
// fill of the whole canvas, and an empty part of the picture costs nothing.
// The legend is drawn by the canvas, each line in its box: the image keeps a
// copy of the box as it was when the line came (the pixels under it) and the
// box is emptied (transparent) in the image, so that what is set later is put
// over the text and the rest shows it.
const TILE_SHIFT = 6;
const TILE = 1 << TILE_SHIFT;
const WHITE = 0xffffffff;
const raster = {
  width: 0, height: 0, tilesX: 0, tilesY: 0, ctx: null, whole: true,
  image: null, pixels: null, inModule: false,  // inModule: the image lies in the module's memory (web_paint_image)
  marks: null, lastMarks: null,  // this frame's marked tiles and the last one's
  texts: [],  // this frame's legend lines: {text, x, y, font, box: {left, right, top, bottom}, under: ImageData}
  unders: [],  // the images of the pixels under the legend's lines, line by line, kept for the next frames
  layer: null, layerCtx: null,  // a canvas for the pixels put over a legend line with their holes
};

// The canvas ctx may hold anything: its next frame is put whole.
// (view.js after it resizes the canvas, which empties it.)
export function forgetCanvas() {
  raster.whole = true;
}

// A clear image for a frame on ctx, width × height pixels: true when the frame must be put whole.
function prepareRaster(wasm, ctx, width, height) {
  if (raster.width !== width || raster.height !== height) {
    raster.width = width;
    raster.height = height;
    raster.tilesX = Math.ceil(width / TILE);
    raster.tilesY = Math.ceil(height / TILE);
    const tiles = raster.tilesX * raster.tilesY;
    const address = call.web_paint_image(width, height);
    raster.inModule = address !== 0;
    if (raster.inModule) {
      const heap = wasm.HEAPU8.buffer;
      raster.image = new ImageData(new Uint8ClampedArray(heap, address, 4 * width * height), width, height);
      raster.marks = new Uint8Array(heap, call.web_paint_marks(), tiles);
    } else {
      raster.image = new ImageData(width, height);
      raster.marks = new Uint8Array(tiles);
    }
    raster.pixels = new Uint32Array(raster.image.data.buffer, raster.image.data.byteOffset, width * height);
    raster.pixels.fill(WHITE);
    raster.marks.fill(0);
    raster.lastMarks = new Uint8Array(tiles);
    raster.whole = true;
  }
  const {pixels, marks, lastMarks, tilesX, tilesY} = raster;
  lastMarks.set(marks);
  // Every pixel a frame set is in a tile it marked, even one left by an
  // exception; the tiles are cleared a run of marked ones side by side at a time.
  for (let ty = 0; ty < tilesY; ++ty) {
    const top = ty * TILE;
    const bottom = Math.min(height, top + TILE);
    const row = ty * tilesX;
    for (let tx = 0; tx < tilesX;) {
      if (marks[row + tx] === 0) {
        ++tx;
        continue;
      }
      let end = tx;
      while (end < tilesX && marks[row + end] !== 0) marks[row + end++] = 0;
      const left = tx * TILE;
      const right = Math.min(width, end * TILE);
      for (let r = top; r < bottom; ++r) pixels.fill(WHITE, r * width + left, r * width + right);
      tx = end;
    }
  }
  raster.texts.length = 0;
  const whole = raster.whole || raster.ctx !== ctx;
  raster.ctx = ctx;
  raster.whole = true;  // until the frame is put: one left by an exception leaves the canvas unknown
  return whole;
}

// Columns x0 … x1 - 1 and rows y0 … y1 - 1 (within the image, not empty) are set.
function markSet(x0, x1, y0, y1) {
  const {marks, tilesX} = raster;
  const first = x0 >> TILE_SHIFT;
  const last = (x1 - 1) >> TILE_SHIFT;
  for (let ty = y0 >> TILE_SHIFT; ty <= (y1 - 1) >> TILE_SHIFT; ++ty)
    for (let t = ty * tilesX + first; t <= ty * tilesX + last; ++t) marks[t] = 1;
}

// The legend's lines as the font measures them, by font and text: the same
// few lines come frame after frame, and measuring one costs a frame a millisecond.
const measures = new Map();
// A face loaded since changes the legend's pixels and measures: the next frame is drawn whole.
globalThis.document?.fonts?.addEventListener('loadingdone', () => {
  measures.clear();
  raster.whole = true;
});

function measured(ctx, text, font) {
  const key = `${font}\n${text}`;
  let m = measures.get(key);
  if (m === undefined) {
    if (measures.size >= 64) measures.clear();
    ctx.font = font;
    m = ctx.measureText(text);
    measures.set(key, m);
  }
  return m;
}

// A legend line at (x, y) in `font`: its box (as the font measures the text,
// a few pixels more on every side, within the canvas) keeps the pixels set so
// far, and is emptied for what comes over the text.
function setText(ctx, text, x, y, font) {
  const m = measured(ctx, text, font);
  const margin = 2 + Math.ceil(raster.width / 1000);
  const box = {
    left: Math.max(0, Math.floor(x - m.actualBoundingBoxLeft) - margin),
    right: Math.min(raster.width, Math.ceil(x + m.actualBoundingBoxRight) + margin),
    top: Math.max(0, Math.floor(y - m.actualBoundingBoxAscent) - margin),
    bottom: Math.min(raster.height, Math.ceil(y + m.actualBoundingBoxDescent) + margin),
  };
  const w = box.right - box.left;
  const h = box.bottom - box.top;
  if (w <= 0 || h <= 0) return;  // wholly beside the canvas
  // The images of the last frame's lines are taken again (making one costs as much as measuring).
  const n = raster.texts.length;
  let under = raster.unders[n];
  if (under === undefined || under.width !== w || under.height !== h) under = raster.unders[n] = new ImageData(w, h);
  const kept = new Uint32Array(under.data.buffer);
  const {pixels, width} = raster;
  for (let r = 0; r < h; ++r) {
    const from = (box.top + r) * width + box.left;
    kept.set(pixels.subarray(from, from + w), r * w);
    pixels.fill(0, from, from + w);
  }
  markSet(box.left, box.right, box.top, box.bottom);
  raster.texts.push({text, x, y, font, box, under});
}

// Draws the pixels of image over ctx at (left, top), those with alpha 0 leaving the canvas as it is.
function drawOver(ctx, image, sx, sy, left, top, w, h) {
  const {layer} = raster;
  if (layer === null || layer.width < w || layer.height < h) {
    raster.layer = document.createElement('canvas');
    raster.layer.width = Math.max(w, layer?.width ?? 0);
    raster.layer.height = Math.max(h, layer?.height ?? 0);
    raster.layerCtx = raster.layer.getContext('2d');
  }
  raster.layerCtx.putImageData(image, -sx, -sy, sx, sy, w, h);
  ctx.drawImage(raster.layer, 0, 0, w, h, left, top, w, h);
}

// Puts the frame on the canvas: the tiles it or the last frame marked (or all
// of them), then each legend line in its order over the pixels under it, and
// over the legend what was set after it.
function flushRaster(ctx, whole) {
  const {width, height, tilesX, tilesY, marks, lastMarks, texts, image} = raster;
  for (let ty = 0; ty < tilesY; ++ty) {
    const top = ty * TILE;
    const h = Math.min(height, top + TILE) - top;
    let from = -1;  // the first tile of a run of tiles to put, side by side
    for (let tx = 0; tx <= tilesX; ++tx) {
      const t = ty * tilesX + tx;
      const put = tx < tilesX && (whole || marks[t] !== 0 || lastMarks[t] !== 0);
      if (put && from < 0) from = tx;
      if (put || from < 0) continue;
      const left = from * TILE;
      ctx.putImageData(image, 0, 0, left, top, Math.min(width, tx * TILE) - left, h);
      from = -1;
    }
  }
  // Every legend box is in tiles marked and put: the lines are drawn again.
  texts.forEach(({text, x, y, font, box, under}, n) => {
    const w = box.right - box.left;
    const h = box.bottom - box.top;
    if (n === 0) ctx.putImageData(under, box.left, box.top);
    else drawOver(ctx, under, 0, 0, box.left, box.top, w, h);
    ctx.save();
    ctx.beginPath();
    ctx.rect(box.left, box.top, w, h);
    ctx.clip();
    ctx.font = font;
    ctx.textBaseline = 'alphabetic';
    ctx.fillStyle = '#000';  // the window's legend is black
    ctx.fillText(text, x, y);
    ctx.restore();
  });
  for (const {box} of texts)
    drawOver(ctx, image, box.left, box.top, box.left, box.top, box.right - box.left, box.bottom - box.top);
  raster.whole = false;
}

// A segment between pixel positions (x0, y0) and (x1, y1), `width` pixels thick
// across its major axis, as GL draws a line without smoothing: along the major
// axis every pixel whose centre lies in [start, end), across it the `width`
// pixels nearest the line.
function setSegment(x0, y0, x1, y1, width, colour) {
  const dx = x1 - x0;
  const dy = y1 - y0;
  const adx = Math.abs(dx);
  const ady = Math.abs(dy);
  if (!(adx + ady > 0)) return;  // a point, or not a number
  // Along the major axis u and across it v, from the end with the smaller u.
  if (adx >= ady) {
    if (dx >= 0) setRun(x0, y0, x1, y1, width, colour, true);
    else setRun(x1, y1, x0, y0, width, colour, true);
  } else if (dy >= 0) {
    setRun(y0, x0, y1, x1, width, colour, false);
  } else {
    setRun(y1, x1, y0, x0, width, colour, false);
  }
}

// The pixels of one segment from (u0, v0) to (u1, v1), u0 < u1, u along x when
// alongX, else along y. The line's v at a pixel centre u + 0.5 is always
// worked out from the start, as v0 + (u + 0.5 - u0) · slope, never by adding
// the slope up: the same pixels whichever way round the segment is given.
function setRun(u0, v0, u1, v1, width, colour, alongX) {
  const {pixels} = raster;
  const w = raster.width;
  const uSize = alongX ? w : raster.height;
  const vSize = alongX ? raster.height : w;
  const uStride = alongX ? 1 : w;
  const vStride = alongX ? w : 1;
  const slope = (v1 - v0) / (u1 - u0);
  const half = width / 2 - 0.5;
  const first = Math.max(0, Math.ceil(u0 - 0.5));
  const last = Math.min(uSize - 1, Math.ceil(u1 - 0.5) - 1);
  if (first > last) return;
  // The lowest v at the two ends; in between it goes monotonically from one to the other.
  const lowFirst = Math.floor(v0 + (first + 0.5 - u0) * slope - half);
  const lowLast = Math.floor(v0 + (last + 0.5 - u0) * slope - half);
  const vLow = Math.max(0, Math.min(lowFirst, lowLast));
  const vHigh = Math.min(vSize - 1, Math.max(lowFirst, lowLast) + width - 1);
  if (vLow > vHigh) return;  // wholly beside the image
  if (alongX) markSet(first, last + 1, vLow, vHigh + 1);
  else markSet(vLow, vHigh + 1, first, last + 1);
  if (vLow === Math.min(lowFirst, lowLast) && vHigh === Math.max(lowFirst, lowLast) + width - 1) {
    setAcross(first, last, u0, v0, slope, half, width, colour, uStride, vStride);
    return;
  }
  // Cut by a side of the image: the run is set whole where all `width` pixels
  // across are inside, and pixel by pixel on either side of that.
  let inFirst = first;
  let inLast = last;
  if (lowLast >= lowFirst) {
    inFirst = firstPast(first, last, u0, v0, slope, half, 0, true);
    inLast = firstPast(first, last, u0, v0, slope, half, vSize - width + 1, true) - 1;
  } else {
    inFirst = firstPast(first, last, u0, v0, slope, half, vSize - width, false);
    inLast = firstPast(first, last, u0, v0, slope, half, -1, false) - 1;
  }
  if (inFirst > inLast) {
    inFirst = last + 1;
    inLast = last;
  }
  setAcross(inFirst, inLast, u0, v0, slope, half, width, colour, uStride, vStride);
  for (let u = first; u <= last; ++u) {
    if (u === inFirst) u = inLast + 1;
    if (u > last) break;
    const low = Math.floor(v0 + (u + 0.5 - u0) * slope - half);
    const to = Math.min(vSize - 1, low + width - 1);
    for (let v = Math.max(0, low); v <= to; ++v) pixels[u * uStride + v * vStride] = colour;
  }
}

// The first u of first … last + 1 from which on the lowest v of a run is at
// least `bound` (rising), or at most (falling); by halving, as it is monotonic.
function firstPast(first, last, u0, v0, slope, half, bound, rising) {
  let from = first;
  let to = last + 1;
  while (from < to) {
    const mid = (from + to) >> 1;
    const low = Math.floor(v0 + (mid + 0.5 - u0) * slope - half);
    if (rising ? low >= bound : low <= bound) to = mid;
    else from = mid + 1;
  }
  return from;
}

// Pixels first … last of a run whose `width` pixels across are all inside the
// image: never below 0, so truncating is flooring.
function setAcross(first, last, u0, v0, slope, half, width, colour, uStride, vStride) {
  const {pixels} = raster;
  let line = first * uStride;
  if (width === 2) {  // the record's usual width: its two pixels without a loop
    for (let u = first; u <= last; ++u, line += uStride) {
      const at = line + ((v0 + (u + 0.5 - u0) * slope - half) | 0) * vStride;
      pixels[at] = colour;
      pixels[at + vStride] = colour;
    }
    return;
  }
  for (let u = first; u <= last; ++u, line += uStride) {
    let at = line + ((v0 + (u + 0.5 - u0) * slope - half) | 0) * vStride;
    for (let k = 0; k < width; ++k, at += vStride) pixels[at] = colour;
  }
}

const crossings = [];  // a row's crossings of a polygon's edges, kept for the next

// A filled polygon through xs/ys (pixel positions): every pixel whose centre is inside.
function setPolygon(xs, ys, count, colour) {
  const {pixels, width: w, height: h} = raster;
  let top = Infinity;
  let bottom = -Infinity;
  let left = Infinity;
  let right = -Infinity;
  for (let k = 0; k < count; ++k) {
    top = Math.min(top, ys[k]);
    bottom = Math.max(bottom, ys[k]);
    left = Math.min(left, xs[k]);
    right = Math.max(right, xs[k]);
  }
  const firstRow = Math.max(0, Math.ceil(top - 0.5));
  const lastRow = Math.min(h - 1, Math.ceil(bottom - 0.5) - 1);
  if (firstRow > lastRow) return;
  // Every crossing lies between left and right, give or take its rounding.
  markSet(Math.max(0, Math.floor(left) - 1), Math.min(w, Math.ceil(right) + 1), firstRow, lastRow + 1);
  for (let r = firstRow; r <= lastRow; ++r) {
    const y = r + 0.5;
    crossings.length = 0;
    for (let k = 0, j = count - 1; k < count; j = k++) {
      if ((ys[k] <= y) !== (ys[j] <= y)) crossings.push(xs[k] + ((y - ys[k]) * (xs[j] - xs[k])) / (ys[j] - ys[k]));
    }
    crossings.sort((a, b) => a - b);
    for (let n = 0; n + 1 < crossings.length; n += 2) {
      const from = Math.max(0, Math.ceil(crossings[n] - 0.5));
      const to = Math.min(w - 1, Math.ceil(crossings[n + 1] - 0.5) - 1);
      for (let c = from; c <= to; ++c) pixels[r * w + c] = colour;
    }
  }
}

// ---- the trace racks ---------------------------------------------------------------------

// Sets the record's trace items in the image in one colour from the module's
// one-bit mask of them (web_trace_mask in web/wasm/: the same pixels as
// setSegment sets, a few bits a step instead of a store a pixel); the module
// sets them itself where the image lies in its memory (web_set_trace_pixels).
// False, and nothing set, when the module has no mask for them: the painter
// sets them itself.
function setTraceMask(i32, width, height, ratio, colour) {
  const address = call.web_trace_mask(width, height, ratio);
  if (address === 0) return false;
  if (raster.inModule) {
    call.web_set_trace_pixels(colour);
    return true;
  }
  const {pixels, marks, tilesX} = raster;
  const words = ((width + 63) >> 6) * 2;  // 32-bit words a row; bit k of word j is pixel 32j + k
  for (let row = 0, at = address >> 2; row < height; ++row, at += words) {
    const line = row * width;
    const tiles = (row >> TILE_SHIFT) * tilesX;  // word j is in tile tiles + (32j >> TILE_SHIFT)
    for (let j = 0; j < words; ++j) {
      let bits = i32[at + j];
      if (bits === 0) continue;
      marks[tiles + ((32 * j) >> TILE_SHIFT)] = 1;
      const from = line + 32 * j;
      if (bits === -1) {
        pixels.fill(colour, from, from + 32);
        continue;
      }
      do {
        const low = bits & -bits;
        pixels[from + 31 - Math.clz32(low)] = colour;
        bits ^= low;
      } while (bits !== 0);
    }
  }
  return true;
}

// ---- the frame --------------------------------------------------------------------------

// The record last painted, as its words (its head, items, vertices and
// texts), and the canvas it was painted on: a frame recorded alike for the
// same canvas has the same pixels (the module's trace mask too comes out as
// it was), so it is not painted again.
const painted = {words: new Int32Array(0), length: 0, ctx: null, width: 0, height: 0, ratio: 0};

// Was the record painted last on this canvas? Keeps it, when not.
function paintedLast(i32, layout, ctx, width, height, ratio) {
  const base = layout.record >> 2;
  const parts = [
    [base, layout.items >> 2],
    [base + (layout.items >> 2), (i32[base + (layout.itemCount >> 2)] * layout.itemSize) >> 2],
    [base + (layout.vertices >> 2), (i32[base + (layout.vertexCount >> 2)] * layout.vertexSize) >> 2],
    [base + (layout.text >> 2), layout.textCapacity >> 2],
  ];
  const length = parts.reduce((sum, [, count]) => sum + count, 0);
  let same = !raster.whole && painted.ctx === ctx && painted.width === width && painted.height === height &&
    painted.ratio === ratio && painted.length === length;
  for (let p = 0, at = 0; p < parts.length && same; at += parts[p][1], ++p) {
    const [from, count] = parts[p];
    for (let k = 0; k < count; ++k) {
      if (i32[from + k] !== painted.words[at + k]) {
        same = false;
        break;
      }
    }
  }
  if (same) return true;
  if (painted.words.length < length) painted.words = new Int32Array(Math.max(length, 2 * painted.words.length));
  for (let p = 0, at = 0; p < parts.length; at += parts[p][1], ++p)
    painted.words.set(i32.subarray(parts[p][0], parts[p][0] + parts[p][1]), at);
  Object.assign(painted, {length, ctx, width, height, ratio});
  return false;
}

// A frame's vertices in pixels, kept for the next frames.
let xs = new Float64Array(256);
let ys = new Float64Array(256);

// Paints the record on ctx, whose canvas is width × height pixels: the plain
// items in their order, then the trace items over them, then the data panel. View units: x -1 … 1
// left to right, y -1 … 1 bottom to top. The frame was recorded at width /
// ratio × height / ratio pixels (a page drawing at the screen's density has
// ratio canvas pixels to one of its own), so the record's line widths and the
// legend's font grow by ratio; at ratio 1 the canvas is the window pixel for pixel.
export function paintRecord(wasm, layout, ctx, width, height, ratio = 1) {
  const heap = wasm.HEAPU8.buffer;
  const i32 = new Int32Array(heap);
  const f32 = new Float32Array(heap);
  const f64 = new Float64Array(heap);
  const base = layout.record;
  const sx = width / 2;
  const sy = height / 2;
  const step = layout.vertexSize >> 3;
  const font = `${LEGEND_SIZE * ratio}px ${LEGEND_FACES}`;

  if (paintedLast(i32, layout, ctx, width, height, ratio))
    return {items: i32[(base + layout.itemCount) >> 2], overflowed: wasm.HEAPU8[base + layout.overflowed] !== 0};
  const whole = prepareRaster(wasm, ctx, width, height);

  // Item n of the record: its layer and colour, and a painter of it.
  const itemAt = (n) => {
    const item = base + layout.items + n * layout.itemSize;
    const at = (item + layout.colour) >> 2;
    const r = Math.round(255 * f32[at]);
    const g = Math.round(255 * f32[at + 1]);
    const b = Math.round(255 * f32[at + 2]);
    return {item, layer: i32[(item + layout.layer) >> 2], colour: (0xff000000 | (b << 16) | (g << 8) | r) >>> 0};
  };
  const paintItem = ({item, colour}) => {
    const kind = i32[(item + layout.kind) >> 2];
    const first = i32[(item + layout.firstVertex) >> 2];
    const vertices = i32[(item + layout.itemVertices) >> 2];
    const v0 = (base + layout.vertices + first * layout.vertexSize) >> 3;
    if (kind === layout.kindText) {
      const text = wasm.UTF8ToString(base + layout.text + i32[(item + layout.textOffset) >> 2]);
      setText(ctx, text, (f64[v0] + 1) * sx, (1 - f64[v0 + 1]) * sy, font);
      return;
    }
    if (vertices > xs.length) {
      xs = new Float64Array(vertices);
      ys = new Float64Array(vertices);
    }
    for (let k = 0; k < vertices; ++k) {
      xs[k] = (f64[v0 + k * step] + 1) * sx;
      ys[k] = (1 - f64[v0 + k * step + 1]) * sy;
    }
    const lineWidth = Math.max(1, Math.round(f32[(item + layout.width) >> 2] * ratio));
    if (kind === layout.kindLines) {
      for (let k = 0; k + 1 < vertices; k += 2) setSegment(xs[k], ys[k], xs[k + 1], ys[k + 1], lineWidth, colour);
    } else if (kind === layout.kindLineLoop) {
      for (let k = 0; k < vertices; ++k) {
        const next = k + 1 < vertices ? k + 1 : 0;
        setSegment(xs[k], ys[k], xs[next], ys[next], lineWidth, colour);
      }
    } else if (kind === layout.kindPolygon && vertices >= 3) {
      setPolygon(xs, ys, vertices, colour);
    }
  };

  // The plain items in their order, then the traces (from the module's mask
  // when it can set them, else item by item: a frame whose racks are all in
  // the kept mask has no trace item), then the data panel over everything
  // (read anew: setting the mask may have recorded the frame again).
  const count = i32[(base + layout.itemCount) >> 2];
  let traceColour = -1;  // of the first trace item; -1: none
  for (let n = 0; n < count; ++n) {
    const item = itemAt(n);
    if (item.layer === layout.layerPlain) paintItem(item);
    else if (item.layer === layout.layerTrace && traceColour === -1) traceColour = item.colour;
  }
  if (traceColour === -1) traceColour = (call.web_trace_colour() >>> 0) || -1;
  const masked = traceColour === -1 || setTraceMask(i32, width, height, ratio, traceColour);
  const painted = i32[(base + layout.itemCount) >> 2];
  for (let n = 0; n < painted && !masked; ++n) {
    const item = itemAt(n);
    if (item.layer === layout.layerTrace) paintItem(item);
  }
  for (let n = 0; n < painted; ++n) {
    const item = itemAt(n);
    if (item.layer === layout.layerPanel) paintItem(item);
  }
  flushRaster(ctx, whole);
  return {items: painted, overflowed: wasm.HEAPU8[base + layout.overflowed] !== 0};
}
