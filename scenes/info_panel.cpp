// The gear's data over the frame ('i'): the numbers a student checks, on a
// white box with a black border, drawn after the scene in the panel layer so
// that nothing of the scene, its trace racks included, paints over it. The
// box goes into the corner of the frame where the scene has drawn least ink,
// never over the legend, and holds as many rows as the frame has room for:
// all the panel's rows, else those meant for a small panel, as many as fit.
// Measured in pixels, as its text is 18 px at any frame size.
#include "scenes/scene_blocks.hpp"

#include "gear_data/gear_data.hpp"
#include "record/device.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

constexpr int PANEL_LINE_CAPACITY = 128;
constexpr int PANEL_LINES_MAX = 2 * DATA_ROW_CAPACITY;
constexpr double PANEL_PAD = 6.0;     // pixels between the border and the text
constexpr double PANEL_MARGIN = 8.0;  // pixels between the box and the frame's edge or the legend
constexpr double PANEL_PITCH = 20.0;  // pixels from one baseline to the next, as the legend at 800 px
constexpr double TEXT_ASCENT = 14.0;  // pixels of Helvetica 18 above its baseline
constexpr double TEXT_DESCENT = 5.0;  // and below it

// ---- Global state ------------------------------------------------------------
// The panel's lines of the frame being recorded and whether each is one a
// small panel keeps; written and read only by draw_info_panel's procedures.
static char panel_lines[PANEL_LINES_MAX][PANEL_LINE_CAPACITY];
static bool panel_line_small[PANEL_LINES_MAX];
static int panel_line_count;
static int panel_shown[PANEL_LINES_MAX];  // the indices of the lines the box holds
// The cells of a corner the scene's ink passes through; written and read by ink_in.
constexpr int INK_GRID = 40;
static bool ink_cells[INK_GRID][INK_GRID];

// Advance widths in pixels of the printable ASCII characters (32 … 126) in
// Helvetica 18: the larger of the window's bitmap font and Nimbus Sans at 18
// px (the pictures' and, with Helvetica's metrics, the page's), rounded up.
static const unsigned char ASCII_ADVANCE[95] = {
    5,  6,  6,  10, 10, 16, 13, 4,  6,  6,  7,  11, 5,  11, 5,  5,  10, 10, 10, 10, 10, 10, 10, 10,
    10, 10, 5,  5,  11, 11, 11, 10, 18, 12, 13, 14, 13, 12, 11, 14, 13, 6,  10, 13, 10, 16, 13, 15,
    12, 15, 13, 13, 12, 13, 14, 18, 13, 14, 12, 5,  5,  5,  9,  10, 6,  10, 11, 10, 11, 10, 6,  11,
    10, 4,  4,  9,  4,  15, 10, 11, 11, 11, 6,  9,  6,  10, 10, 14, 10, 10, 9,  6,  5,  6,  11,
};

double legend_text_pixels(const char* text) {
    double width = 0.0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != '\0'; ++c) {
        if (*c >= 32 && *c < 127)
            width += ASCII_ADVANCE[*c - 32];
        else if (*c >= 0xE0)
            width += 18.0;  // a character of three or four bytes: a full-width one, one em
        else if (*c >= 0xC0)
            width += 11.0;  // of two bytes: a sign such as ° or ×
        // continuation bytes and control characters add nothing
    }
    return width;
}

// A row's value and unit as the panel says it: in Japanese, yes and no as
// the page's data says them (あり, なし) and degrees with their sign.
static void panel_value(const DataRow& row, char* value) {
    if (!legends_in_japanese) {
        row_value_and_unit(row, value, ROW_VALUE_CAPACITY);
    } else if (row.kind == ROW_YES_NO) {
        std::snprintf(value, ROW_VALUE_CAPACITY, "%s", row.value != 0.0 ? "あり" : "なし");
    } else {
        row_value_and_unit(row, value, ROW_VALUE_CAPACITY);
        const size_t length = std::strlen(value);
        if (row.known && std::strcmp(row.unit, "deg") == 0 && length > 4)
            std::snprintf(value + length - 4, ROW_VALUE_CAPACITY - (length - 4), "°");
    }
}

// The rows meant for the panel, one line each: name (in Japanese on a page
// that asks for Japanese legends), value, unit, and the note of a yes (which
// tip digs in); the other notes, why a measure does not exist or what a figure
// means, are the table's and the page's to say: a line here has no room for them.
static void add_lines(const DataRows& rows) {
    char value[ROW_VALUE_CAPACITY];
    for (int i = 0; i < rows.count && panel_line_count < PANEL_LINES_MAX; ++i) {
        const DataRow& row = rows.rows[i];
        if (!(row.shown & ROW_IN_PANEL)) continue;
        panel_value(row, value);
        const bool note = row.note != nullptr && row.kind == ROW_YES_NO;
        std::snprintf(panel_lines[panel_line_count], PANEL_LINE_CAPACITY, "%s  %s%s%s%s",
                      legends_in_japanese ? row.name_ja : row.name, value, note ? " (" : "",
                      !note                 ? ""
                      : legends_in_japanese ? interference_in_japanese(row.note)
                                            : row.note,
                      note ? ")" : "");
        panel_line_small[panel_line_count] = (row.shown & ROW_IN_SMALL_PANEL) != 0;
        ++panel_line_count;
    }
}

// A rectangle in pixels of the frame, x from the left, y from the top.
struct PixelBox {
    double left, top, right, bottom;
};

static bool boxes_meet(const PixelBox& a, const PixelBox& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The pixels the scene's legend covers, from its text items so far (empty:
// right < left when there is none).
static PixelBox legend_box(double width, double height) {
    PixelBox box = {width, height, 0.0, 0.0};
    for (int i = 0; i < frame_record.item_count; ++i) {
        const RecordItem& item = frame_record.items[i];
        if (item.kind != ItemKind::TEXT || item.text_offset < 0) continue;
        const RecordVertex& at = frame_record.vertices[item.first_vertex];
        const double x = (at.x + 1.0) * width / 2.0;
        const double y = (1.0 - at.y) * height / 2.0;
        box.left = std::fmin(box.left, x);
        box.right = std::fmax(box.right, x + legend_text_pixels(frame_record.text + item.text_offset));
        box.top = std::fmin(box.top, y - TEXT_ASCENT);
        box.bottom = std::fmax(box.bottom, y + TEXT_DESCENT);
    }
    return box;
}

// The ink the scene has drawn inside the box, as what it covers: the box cut
// into INK_GRID × INK_GRID cells, the number of cells some line, outline or
// polygon edge passes through (lines drawn over one another count once).
static int ink_in(const PixelBox& box, double width, double height) {
    const double x_low = 2.0 * box.left / width - 1.0;
    const double x_high = 2.0 * box.right / width - 1.0;
    const double y_low = 1.0 - 2.0 * box.bottom / height;
    const double y_high = 1.0 - 2.0 * box.top / height;
    const double cell_x = (box.right - box.left) / INK_GRID;
    const double cell_y = (box.bottom - box.top) / INK_GRID;
    const double stride = 0.5 * std::fmin(cell_x, cell_y);  // pixels between the points marked along a line
    for (auto& row : ink_cells)
        for (bool& cell : row) cell = false;
    int covered = 0;
    for (int i = 0; i < frame_record.item_count; ++i) {
        const RecordItem& item = frame_record.items[i];
        if (item.kind == ItemKind::TEXT || item.vertex_count < 2) continue;
        const RecordVertex* v = frame_record.vertices + item.first_vertex;
        const bool pairs = item.kind == ItemKind::LINES;
        const int count = item.vertex_count;
        for (int k = 0; pairs ? k + 1 < count : k < count; k += pairs ? 2 : 1) {
            RecordVertex a = v[k];
            RecordVertex b = v[k + 1 < count ? k + 1 : 0];
            if (!cut_segment(a, b, x_low, x_high, y_low, y_high)) continue;
            const double ax = (a.x + 1.0) * width / 2.0 - box.left;
            const double ay = (1.0 - a.y) * height / 2.0 - box.top;
            const double bx = (b.x + 1.0) * width / 2.0 - box.left;
            const double by = (1.0 - b.y) * height / 2.0 - box.top;
            const int points = 1 + static_cast<int>(std::hypot(bx - ax, by - ay) / stride);
            for (int p = 0; p <= points; ++p) {
                const double f = static_cast<double>(p) / points;
                const int cx =
                    std::min(INK_GRID - 1, std::max(0, static_cast<int>((ax + f * (bx - ax)) / cell_x)));
                const int cy =
                    std::min(INK_GRID - 1, std::max(0, static_cast<int>((ay + f * (by - ay)) / cell_y)));
                if (!ink_cells[cy][cx]) {
                    ink_cells[cy][cx] = true;
                    ++covered;
                }
            }
        }
    }
    return covered;
}

// Where a box of w × h pixels goes: the corner of least ink that keeps the
// margin to the frame's edges and the legend (a top corner the legend takes
// moves down below it). False when no corner has room.
static bool place_box(double w, double h, double width, double height, PixelBox& chosen) {
    const PixelBox legend = legend_box(width, height);
    const bool has_legend = legend.left <= legend.right;
    const PixelBox guard = {legend.left - PANEL_MARGIN, legend.top - PANEL_MARGIN,
                            legend.right + PANEL_MARGIN, legend.bottom + PANEL_MARGIN};
    const double right_x = width - PANEL_MARGIN - w;
    const double bottom_y = height - PANEL_MARGIN - h;
    // Top right, bottom right, bottom left, top left: the first of equal ink wins.
    const double corners[4][2] = {
        {right_x, PANEL_MARGIN}, {right_x, bottom_y}, {PANEL_MARGIN, bottom_y}, {PANEL_MARGIN, PANEL_MARGIN}};
    bool found = false;
    int least = 0;
    for (const auto& corner : corners) {
        PixelBox box = {corner[0], corner[1], corner[0] + w, corner[1] + h};
        if (has_legend && boxes_meet(box, guard) && corner[1] == PANEL_MARGIN) {
            box.top = guard.bottom;
            box.bottom = box.top + h;
        }
        if (box.left < PANEL_MARGIN - 1e-9 || box.top < PANEL_MARGIN - 1e-9 ||
            box.right > width - PANEL_MARGIN + 1e-9 || box.bottom > height - PANEL_MARGIN + 1e-9 ||
            (has_legend && boxes_meet(box, guard)))
            continue;
        const int ink = ink_in(box, width, height);
        if (!found || ink < least) {
            chosen = box;
            least = ink;
            found = true;
        }
    }
    return found;
}

// The box's size for lines shown[0 … count - 1].
static void box_size(const int* shown, int count, double& w, double& h) {
    double widest = 0.0;
    for (int k = 0; k < count; ++k) widest = std::fmax(widest, legend_text_pixels(panel_lines[shown[k]]));
    w = std::ceil(widest) + 2.0 * PANEL_PAD;
    h = TEXT_ASCENT + TEXT_DESCENT + (count - 1) * PANEL_PITCH + 2.0 * PANEL_PAD;
}

// The view units of pixel x (from the left) and y (from the top).
static double view_x(double x, double width) {
    return 2.0 * x / width - 1.0;
}
static double view_y(double y, double height) {
    return 1.0 - 2.0 * y / height;
}

static void draw_box_and_lines(const PixelBox& box, const int* shown, int count, double width,
                               double height) {
    // Pixel centres for the border, so that every painter sets one crisp pixel.
    const double l = view_x(std::floor(box.left) + 0.5, width);
    const double r = view_x(std::floor(box.right) + 0.5, width);
    const double t = view_y(std::floor(box.top) + 0.5, height);
    const double b = view_y(std::floor(box.bottom) + 0.5, height);
    const float width_before = device_line_width();
    device_load_identity();  // scene '5' leaves its turn on the matrix
    device_layer(ITEM_LAYER_PANEL);
    device_colour(Colour{1.0f, 1.0f, 1.0f, 0.0f});
    device_begin(ItemKind::POLYGON);
    device_vertex(view_x(std::floor(box.left), width), view_y(std::floor(box.top), height));
    device_vertex(view_x(std::floor(box.right) + 1.0, width), view_y(std::floor(box.top), height));
    device_vertex(view_x(std::floor(box.right) + 1.0, width), view_y(std::floor(box.bottom) + 1.0, height));
    device_vertex(view_x(std::floor(box.left), width), view_y(std::floor(box.bottom) + 1.0, height));
    device_end();
    device_colour(black);
    device_line_width(1.0f);
    device_begin(ItemKind::LINE_LOOP);
    device_vertex(l, t);
    device_vertex(r, t);
    device_vertex(r, b);
    device_vertex(l, b);
    device_end();
    const double x = std::floor(box.left) + PANEL_PAD;
    for (int k = 0; k < count; ++k) {
        const double y = std::floor(box.top) + PANEL_PAD + TEXT_ASCENT + k * PANEL_PITCH;
        device_text(view_x(x, width), view_y(y, height), panel_lines[shown[k]]);
    }
    device_line_width(width_before);  // the next frame starts as it would without the panel
    device_layer(ITEM_LAYER_PLAIN);
}

void draw_info_panel() {
    panel_line_count = 0;
    const ChosenData data = chosen_data(gear_choice.module, 0.0, pair_data_shown());
    add_lines(gear_rows(data.gear));
    if (data.with_pair) add_lines(pair_rows(data.mate, data.pair));
    const FrameSettings& frame = device_frame();
    const double width = frame.width;
    const double height = frame.height;
    // All lines; else the small panel's that fit the width, fewer from the end
    // until a corner has room for them.
    int count = 0;
    for (int k = 0; k < panel_line_count; ++k) panel_shown[count++] = k;
    double w = 0.0;
    double h = 0.0;
    PixelBox box = {};
    box_size(panel_shown, count, w, h);
    if (place_box(w, h, width, height, box)) {
        draw_box_and_lines(box, panel_shown, count, width, height);
        return;
    }
    count = 0;
    for (int k = 0; k < panel_line_count; ++k)
        if (panel_line_small[k] &&
            legend_text_pixels(panel_lines[k]) + 2.0 * (PANEL_PAD + PANEL_MARGIN) <= width)
            panel_shown[count++] = k;
    for (; count > 0; --count) {
        box_size(panel_shown, count, w, h);
        if (place_box(w, h, width, height, box)) {
            draw_box_and_lines(box, panel_shown, count, width, height);
            return;
        }
    }
}
