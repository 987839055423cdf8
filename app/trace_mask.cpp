// The window's trace mask (see trace_mask.hpp): its lines set by this thread
// and, for thousands of them, a second one; painted in one glBitmap, which
// reads the image's rows as they lie.
#include "app/trace_mask.hpp"

#include "trace/gl_lines.hpp"
#include "trace/trace_mask.hpp"

#include <GL/gl.h>
#include <pthread.h>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "glBitmap reads the mask's words as bytes, least significant bit first");

// Fewer vertices than this are set by the painting thread alone: a second
// thread's start and the join of the images cost more than it saves.
constexpr int SHARED_MIN_VERTICES = 8192;

// What the second thread sets: the lines from `vertices` on into its mask.
struct SharedLines {
    const RecordVertex* vertices;
    int count;
    float line_width;
};

// ---- Global state ------------------------------------------------------------
// The window's mask: written by begin_window_traces and add_window_traces,
// read by paint_trace_mask. The second thread's mask: written by that thread
// alone between its start and its join in add_window_traces, then read there.
static TraceMask window_mask;
static TraceMask second_mask;

bool begin_window_traces(int width, int height) {
    return clear_trace_mask(window_mask, width, height);
}

static void* set_second_half(void* lines) {
    const SharedLines& shared = *static_cast<const SharedLines*>(lines);
    clear_trace_mask(second_mask, window_mask.width, window_mask.height);
    add_trace_lines(second_mask, shared.vertices, shared.count, shared.line_width);
    merge_trace_halves(second_mask);
    return nullptr;
}

void add_window_traces(const RecordVertex* vertices, int count, float line_width) {
    pthread_t second;
    const int split = count / 4 * 2;  // a whole number of vertex pairs either side
    SharedLines shared = {vertices + split, count - split, line_width};
    const bool shared_out =
        count >= SHARED_MIN_VERTICES && pthread_create(&second, nullptr, set_second_half, &shared) == 0;
    add_trace_lines(window_mask, vertices, shared_out ? split : count, line_width);
    if (!shared_out) return;
    pthread_join(second, nullptr);
    add_trace_image(window_mask, second_mask);  // its own halves are merged when it is painted
}

void paint_trace_mask() {
    merge_trace_halves(window_mask);
    const TraceMaskImage mask = trace_mask_image(window_mask);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_TRUE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, mask.words * 64);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glRasterPos2f(-1.0f, -1.0f);
    glBitmap(mask.width, mask.height, 0, 0, 0, 0, reinterpret_cast<const GLubyte*>(mask.rows));
    glPopClientAttrib();
}
