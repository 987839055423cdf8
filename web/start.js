// The page's one classic script: it loads page.js, an ES module (which loads
// the page's other modules and the wasm module), and starts the page. Browsers run it even
// where they load no module, as in a page opened straight from the disk; then
// it says why the page cannot start, and what to do.
'use strict';

const started = import('./page.js').then((page) => page.start(), (error) => {
  const advice = window.location.protocol === 'file:'
    ? ' (a page opened from the disk cannot load its modules: serve the folder,'
      + ' e.g. python3 -m http.server -d build-web)'
    : '';
  document.getElementById('dialogue').hidden = true;
  const problem = document.getElementById('problem');
  problem.textContent =
    `rackgen could not start in this browser: its scripts page.js and painter.js did not load (${error})${advice}`;
  problem.hidden = false;
});

// Served over http(s), the page hands its files to a service worker once it has
// started, and starts from the worker's cache from then on, also offline.
// Browsers give a worker only to pages from https or the loopback (localhost);
// without one the page works as before, online.
if (/^https?:$/.test(window.location.protocol) && 'serviceWorker' in navigator) {
  started.then(() => navigator.serviceWorker.register('service_worker.js'))
    .catch((error) => console.warn(`rackgen will not work offline: ${error}`));
}
