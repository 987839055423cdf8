// Readers of the recording GL's log for the scene tests; see scenes_support.hpp.
#include "tests/app/scenes_support.hpp"

#include "geometry/geometry.hpp"

#include <algorithm>
#include <cmath>

void make_gear(int z, double x) {
    compute_gear(z, x);
    addendum_step = dedendum_step = undercut_step = tooth_step = 0;
    scale_factor = 0.5;
    draw_only_visible = false;  // the figures are counted whole, seen or not
}

bool has_colour(const float c[4], const Colour& colour) {
    return c[0] == colour.red && c[1] == colour.green && c[2] == colour.blue;
}

std::vector<ViewSegment> short_segments(const Colour& colour) {
    std::vector<ViewSegment> found;
    for (int b = 0; b < fake_gl_block_count(); ++b) {
        const FakeGlBlock& block = fake_gl_block(b);
        if (block.mode != GL_LINES || !has_colour(block.colour, colour)) continue;
        const FakeGlVertex* v = fake_gl_block_vertices(b);
        for (int k = 0; k + 1 < block.vertex_count; k += 2) {
            ViewSegment s = {v[k].view_x, v[k].view_y, v[k + 1].view_x, v[k + 1].view_y};
            if (std::hypot(s.x1 - s.x0, s.y1 - s.y0) < 10.0) found.push_back(s);
        }
    }
    return found;
}

int rack_figures(const Colour& colour) {
    constexpr int SEGMENTS_PER_RACK = 4 * 7;
    int segments = 0;
    for (int b = 0; b < fake_gl_block_count(); ++b) {
        const FakeGlBlock& block = fake_gl_block(b);
        // Rack segments are thin GL_LINES pairs; circles are loops, the curves 4 px wide.
        if (block.mode != GL_LINES || block.line_width >= 3.0f || !has_colour(block.colour, colour)) continue;
        const FakeGlVertex* v = fake_gl_block_vertices(b);
        for (int k = 0; k + 1 < block.vertex_count; k += 2)
            if (std::hypot(v[k + 1].view_x - v[k].view_x, v[k + 1].view_y - v[k].view_y) < 10.0) ++segments;
    }
    return segments / SEGMENTS_PER_RACK;
}

int wide_segments(const Colour& colour) {
    int segments = 0;
    for (int b = 0; b < fake_gl_block_count(); ++b) {
        const FakeGlBlock& block = fake_gl_block(b);
        if (block.mode == GL_LINES && block.line_width == 4.0f && has_colour(block.colour, colour))
            segments += block.vertex_count / 2;
    }
    return segments;
}

// Centre and radius from the extremes of the vertices: the 120-gon has a
// vertex at 0, 90, 180 and 270 degrees, so they are exact.
static std::vector<ViewDisc> round_blocks(GLenum mode, const Colour& colour) {
    std::vector<ViewDisc> found;
    for (int b = 0; b < fake_gl_block_count(); ++b) {
        const FakeGlBlock& block = fake_gl_block(b);
        if (block.mode != mode || !has_colour(block.colour, colour) || block.vertex_count == 0) continue;
        const FakeGlVertex* v = fake_gl_block_vertices(b);
        double x0 = v[0].view_x, x1 = x0, y0 = v[0].view_y, y1 = y0;
        for (int k = 1; k < block.vertex_count; ++k) {
            x0 = std::min(x0, v[k].view_x);
            x1 = std::max(x1, v[k].view_x);
            y0 = std::min(y0, v[k].view_y);
            y1 = std::max(y1, v[k].view_y);
        }
        found.push_back(ViewDisc{(x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2});
    }
    return found;
}

std::vector<ViewDisc> discs(const Colour& colour) {
    return round_blocks(GL_POLYGON, colour);
}

std::vector<ViewDisc> circles(const Colour& colour) {
    return round_blocks(GL_LINE_LOOP, colour);
}

// Its 40 model units make it the longest: the gear's centre lines span 2·r.
ViewSegment rolling_line() {
    ViewSegment longest = {NAN, NAN, NAN, NAN};
    double longest_length = -1.0;
    for (int b = 0; b < fake_gl_block_count(); ++b) {
        const FakeGlBlock& block = fake_gl_block(b);
        if (block.mode != GL_LINES || !has_colour(block.colour, blue) || block.vertex_count < 2) continue;
        const FakeGlVertex* v = fake_gl_block_vertices(b);
        const FakeGlVertex& end = v[block.vertex_count - 1];
        double length = std::hypot(end.view_x - v[0].view_x, end.view_y - v[0].view_y);
        if (length > longest_length) {
            longest_length = length;
            longest = ViewSegment{v[0].view_x, v[0].view_y, end.view_x, end.view_y};
        }
    }
    return longest;
}

static bool same_segment(const ViewSegment& a, const ViewSegment& b) {
    return std::fabs(a.x0 - b.x0) < VIEW_TOLERANCE && std::fabs(a.y0 - b.y0) < VIEW_TOLERANCE &&
           std::fabs(a.x1 - b.x1) < VIEW_TOLERANCE && std::fabs(a.y1 - b.y1) < VIEW_TOLERANCE;
}

bool all_found_in(const std::vector<ViewSegment>& a, const std::vector<ViewSegment>& b) {
    for (const ViewSegment& s : a) {
        bool found = false;
        for (const ViewSegment& t : b)
            if (same_segment(s, t)) {
                found = true;
                break;
            }
        if (!found) return false;
    }
    return true;
}

std::vector<std::string> legend_lines() {
    std::vector<std::string> lines;
    for (int i = 0; i < fake_gl_text_count(); ++i) lines.push_back(fake_gl_text(i).text);
    return lines;
}
