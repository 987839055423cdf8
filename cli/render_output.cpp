// --render: one frame of a scene recorded by the same scene code the window
// runs, then painted by the picture painter. No state of its own: it sets the
// scene state as the keys would have left it.
#include "cli/options.hpp"

#include "console/console.hpp"

#include "picture/picture.hpp"
#include "record/record.hpp"
#include "scenes/scenes.hpp"

#include <cstdio>

static int write_picture(FILE* file, const void* context) {
    PictureFormat format = *static_cast<const PictureFormat*>(context);
    return write_record_picture(frame_record, format, file);
}

int write_render_output(const Output& out) {
    set_scene_state(out.scene, out.step, out.zoom);
    record_scene_frame(out.width, out.height);
    if (frame_record.overflowed)
        tell("\"%s\": the frame holds more than the record takes; what did not fit is left out", out.file);
    PictureFormat format = out.format == FORMAT_PNG   ? PICTURE_PNG
                           : out.format == FORMAT_PDF ? PICTURE_PDF
                                                      : PICTURE_SVG;
    const int fault = write_file_whole(out.file, write_picture, &format).fault;
    if (fault != 0) return fault;
    // The step the frame shows: a scene clamps a step past its curve's end, a still scene has none.
    const int shown = shown_step();
    char asked[NUMBER_CAPACITY] = "";
    if (shown != out.step) std::snprintf(asked, sizeof asked, " (%d asked)", out.step);
    report("%s: scene %d, step %d%s, zoom %d, %d\u00d7%d", out.file, scene_index(out.scene) + 1, shown, asked,
           out.zoom, out.width, out.height);
    return fault;
}
