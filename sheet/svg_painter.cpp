// The sheet as SVG text, for the native program and the web page's module
// alike (no Cairo): one user unit a millimetre on a page sized in points,
// <line>, <rect>, <circle> and <path> elements, and <text> with its anchor, in
// a font list that holds Latin and Japanese (each character from the first font
// that has it). Numbers to a thousandth of a millimetre. No state.
#include "sheet/sheet_private.hpp"

#include <cerrno>
#include <cmath>

// Nimbus Sans has Helvetica's metrics, as the PDF's Latin text; the Japanese
// fonts of Debian, Windows and macOS after the Latin ones.
static const char* const FONT_FAMILIES =
    "Nimbus Sans, Helvetica, Arial, IPAGothic, IPAexGothic, 'Noto Sans CJK JP', 'Hiragino Sans', Meiryo, "
    "sans-serif";

// The file written and the point a path has reached.
struct SvgSheet {
    FILE* file;
    bool in_path;  // a <path> has been begun and not yet stroked
    double x;
    double y;
};

static SvgSheet& sheet_of(void* target) {
    return *static_cast<SvgSheet*>(target);
}

static void stroke_attributes(FILE* file, const SheetStroke& stroke) {
    std::fprintf(file, " stroke=\"black\" stroke-width=\"%.3f\"", stroke.width);
    if (stroke.dash_count == 0) return;
    std::fputs(" stroke-dasharray=\"", file);
    for (int i = 0; i < stroke.dash_count; ++i)
        std::fprintf(file, "%s%.3f", i > 0 ? " " : "", stroke.dashes[i]);
    std::fputc('"', file);
}

static void line(void* target, double x0, double y0, double x1, double y1, const SheetStroke& stroke) {
    FILE* file = sheet_of(target).file;
    std::fprintf(file, "<line x1=\"%.3f\" y1=\"%.3f\" x2=\"%.3f\" y2=\"%.3f\"", x0, y0, x1, y1);
    stroke_attributes(file, stroke);
    std::fputs("/>\n", file);
}

static void rectangle(void* target, const SheetBox& box, double grey, const SheetStroke* stroke) {
    FILE* file = sheet_of(target).file;
    std::fprintf(file, "<rect x=\"%.3f\" y=\"%.3f\" width=\"%.3f\" height=\"%.3f\"", box.left, box.top,
                 box.width, box.height);
    if (grey >= 0.0) {
        const int level = static_cast<int>(std::lround(255.0 * grey));
        std::fprintf(file, " fill=\"#%02x%02x%02x\"", level, level, level);
    } else {
        std::fputs(" fill=\"none\"", file);
    }
    if (stroke != nullptr) stroke_attributes(file, *stroke);
    std::fputs("/>\n", file);
}

static void circle(void* target, double cx, double cy, double radius, const SheetStroke& stroke) {
    FILE* file = sheet_of(target).file;
    std::fprintf(file, "<circle cx=\"%.3f\" cy=\"%.3f\" r=\"%.3f\" fill=\"none\"", cx, cy, radius);
    stroke_attributes(file, stroke);
    std::fputs("/>\n", file);
}

static void move_to(void* target, double x, double y) {
    SvgSheet& svg = sheet_of(target);
    if (!svg.in_path) std::fputs("<path d=\"", svg.file);
    std::fprintf(svg.file, "%sM %.3f %.3f", svg.in_path ? "\n" : "", x, y);
    svg = {svg.file, true, x, y};
}

static void line_to(void* target, double x, double y) {
    SvgSheet& svg = sheet_of(target);
    std::fprintf(svg.file, "\nL %.3f %.3f", x, y);
    svg.x = x;
    svg.y = y;
}

// SVG's arc flags: sweep 1 turns clockwise on the page (y down), and the
// larger arc is the one that turns through more than half a circle.
static void arc_to(void* target, double x, double y, double cx, double cy, bool clockwise) {
    SvgSheet& svg = sheet_of(target);
    const double radius = std::hypot(svg.x - cx, svg.y - cy);
    double turn = std::atan2(y - cy, x - cx) - std::atan2(svg.y - cy, svg.x - cx);
    if (!clockwise) turn = -turn;
    if (turn < 0.0) turn += 2.0 * M_PI;
    std::fprintf(svg.file, "\nA %.3f %.3f 0 %d %d %.3f %.3f", radius, radius, turn > M_PI ? 1 : 0,
                 clockwise ? 1 : 0, x, y);
    svg.x = x;
    svg.y = y;
}

static void close_path(void* target) {
    std::fputs(" Z", sheet_of(target).file);
}

static void stroke_path(void* target, const SheetStroke& stroke) {
    SvgSheet& svg = sheet_of(target);
    if (!svg.in_path) return;
    std::fputs("\" fill=\"none\" stroke-linejoin=\"round\"", svg.file);
    stroke_attributes(svg.file, stroke);
    std::fputs("/>\n", svg.file);
    svg.in_path = false;
}

// The text with XML's own characters as their entities.
static void put_escaped(FILE* file, const char* text) {
    for (const char* c = text; *c != '\0'; ++c) switch (*c) {
            case '&':
                std::fputs("&amp;", file);
                break;
            case '<':
                std::fputs("&lt;", file);
                break;
            case '>':
                std::fputs("&gt;", file);
                break;
            default:
                std::fputc(*c, file);
        }
}

static void text(void* target, const char* text, double x, double baseline, const SheetFont& font) {
    FILE* file = sheet_of(target).file;
    std::fprintf(file, "<text x=\"%.3f\" y=\"%.3f\" font-size=\"%.3f\"%s%s>", x, baseline, font.size,
                 font.bold ? " font-weight=\"bold\"" : "",
                 font.align == SHEET_CENTRE  ? " text-anchor=\"middle\""
                 : font.align == SHEET_RIGHT ? " text-anchor=\"end\""
                                             : "");
    put_escaped(file, text);
    std::fputs("</text>\n", file);
}

int write_gear_sheet_svg(const GearSheet& sheet, FILE* file) {
    std::fprintf(file,
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.3fpt\" height=\"%.3fpt\" "
                 "viewBox=\"0 0 %.0f %.0f\" xml:lang=\"%s\" font-family=\"%s\">\n",
                 PAGE_WIDTH * POINTS_PER_MM, PAGE_HEIGHT * POINTS_PER_MM, PAGE_WIDTH, PAGE_HEIGHT,
                 sheet.japanese ? "ja" : "en", FONT_FAMILIES);
    SvgSheet svg = {file, false, 0.0, 0.0};
    const SheetPainter painter = {&svg,    line,   rectangle,  circle,      move_to,
                                  line_to, arc_to, close_path, stroke_path, text};
    paint_gear_sheet(sheet, painter);
    std::fputs("</svg>\n", file);
    return std::ferror(file) ? EIO : 0;
}
