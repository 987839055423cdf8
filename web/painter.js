// The canvas painter: paints the frame record the program has just recorded
// (frame_record in the wasm memory) on a 2D canvas, with the window's white
// ground, colours, line widths and 18 px legend text. Keeps no state between
// frames but the record's layout, read once from the module.
'use strict';

// Item kinds, in the order of ItemKind in record/record.hpp.
const KIND_LINES = 0;
const KIND_LINE_LOOP = 1;
const KIND_POLYGON = 2;
const KIND_TEXT = 3;

// Helvetica 18 as the window's bitmap font; Nimbus Sans has its metrics.
const LEGEND_FONT = '18px "Nimbus Sans", Helvetica, Arial, sans-serif';

function readRecordLayout(module) {
  const out = module._malloc(15 * 4);
  const record = module._web_record_layout(out);
  const o = Array.from(module.HEAP32.subarray(out >> 2, (out >> 2) + 15));
  module._free(out);
  return {
    record,
    itemCount: o[0], vertexCount: o[1], items: o[2], vertices: o[3], text: o[4],
    itemSize: o[5], kind: o[6], colour: o[7], width: o[8], firstVertex: o[9],
    itemVertices: o[10], textOffset: o[11], vertexSize: o[12], overflowed: o[13],
  };
}

function cssColour(f32, at) {
  const c = (k) => Math.round(255 * f32[(at >> 2) + k]);
  return `rgb(${c(0)},${c(1)},${c(2)})`;
}

// Paints the record on ctx, whose canvas is width × height CSS pixels (the
// context may be scaled for a denser screen). View units: x -1 … 1 left to
// right, y -1 … 1 bottom to top.
function paintRecord(module, layout, ctx, width, height) {
  const heap = module.HEAPU8.buffer;
  const i32 = new Int32Array(heap);
  const f32 = new Float32Array(heap);
  const f64 = new Float64Array(heap);
  const base = layout.record;
  const count = i32[(base + layout.itemCount) >> 2];
  const sx = width / 2;
  const sy = height / 2;
  const px = (v) => (f64[v] + 1) * sx;
  const py = (v) => (1 - f64[v + 1]) * sy;

  ctx.fillStyle = '#fff';
  ctx.fillRect(0, 0, width, height);
  ctx.lineCap = 'butt';
  ctx.lineJoin = 'miter';

  // Consecutive items of one kind, colour and width go into one path: one
  // stroke or fill for the canvas instead of one per item.
  let open = null;  // {kind, colour, width} of the path being built
  const flush = () => {
    if (open === null) return;
    if (open.kind === KIND_POLYGON) ctx.fill(); else ctx.stroke();
    open = null;
  };

  for (let n = 0; n < count; ++n) {
    const item = base + layout.items + n * layout.itemSize;
    const kind = i32[(item + layout.kind) >> 2];
    const colour = cssColour(f32, item + layout.colour);
    const lineWidth = f32[(item + layout.width) >> 2];
    const first = i32[(item + layout.firstVertex) >> 2];
    const vertices = i32[(item + layout.itemVertices) >> 2];
    const v0 = (base + layout.vertices + first * layout.vertexSize) >> 3;
    const step = layout.vertexSize >> 3;

    if (kind === KIND_TEXT) {
      flush();
      const at = base + layout.text + i32[(item + layout.textOffset) >> 2];
      ctx.font = LEGEND_FONT;
      ctx.textBaseline = 'alphabetic';
      ctx.fillStyle = colour;
      ctx.fillText(module.UTF8ToString(at), px(v0), py(v0));
      continue;
    }
    if (open === null || open.kind !== kind || open.colour !== colour || open.width !== lineWidth) {
      flush();
      open = {kind, colour, width: lineWidth};
      ctx.beginPath();
      ctx.strokeStyle = colour;
      ctx.fillStyle = colour;
      ctx.lineWidth = lineWidth;
    }
    if (kind === KIND_LINES) {
      for (let k = 0; k + 1 < vertices; k += 2) {
        const a = v0 + k * step;
        const b = a + step;
        ctx.moveTo(px(a), py(a));
        ctx.lineTo(px(b), py(b));
      }
    } else if (vertices > 0) {  // LINE_LOOP and POLYGON: one closed figure
      ctx.moveTo(px(v0), py(v0));
      for (let k = 1; k < vertices; ++k) ctx.lineTo(px(v0 + k * step), py(v0 + k * step));
      ctx.closePath();
    }
  }
  flush();
  return {items: count, overflowed: module.HEAPU8[base + layout.overflowed] !== 0};
}
