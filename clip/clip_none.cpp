// Clips in a build without FFmpeg's libraries: every clip is refused with what
// the build lacks. No state.
#include "clip/clip.hpp"

#include <cerrno>

const char* clip_refusal(const ClipRequest&, ClipFormat) {
    return "rackgen was built without FFmpeg's libraries (Debian: libavcodec-dev libavformat-dev "
           "libswscale-dev), so it writes no clips";
}

int write_clip(const ClipRequest&, ClipFormat, FILE*) {
    return ENOSYS;
}
