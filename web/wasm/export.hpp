// What every file of the wasm module shares: the mark that exports a function
// to the page's scripts (each one listed in web/exports.js, which a test holds
// against these files).
#pragma once

#include <emscripten/emscripten.h>

#define WEB_EXPORT extern "C" EMSCRIPTEN_KEEPALIVE
