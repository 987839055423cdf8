// --render: one frame of a scene recorded by the same scene code the window
// runs, then painted by the picture painter; or a clip of the scene playing,
// one such frame a step. No state of its own: it sets the scene state as the
// keys would have left it.
#include "cli/options.hpp"

#include "clip/clip.hpp"
#include "console/console.hpp"

#include "picture/picture.hpp"
#include "record/record.hpp"
#include "scenes/scenes.hpp"

#include <algorithm>
#include <cstdio>

static int write_picture(FILE* file, const void* context) {
    PictureFormat format = *static_cast<const PictureFormat*>(context);
    return write_record_picture(frame_record, format, file);
}

// Steps a clip shows when --steps does not say: two seconds at 30 frames a second.
constexpr int CLIP_STEPS_DEFAULT = 60;

struct ClipFile {
    ClipRequest request;
    ClipFormat format;
};

static int write_clip_file(FILE* file, const void* context) {
    const ClipFile& clip = *static_cast<const ClipFile*>(context);
    return write_clip(clip.request, clip.format, file);
}

static int write_clip_output(const Output& out) {
    const int last = out.last_step >= 0 ? out.last_step : std::min(out.step + CLIP_STEPS_DEFAULT, STEP_LIMIT);
    const ClipFile clip = {{out.scene, out.step, last, out.zoom, out.width, out.height, out.rate},
                           out.format == FORMAT_MP4    ? CLIP_MP4
                           : out.format == FORMAT_WEBM ? CLIP_WEBM
                                                       : CLIP_GIF};
    if (const char* refusal = clip_refusal(clip.request, clip.format)) {
        tell("cannot write \"%s\": %s", out.file, refusal);
        return OUTPUT_REFUSED;
    }
    const int fault = write_file_whole(out.file, write_clip_file, &clip).fault;
    if (fault == 0)
        report("%s: scene %d, steps %d to %d, zoom %d, %d\u00d7%d, %d frames a second", out.file,
               scene_index(out.scene) + 1, out.step, last, out.zoom, out.width, out.height, out.rate);
    return fault;
}

static int write_frame_output(const Output& out);

// The legends in the language the output asks for, English again after it.
int write_render_output(const Output& out) {
    legends_in_japanese = out.japanese;
    const int fault = out.format == FORMAT_MP4 || out.format == FORMAT_WEBM || out.format == FORMAT_GIF
                          ? write_clip_output(out)
                          : write_frame_output(out);
    legends_in_japanese = false;
    return fault;
}

static int write_frame_output(const Output& out) {
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
