// The canvas painter: paints the frame record the program has just recorded
// (frame_record in the wasm memory) on a 2D canvas as the window shows it:
// white ground, hard-edged lines and discs in the record's colours and pixel
// widths, the legend in an 18 px Helvetica-metric font. Lines and polygons are
// set pixel by pixel into an image (a canvas path with its smoothed edges costs
// twenty times more per segment); the text is drawn by the canvas between the
// images, in the record's painting order. Keeps only its scratch image between frames.

// Helvetica 18 as the window's bitmap font; Nimbus Sans has its metrics.
const LEGEND_FONT = '18px "Nimbus Sans", Helvetica, Arial, sans-serif';

// A number the module shares with the page (web_constant in web/main.cpp), by
// its name in the program's source. Throws when the module does not know it.
export function moduleConstant(module, name) {
  const value = module.ccall('web_constant', 'number', ['string'], [name]);
  if (value < 0) throw new Error(`the wasm module knows no "${name}"`);
  return value;
}

// What the painter reads of the frame record, under the names of record/record.hpp.
const RECORD_NAMES = {
  itemCount: 'FrameRecord.item_count', vertexCount: 'FrameRecord.vertex_count',
  overflowed: 'FrameRecord.overflowed', items: 'FrameRecord.items', vertices: 'FrameRecord.vertices',
  text: 'FrameRecord.text',
  itemSize: 'sizeof RecordItem', kind: 'RecordItem.kind', colour: 'RecordItem.colour', width: 'RecordItem.width',
  firstVertex: 'RecordItem.first_vertex', itemVertices: 'RecordItem.vertex_count',
  textOffset: 'RecordItem.text_offset', layer: 'RecordItem.layer',
  vertexSize: 'sizeof RecordVertex',
  kindLines: 'ItemKind::LINES', kindLineLoop: 'ItemKind::LINE_LOOP', kindPolygon: 'ItemKind::POLYGON',
  kindText: 'ItemKind::TEXT',
  layerPlain: 'ITEM_LAYER_PLAIN', layerTrace: 'ITEM_LAYER_TRACE',
};

// The record's address, and its byte offsets, sizes, item kinds and layers as
// this module was built with them. Throws when one is unknown to the module.
export function readRecordLayout(module) {
  const layout = {record: module._web_frame_record()};
  for (const [key, name] of Object.entries(RECORD_NAMES)) layout[key] = moduleConstant(module, name);
  return layout;
}

// ---- the pixel image of lines and polygons -----------------------------------------

// The scratch image lines and polygons are set into, transparent where nothing is.
const raster = {width: 0, height: 0, image: null, pixels: null, layer: null, layerCtx: null, dirty: false};

function prepareRaster(width, height) {
  if (raster.width !== width || raster.height !== height) {
    raster.width = width;
    raster.height = height;
    raster.layer = document.createElement('canvas');
    raster.layer.width = width;
    raster.layer.height = height;
    raster.layerCtx = raster.layer.getContext('2d');
    raster.image = raster.layerCtx.createImageData(width, height);
    raster.pixels = new Uint32Array(raster.image.data.buffer);
  }
  raster.pixels.fill(0);
  raster.dirty = false;
}

// Puts what has been set so far over the canvas and starts a clear image.
function flushRaster(ctx) {
  if (!raster.dirty) return;
  raster.layerCtx.putImageData(raster.image, 0, 0);
  ctx.drawImage(raster.layer, 0, 0);
  raster.pixels.fill(0);
  raster.dirty = false;
}

// A segment between pixel positions (x0, y0) and (x1, y1), `width` pixels thick
// across its major axis, as GL draws a line without smoothing: along the major
// axis every pixel whose centre lies in [start, end), across it the `width`
// pixels nearest the line.
function setSegment(x0, y0, x1, y1, width, colour) {
  const {pixels, width: w, height: h} = raster;
  const dx = x1 - x0;
  const dy = y1 - y0;
  if (!(Math.abs(dx) + Math.abs(dy) > 0)) return;  // a point, or not a number
  // Along the major axis u and across it v; a pixel (u, v) is pixels[u * uStride + v * vStride].
  const alongX = Math.abs(dx) >= Math.abs(dy);
  const [u0, v0, u1, v1] = alongX ? [x0, y0, x1, y1] : [y0, x0, y1, x1];
  if (u1 < u0) return setSegment(x1, y1, x0, y0, width, colour);
  const [uSize, vSize, uStride, vStride] = alongX ? [w, h, 1, w] : [h, w, w, 1];
  const slope = (v1 - v0) / (u1 - u0);
  const half = width / 2 - 0.5;
  const first = Math.max(0, Math.ceil(u0 - 0.5));
  const last = Math.min(uSize - 1, Math.ceil(u1 - 0.5) - 1);
  for (let u = first; u <= last; ++u) {
    const low = Math.floor(v0 + (u + 0.5 - u0) * slope - half);
    const to = Math.min(vSize - 1, low + width - 1);
    for (let v = Math.max(0, low); v <= to; ++v) pixels[u * uStride + v * vStride] = colour;
  }
}

// A filled polygon through xs/ys (pixel positions): every pixel whose centre is inside.
function setPolygon(xs, ys, count, colour) {
  const {pixels, width: w, height: h} = raster;
  let top = Infinity;
  let bottom = -Infinity;
  for (let k = 0; k < count; ++k) {
    top = Math.min(top, ys[k]);
    bottom = Math.max(bottom, ys[k]);
  }
  const firstRow = Math.max(0, Math.ceil(top - 0.5));
  const lastRow = Math.min(h - 1, Math.ceil(bottom - 0.5) - 1);
  const crossings = [];
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

// ---- the frame --------------------------------------------------------------------------

// Paints the record on ctx, whose canvas is width × height pixels: the plain
// items in their order, then the trace items over them. View units: x -1 … 1
// left to right, y -1 … 1 bottom to top.
export function paintRecord(module, layout, ctx, width, height) {
  const heap = module.HEAPU8.buffer;
  const i32 = new Int32Array(heap);
  const f32 = new Float32Array(heap);
  const f64 = new Float64Array(heap);
  const base = layout.record;
  const count = i32[(base + layout.itemCount) >> 2];
  const sx = width / 2;
  const sy = height / 2;
  const step = layout.vertexSize >> 3;
  let xs = new Float64Array(256);
  let ys = new Float64Array(256);

  ctx.fillStyle = '#fff';
  ctx.fillRect(0, 0, width, height);
  prepareRaster(width, height);

  for (let pass = 0; pass < count * 2; ++pass) {
    const n = pass % count;
    const item = base + layout.items + n * layout.itemSize;
    if (i32[(item + layout.layer) >> 2] !== (pass < count ? layout.layerPlain : layout.layerTrace)) continue;
    const kind = i32[(item + layout.kind) >> 2];
    const at = (item + layout.colour) >> 2;
    const r = Math.round(255 * f32[at]);
    const g = Math.round(255 * f32[at + 1]);
    const b = Math.round(255 * f32[at + 2]);
    const first = i32[(item + layout.firstVertex) >> 2];
    const vertices = i32[(item + layout.itemVertices) >> 2];
    const v0 = (base + layout.vertices + first * layout.vertexSize) >> 3;

    if (kind === layout.kindText) {
      flushRaster(ctx);
      ctx.font = LEGEND_FONT;
      ctx.textBaseline = 'alphabetic';
      ctx.fillStyle = '#000';  // the window's legend is black
      const text = module.UTF8ToString(base + layout.text + i32[(item + layout.textOffset) >> 2]);
      ctx.fillText(text, (f64[v0] + 1) * sx, (1 - f64[v0 + 1]) * sy);
      continue;
    }
    if (vertices > xs.length) {
      xs = new Float64Array(vertices);
      ys = new Float64Array(vertices);
    }
    for (let k = 0; k < vertices; ++k) {
      xs[k] = (f64[v0 + k * step] + 1) * sx;
      ys[k] = (1 - f64[v0 + k * step + 1]) * sy;
    }
    const colour = (0xff000000 | (b << 16) | (g << 8) | r) >>> 0;
    const lineWidth = Math.max(1, Math.round(f32[(item + layout.width) >> 2]));
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
    raster.dirty = true;
  }
  flushRaster(ctx);
  return {items: count, overflowed: module.HEAPU8[base + layout.overflowed] !== 0};
}
