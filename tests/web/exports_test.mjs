// The wasm module's functions as web/exports.js lists them against those
// web/wasm/*.cpp export (WEB_EXPORT): the same names, each with as many
// arguments and a string where the C function takes or returns one; and the
// scripts call no function of the module but through that list.
// Usage: node --test exports_test.mjs
import assert from 'node:assert/strict';
import fs from 'node:fs';
import {test} from 'node:test';
import {FUNCTIONS} from '../../web/exports.js';

const root = new URL('../../', import.meta.url);
const source = (file) => fs.readFileSync(new URL(file, root), 'utf8');

// {name: [returns, arguments]} of every WEB_EXPORT function, in exports.js's terms.
function exported() {
  const functions = {};
  const type = (c) => (/\bchar\s*\*/.test(c) ? 'string' : c.trim() === 'void' ? null : 'number');
  const files = fs.readdirSync(new URL('web/wasm/', root)).filter((file) => file.endsWith('.cpp'));
  const text = files.map((file) => source(`web/wasm/${file}`)).join('\n');
  for (const [, returns, name, list] of text
    .matchAll(/^WEB_EXPORT\s+(.+?)\s*\b(web_\w+)\(([^)]*)\)/gms)) {
    const parts = list.trim() === '' || list.trim() === 'void' ? [] : list.split(',');
    functions[name] = [type(returns), parts.map((part) => type(part.replace(/\w+\s*$/, '')))];
  }
  return functions;
}

test('exports.js lists every function web/wasm/ exports, as it is declared', () => {
  const functions = exported();
  assert.ok(Object.keys(functions).length > 20);
  assert.deepEqual(FUNCTIONS, functions);
});

test('the scripts reach the module\'s functions only through the list', () => {
  const scripts = fs.readdirSync(new URL('web/', root)).filter((file) => file.endsWith('.js'))
    .map((file) => `web/${file}`);
  for (const file of [...scripts, 'bench/web/frame_bench.mjs']) {
    const text = source(file);
    if (file !== 'web/exports.js') assert.doesNotMatch(text, /\b_web_\w+|ccall\(/, file);
    for (const [, name] of text.matchAll(/\bcall\.(\w+)/g)) assert.ok(Object.hasOwn(FUNCTIONS, name), `${file}: ${name}`);
  }
});
