// Readers of the frame record for the tests; see record_reading.hpp.
#include "tests/record/record_reading.hpp"

#include <algorithm>
#include <cmath>

std::vector<ViewSegment> segments(const Colour& colour, float width) {
    std::vector<ViewSegment> found;
    for (int i = 0; i < frame_record.item_count; ++i) {
        const RecordItem& item = frame_record.items[i];
        if (item.kind != ItemKind::LINES || !same_colour(item.colour, colour)) continue;
        if (width != 0 && item.width != width) continue;
        const RecordVertex* v = frame_record.vertices + item.first_vertex;
        for (int k = 0; k + 1 < item.vertex_count; k += 2)
            found.push_back(ViewSegment{v[k].x, v[k].y, v[k + 1].x, v[k + 1].y});
    }
    return found;
}

// Centre from the extremes of the vertices (the 120-gon has a vertex at 0, 90,
// 180 and 270 degrees, so they are exact), radius to the first vertex.
static std::vector<ViewCircle> round_items(ItemKind kind, const Colour& colour) {
    std::vector<ViewCircle> found;
    for (int i = 0; i < frame_record.item_count; ++i) {
        const RecordItem& item = frame_record.items[i];
        if (item.kind != kind || !same_colour(item.colour, colour) || item.vertex_count == 0) continue;
        const RecordVertex* v = frame_record.vertices + item.first_vertex;
        double low_x = v[0].x, high_x = v[0].x, low_y = v[0].y, high_y = v[0].y;
        for (int k = 1; k < item.vertex_count; ++k) {
            low_x = std::min(low_x, v[k].x);
            high_x = std::max(high_x, v[k].x);
            low_y = std::min(low_y, v[k].y);
            high_y = std::max(high_y, v[k].y);
        }
        const double cx = 0.5 * (low_x + high_x);
        const double cy = 0.5 * (low_y + high_y);
        found.push_back(ViewCircle{cx, cy, std::hypot(v[0].x - cx, v[0].y - cy)});
    }
    return found;
}

std::vector<ViewCircle> discs(const Colour& colour) {
    return round_items(ItemKind::POLYGON, colour);
}

std::vector<ViewCircle> outlines(const Colour& colour) {
    return round_items(ItemKind::LINE_LOOP, colour);
}

std::vector<std::string> legend_lines() {
    std::vector<std::string> lines;
    for (int i = 0; i < frame_record.item_count; ++i)
        if (frame_record.items[i].kind == ItemKind::TEXT)
            lines.emplace_back(frame_record.text + frame_record.items[i].text_offset);
    return lines;
}

std::vector<ViewCircle> legend_positions() {
    std::vector<ViewCircle> at;
    for (int i = 0; i < frame_record.item_count; ++i)
        if (frame_record.items[i].kind == ItemKind::TEXT) {
            const RecordVertex& v = frame_record.vertices[frame_record.items[i].first_vertex];
            at.push_back(ViewCircle{v.x, v.y, 0});
        }
    return at;
}

static bool near(const ViewSegment& a, const ViewSegment& b) {
    return std::fabs(a.x0 - b.x0) < VIEW_TOLERANCE && std::fabs(a.y0 - b.y0) < VIEW_TOLERANCE &&
           std::fabs(a.x1 - b.x1) < VIEW_TOLERANCE && std::fabs(a.y1 - b.y1) < VIEW_TOLERANCE;
}

bool all_found_in(const std::vector<ViewSegment>& a, const std::vector<ViewSegment>& b) {
    for (const ViewSegment& s : a)
        if (std::none_of(b.begin(), b.end(), [&](const ViewSegment& t) { return near(s, t); })) return false;
    return true;
}

double distance_to(const std::vector<ViewSegment>& found, double x, double y) {
    double best = HUGE_VAL;
    for (const ViewSegment& s : found) {
        const double dx = s.x1 - s.x0;
        const double dy = s.y1 - s.y0;
        const double length2 = dx * dx + dy * dy;
        double t = length2 > 0 ? ((x - s.x0) * dx + (y - s.y0) * dy) / length2 : 0;  // no division by zero
        t = std::clamp(t, 0.0, 1.0);
        best = std::min(best, std::hypot(s.x0 + t * dx - x, s.y0 + t * dy - y));
    }
    return best;
}
