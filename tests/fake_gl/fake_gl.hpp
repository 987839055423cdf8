// A counting stand-in for GL and GLUT that the window's and the dialogue's unit
// tests link instead of the real libraries: every entry point the program calls,
// with C linkage, and the little state the window tests read. What a frame draws
// is checked on the frame record. Use: fake_gl_reset(); display(); fake_gl_count(…).
#pragma once

#include <GL/gl.h>
#include <GL/freeglut.h>

// The calls counted apart; every other entry point counts as FAKE_GL_OTHER.
enum FakeGlKind { FAKE_GL_BEGIN, FAKE_GL_CLEAR, FAKE_GLUT_SWAP_BUFFERS, FAKE_GL_OTHER, FAKE_GL_KIND_COUNT };

// The GL and GLUT state the fake keeps; written by the entry points, the
// tests read it (and may spoil it to see it set again).
struct FakeGlState {
    double projection[16];  // column-major; glLoadIdentity in GL_PROJECTION mode sets it
    GLenum matrix_mode;     // GL_MODELVIEW at start
    int viewport[4];
};

void fake_gl_reset();  // counts 0; state as after context creation
FakeGlState& fake_gl_state();
long fake_gl_count(FakeGlKind kind);  // calls of a kind since the last reset
long fake_gl_total();                 // calls of any kind since the last reset
