// The trace mask painted in one glBitmap (see trace_mask.hpp): the column
// half merged into the rows, which glBitmap reads as they lie.
#include "app/trace_mask.hpp"

#include <GL/gl.h>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "glBitmap reads the mask's words as bytes, least significant bit first");

void paint_trace_mask() {
    merge_trace_columns();
    const TraceMaskHalf rows = trace_mask_rows();
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_TRUE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rows.words * 64);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glRasterPos2f(-1.0f, -1.0f);
    glBitmap(rows.across, rows.along, 0, 0, 0, 0, reinterpret_cast<const GLubyte*>(rows.lines));
    glPopClientAttrib();
}
