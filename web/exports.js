// The wasm module's functions, every one the scripts call, in one list: their
// names in web/wasm/ (WEB_EXPORT), what each returns and takes. The scripts
// call them only through `call` here, once bindExports has bound them to the
// module at start, and read the numbers the program shares with them only
// through moduleConstant and moduleReal.

// name: [returns, arguments]; 'string' is a C string (converted both ways),
// 'number' an int or a double, null nothing.
export const FUNCTIONS = {
  // the dialogue's texts and checks
  web_text: ['string', ['number']],
  web_check_teeth: ['string', ['string', 'number']],
  web_check_shift: ['string', ['number', 'string', 'number']],
  web_checked_teeth: ['number', []],
  web_checked_shift: ['number', []],
  web_number: ['number', ['string']],
  // the gear, its cutter, mate and module
  web_set_cutter: ['string', ['number', 'number', 'number', 'number', 'number', 'number', 'number', 'number']],
  web_ring_refusal: ['string', []],
  web_helical_pinion_refusal: ['string', []],
  web_take_gear: ['string', ['number', 'number', 'number', 'number', 'number', 'number', 'number', 'number']],
  web_gear_warning: ['string', ['number']],
  web_set_mate: ['string', ['number', 'number', 'number']],
  web_set_module: ['string', ['number']],
  web_set_tolerances: [null, ['number', 'number', 'number', 'number', 'number', 'number', 'number', 'number']],
  web_mate_shift_at_centre_distance: ['number', ['number', 'number', 'number', 'number']],
  // frames
  web_key: ['number', ['number', 'number', 'number']],
  web_open_frame: [null, ['number', 'number', 'number', 'number', 'number']],
  web_shown_scene: ['number', []],
  web_shown_step: ['number', []],
  web_shown_zoom: ['number', []],
  web_last_step: ['number', []],
  web_info_shown: ['number', []],
  web_show_info: [null, ['number']],
  web_set_legend_language: [null, ['number']],
  web_whole_gear_zoom: ['number', []],
  web_frame_record: ['number', []],
  web_trace_mask: ['number', ['number', 'number', 'number']],
  web_trace_colour: ['number', []],
  web_paint_image: ['number', ['number', 'number']],
  web_paint_marks: ['number', []],
  web_set_trace_pixels: [null, ['number']],
  // the downloads and the data
  web_write_data_file: ['string', ['string']],
  web_write_gear: ['string', ['string', 'number']],
  web_write_gear_data: ['string', ['string']],
  web_write_sheet: ['string', ['string', 'number']],
  web_face_width_refusal: ['string', ['number']],
  web_bore_refusal: ['string', ['number']],
  web_write_solid: ['string', ['string', 'number', 'number']],
  web_gear_data_rows: ['string', []],
  // the shared numbers
  web_scene_key: ['number', ['number']],
  web_scene_name: ['string', ['number']],
  web_constant: ['number', ['string']],
  web_real: ['number', ['string']],
};

// Each function of FUNCTIONS under its own name, callable once bindExports has run.
export const call = {};

// Binds call's functions to the wasm module's object (createRackgen's): those
// of numbers straight, those with strings through ccall. Throws when the
// module lacks one (scripts and module from different builds).
export function bindExports(wasm) {
  for (const [name, [returns, types]] of Object.entries(FUNCTIONS)) {
    const bare = wasm[`_${name}`];
    if (typeof bare !== 'function') throw new Error(`the wasm module has no function ${name}`);
    call[name] = returns !== 'string' && !types.includes('string') ? bare
      : (...args) => wasm.ccall(name, returns, types, args);
  }
}

// A whole number the module shares with the page (web_constant), by its name
// in the program's source. Throws when the module does not know it.
export function moduleConstant(name) {
  const value = call.web_constant(name);
  if (value < 0) throw new Error(`the wasm module knows no "${name}"`);
  return value;
}

// A real number the module shares with the page (web_real), by its name in
// the program's source. Throws when the module does not know it.
export function moduleReal(name) {
  const value = call.web_real(name);
  if (Number.isNaN(value)) throw new Error(`the wasm module knows no "${name}"`);
  return value;
}
