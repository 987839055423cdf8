// --render: one frame of a scene recorded by the same scene code the window
// runs, then painted by the picture painter. No state of its own: it sets the
// step counters and the scale factor as the keys would have left them.
#include "cli/options.hpp"

#include "console/console.hpp"

#include "draw/draw.hpp"
#include "geometry/geometry.hpp"
#include "picture/picture.hpp"
#include "record/record.hpp"
#include "scenes/scenes.hpp"

#include <cstdio>

// The state a window shows the frame from: the scene's step counter at step
// (the scene clamps it as it draws) and the scale after the zoom presses, one
// factor at a time as on_key applies them (zoomed_scale).
static void set_frame_state(const Output& out) {
    addendum_step = dedendum_step = undercut_step = tooth_step = out.step;
    scale_factor = zoomed_scale(START_SCALE, out.zoom);
}

static int write_picture(FILE* file, const void* context) {
    PictureFormat format = *static_cast<const PictureFormat*>(context);
    return write_record_picture(frame_record, format, file);
}

int write_render_output(const Output& out) {
    // The window's frames after its first start with the line width the frame
    // before left set, which the first lacks: a light frame (the still scene
    // '6', which moves no counter) is recorded first and dropped.
    record_scene_frame('6', out.width, out.height);
    set_frame_state(out);
    record_scene_frame(out.scene, out.width, out.height);
    if (frame_record.overflowed)
        std::fprintf(
            stderr,
            "rackgen: \"%s\": the frame holds more than the record takes; what did not fit is left out\n",
            out.file);
    PictureFormat format = out.format == FORMAT_PNG   ? PICTURE_PNG
                           : out.format == FORMAT_PDF ? PICTURE_PDF
                                                      : PICTURE_SVG;
    return write_file_whole(out.file, write_picture, &format).fault;
}
