// Clips for slides: a scene playing, one frame a step, each frame as --render
// draws it, encoded with FFmpeg's libraries as MP4 (H.264), WebM (VP9) or an
// animated GIF. The folder owns no state.
#pragma once

#include "scenes/scenes.hpp"

#include <cstdio>

enum ClipFormat {
    CLIP_MP4,
    CLIP_WEBM,
    CLIP_GIF,
};

constexpr int CLIP_RATE_MIN = 1;  // frames a second
constexpr int CLIP_RATE_MAX = 60;
constexpr int CLIP_RATE_DEFAULT = 30;

// What a clip shows: steps first … last of the scene (each clamped by the
// scene as a frame of it is), at zoom presses of 'w' (negative: 'W'), frames of
// width × height pixels, rate frames a second.
struct ClipRequest {
    SceneMode scene;
    int first_step;
    int last_step;
    int zoom;
    int width;
    int height;
    int rate;
};

// Why the clip cannot be made here, or nullptr: a build without FFmpeg's
// libraries, an encoder this FFmpeg lacks, or a size the format cannot take.
const char* clip_refusal(const ClipRequest& request, ClipFormat format);

// Records, paints and encodes the clip of the gear shown into file, which must
// be seekable (MP4 writes its index last). Leaves the scene state at the last
// frame. Returns 0, or the errno of a failed write (EIO when the encoder failed).
int write_clip(const ClipRequest& request, ClipFormat format, FILE* file);
