// What every test of the page needs before it runs: the npm packages of
// tests/web and, through browser.mjs, a built page and Chromium. When one is
// missing the test says why and ends with CTest's skip code; else it gets
// browser.mjs's tools. Imports no npm package itself, so it can say so.
import fs from 'node:fs';

const SKIP = 77;  // CTest's skip code

export async function pageTestTools(pageDir) {
  if (!fs.existsSync(new URL('node_modules/ws', import.meta.url))) {
    console.log('SKIPPED: the web page\'s tests need the npm packages of tests/web (npm ci there)');
    process.exit(SKIP);
  }
  const tools = await import('./browser.mjs');
  const why = tools.missingTools(pageDir);
  if (why !== null) {
    console.log(`SKIPPED: the web page's tests need ${why}`);
    process.exit(SKIP);
  }
  return tools;
}
