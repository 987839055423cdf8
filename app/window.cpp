// The window shell: opens the one 800×800 GLUT window with its Japanese title,
// registers the callbacks and runs the event loop. The window itself lives in
// freeglut from start_window to the end of the process; this file holds only
// the X connection kept open by the display check.
#include "app/app.hpp"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// The title as the user reads it (UTF-8; the blanks are full-width, U+3000):
// tooth-profile generation by a rack cutter, z: number of teeth, 1 to 7:
// change the generation screen, s: continue.
static const char WINDOW_TITLE[] = "ラックカッタによる歯形創成　z:歯数　1,2,3,4,5,6,7：創成画面変更，s:継続";

// freeglut hands a title to X only as a Latin-1 STRING, which a modern title bar
// shows as garbage. So the title is set again on the window freeglut just made:
// UTF-8 _NET_WM_NAME/_NET_WM_ICON_NAME for today's window managers, and WM_NAME/
// WM_ICON_NAME as a compound text for the older ones. Right after glutCreateWindow
// the window's GL context is current and its X window is the GLX drawable.
static void set_utf8_title(const char* title) {
    Display* display = glXGetCurrentDisplay();
    Window window = static_cast<Window>(glXGetCurrentDrawable());
    if (display == nullptr || window == 0) {
        return;  // no current context: keep freeglut's own title
    }
    Atom utf8_string = XInternAtom(display, "UTF8_STRING", False);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(title);
    int length = static_cast<int>(std::strlen(title));
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8_string, 8,
                    PropModeReplace, bytes, length);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_ICON_NAME", False), utf8_string, 8,
                    PropModeReplace, bytes, length);

    char* list[1] = {const_cast<char*>(title)};
    XTextProperty legacy;
    if (Xutf8TextListToTextProperty(display, list, 1, XStdICCTextStyle, &legacy) >= Success) {
        XSetWMName(display, window, &legacy);
        XSetWMIconName(display, window, &legacy);
        XFree(legacy.value);
    }
    XFlush(display);
}

void open_main_window(int* argc, char** argv, void (*draw)()) {
    glutInitWindowSize(WINDOW_SIZE, WINDOW_SIZE);  // before glutInit, which reads it
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow(WINDOW_TITLE);
    set_utf8_title(WINDOW_TITLE);
    glutDisplayFunc(draw);
    glutReshapeFunc(reshape);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);  // opaque white background
}

void start_window(int* argc, char** argv) {
    open_main_window(argc, argv, display);
    glutKeyboardFunc(on_key);
    glutMainLoop();  // freeglut ends the process when the window is closed; Esc ends it in on_key
}

// ---- Global state ------------------------------------------------------------
// The connection window_system_problem opened to check the display; never
// closed. Written once by window_system_problem, read by nobody.
static Display* checked_display;

// The program's name as the user started it, ready to paste into a shell:
// single-quoted unless it is made only of characters a shell takes as they are.
static void shell_word(const char* name, char* out, int capacity) {
    bool plain = name[0] != '\0' && std::strspn(name,
                                                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                                "0123456789_./+-") == std::strlen(name);
    int length = 0;
    if (!plain && length < capacity - 1) out[length++] = '\'';
    for (const char* c = name; *c != '\0' && length < capacity - 6; ++c) {
        if (*c == '\'') {  // ' ends the quote, \' is a quote, ' opens it again
            std::memcpy(out + length, "'\\''", 4);
            length += 4;
        } else {
            out[length++] = *c;
        }
    }
    if (!plain) out[length++] = '\'';
    out[length] = '\0';
}

const char* window_system_problem(const char* program) {
    constexpr int NAME_CAPACITY = 120;  // a longer name is cut; the advice stays readable
    char name[NAME_CAPACITY];
    shell_word(program != nullptr ? program : "rackgen", name, NAME_CAPACITY);
    // How to do without a window (its files need none), then how to run with
    // no screen at all: the end of both messages.
    char advice[3 * NAME_CAPACITY + 200];
    std::snprintf(
        advice, sizeof advice,
        "without a window it still writes files: %s --teeth Z --flank, --gear or --render FILE "
        "(%s --help); with no screen, run it on a virtual one: xvfb-run -a -s '-screen 0 1024x1024x24' %s",
        name, name, name);
    static char message[sizeof advice + 240];  // a display name is cut at 40 characters, the advice stays
    const char* display_name = std::getenv("DISPLAY");
    if (display_name == nullptr || display_name[0] == '\0') {
        std::snprintf(message, sizeof message,
                      "no X display (DISPLAY is not set): rackgen opens a window, so start it from a "
                      "terminal of a graphical desktop (X11 or XWayland) or over `ssh -X`; %s",
                      advice);
        return message;
    }
    Display* display = XOpenDisplay(display_name);
    if (display == nullptr) {
        std::snprintf(message, sizeof message,
                      "cannot open the X display \"%.40s\" named by DISPLAY: start rackgen from a "
                      "terminal of a running graphical desktop; %s",
                      display_name, advice);
        return message;
    }
    // Kept open for the life of the process: a bare X server (Xvfb, xvfb-run) resets
    // when its last client leaves, and would refuse GLUT's connection while it does.
    checked_display = display;
    return nullptr;
}
