// Comparing two pictures of one frame made by different painters (the page's
// antialiased canvas, the desktop's hard pixels): every pixel is sorted into
// one of the program's colours or none, and each colour's pixels in one
// picture must lie within a few pixels of that colour's pixels in the other.

// The program's colours on its white ground.
const COLOURS = {
  red: [255, 0, 0], green: [0, 255, 0], blue: [0, 0, 255],
  yellow: [255, 255, 0], magenta: [255, 0, 255], black: [0, 0, 0],
};
const NAMES = Object.keys(COLOURS);

// Which colour a pixel shows, as a blend of that colour over white (an edge
// pixel of an antialiased line is one); -1 for white or a mixture of colours.
function colourOf(r, g, b) {
  let best = -1;
  let bestResidual = 40;
  NAMES.forEach((name, k) => {
    const c = COLOURS[name];
    const d = [255 - c[0], 255 - c[1], 255 - c[2]];
    const p = [255 - r, 255 - g, 255 - b];
    const dd = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    const a = (p[0] * d[0] + p[1] * d[1] + p[2] * d[2]) / dd;  // share of the colour in the blend
    if (a < 0.4) return;
    const residual = Math.hypot(p[0] - a * d[0], p[1] - a * d[1], p[2] - a * d[2]);
    if (residual < bestResidual) {
      bestResidual = residual;
      best = k;
    }
  });
  return best;
}

function classes(png, width, height) {
  const out = new Int8Array(width * height);
  for (let y = 0; y < height; ++y)
    for (let x = 0; x < width; ++x) {
      const i = (y * png.width + x) * 4;
      out[y * width + x] = colourOf(png.data[i], png.data[i + 1], png.data[i + 2]);
    }
  return out;
}

// Share of the pixels of colour k in a that have no pixel of that colour in b within radius.
function missing(a, b, k, width, height, radius) {
  let count = 0;
  let missed = 0;
  for (let y = 0; y < height; ++y)
    for (let x = 0; x < width; ++x) {
      if (a[y * width + x] !== k) continue;
      ++count;
      let found = false;
      for (let dy = -radius; dy <= radius && !found; ++dy)
        for (let dx = -radius; dx <= radius && !found; ++dx) {
          const u = x + dx;
          const v = y + dy;
          found = u >= 0 && v >= 0 && u < width && v < height && b[v * width + u] === k;
        }
      if (!found) ++missed;
    }
  return {count, missed};
}

// Compares the top-left width × height of two pictures (all both have, unless given). Returns a list of
// complaints (empty when they agree): for each colour with enough pixels, at
// most `share` of its pixels in either picture may lack a match within radius.
export function comparePictures(a, b, {width = Math.min(a.width, b.width), height = Math.min(a.height, b.height),
  radius = 3, share = 0.02} = {}) {
  const ca = classes(a, width, height);
  const cb = classes(b, width, height);
  const complaints = [];
  NAMES.forEach((name, k) => {
    const sides = [
      {label: 'page', ...missing(ca, cb, k, width, height, radius)},
      {label: 'desktop', ...missing(cb, ca, k, width, height, radius)},
    ];
    sides.forEach(({label, count, missed}, n) => {
      if (count >= 30 && missed > share * count)
        complaints.push(`${name}: ${missed} of ${count} ${label} pixels have no ${name} within ${radius} px in the other picture`);
      if (count < 30 && sides[1 - n].count >= 300) complaints.push(`${name}: only in the other picture`);
    });
  });
  return complaints;
}

// Number of pixels that differ between two pictures' top-left width × height.
export function changedPixels(a, b, width = Math.min(a.width, b.width), height = Math.min(a.height, b.height)) {
  let changed = 0;
  for (let y = 0; y < height; ++y)
    for (let x = 0; x < width; ++x) {
      const i = (y * a.width + x) * 4;
      const j = (y * b.width + x) * 4;
      if (a.data[i] !== b.data[j] || a.data[i + 1] !== b.data[j + 1] || a.data[i + 2] !== b.data[j + 2]) ++changed;
    }
  return changed;
}
