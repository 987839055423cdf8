// The gear's and the pair's data as one list of rows, with the words and the
// digits every reader uses. No state.
#include "gear_data/gear_data.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr unsigned EVERYWHERE = ROW_EVERYWHERE;
constexpr unsigned NOT_IN_PANEL = ROW_IN_TABLE | ROW_ON_PAGE;
constexpr unsigned NOT_IN_TABLE = ROW_IN_PANEL | ROW_ON_PAGE;
constexpr unsigned FIRST_OF_ALL = ROW_EVERYWHERE | ROW_IN_SMALL_PANEL;  // kept by a small panel too
constexpr unsigned JSON_ONLY = 0;  // a key whose row says nothing for this gear: null or false in the JSON
// What the rack has none of: a number of teeth, a shift, a centre distance.
constexpr Measure RACK_HAS_NONE = {false, 0.0, "the rack cuts it"};

struct RowList {
    DataRows list;

    DataRow& add(const char* key, const char* name, const char* name_ja, RowKind kind, double value,
                 const char* unit, unsigned shown) {
        DataRow& row = list.rows[list.count++];
        row = DataRow{key, name, name_ja, kind, value, true, false, unit, nullptr, shown};
        return row;
    }
    void length(const char* key, const char* name, const char* name_ja, double mm, unsigned shown) {
        add(key, name, name_ja, ROW_NUMBER, mm, "mm", shown);
    }
    void measure(const char* key, const char* name, const char* name_ja, const Measure& m, unsigned shown) {
        DataRow& row = add(key, name, name_ja, ROW_MEASURE, m.value, "mm", shown);
        row.known = m.known;
        row.note = m.known ? nullptr : m.reason;
    }
    void yes_no(const char* key, const char* name, const char* name_ja, bool value, unsigned shown) {
        add(key, name, name_ja, ROW_YES_NO, value ? 1.0 : 0.0, "", shown);
    }
    // Two numbers, where given (else null in the JSON alone); known when both are.
    void limits(const char* key, const char* name, const char* name_ja, bool given, const Measure& first,
                const Measure& second, const char* unit) {
        DataRow& row = add(key, name, name_ja, ROW_LIMITS, first.value, unit, given ? EVERYWHERE : JSON_ONLY);
        row.second = second.value;
        row.known = given && first.known && second.known;
        row.note = !given ? nullptr : !first.known ? first.reason : !second.known ? second.reason : nullptr;
    }
    void limits(const char* key, const char* name, const char* name_ja, bool given, const double* pair,
                const char* unit) {
        limits(key, name, name_ja, given, Measure{true, pair[0], nullptr}, Measure{true, pair[1], nullptr},
               unit);
    }
};

}  // namespace

DataRows gear_rows(const GearData& d) {
    RowList r{};
    r.add("teeth", "number of teeth z", "歯数 z", ROW_WHOLE, d.teeth, "", FIRST_OF_ALL);
    r.add("shift", "profile shift coefficient x", "転位係数 x", ROW_NUMBER, d.shift, "", FIRST_OF_ALL);
    r.length("module", "module m", "モジュール m", d.module, FIRST_OF_ALL);
    r.add("pressure_angle", "pressure angle", "圧力角", ROW_NUMBER, d.pressure_angle, "deg", NOT_IN_PANEL);
    // A helical gear: its helix and what it makes of the normal plane's module
    // and angle (a spur gear has none of these rows).
    const bool helix = d.helix_angle > 0.0;
    if (helix) {
        r.add("helix_angle", "helix angle", "ねじれ角", ROW_NUMBER, d.helix_angle, "deg", FIRST_OF_ALL);
        r.add("hand", "hand of helix", "ねじれ方向", ROW_WORD, 0.0, "", EVERYWHERE).word =
            d.left_hand ? "left" : "right";
        r.length("transverse_module", "transverse module", "正面モジュール", d.transverse_module, EVERYWHERE);
        r.add("transverse_pressure_angle", "transverse pressure angle", "正面圧力角", ROW_NUMBER,
              d.transverse_pressure_angle, "deg", EVERYWHERE);
        r.add("base_helix_angle", "base helix angle", "基礎円筒ねじれ角", ROW_NUMBER, d.base_helix_angle,
              "deg", NOT_IN_PANEL);
        r.length("lead", "lead", "リード", d.lead, NOT_IN_PANEL);
        r.measure("face_width", "face width", "歯幅",
                  d.face_width > 0.0 ? Measure{true, d.face_width, nullptr}
                                     : Measure{false, 0.0, "no face width is given"},
                  NOT_IN_PANEL);
        r.measure("overlap_ratio", "overlap ratio", "重なりかみあい率", d.overlap_ratio, EVERYWHERE);
        r.list.rows[r.list.count - 1].unit = "";
    }
    r.length("addendum", "cutter addendum", "工具の歯末のたけ", d.addendum, NOT_IN_PANEL);
    r.length("dedendum", "cutter dedendum", "工具の歯元のたけ", d.dedendum, NOT_IN_PANEL);
    r.length("tip_radius", "cutter tip radius", "工具歯先の丸み半径", d.tip_radius, NOT_IN_PANEL);
    r.length("tooth_addendum", "tooth addendum", "歯末のたけ", d.tooth_addendum, NOT_IN_PANEL);
    r.length("tooth_dedendum", "tooth dedendum", "歯元のたけ", d.tooth_dedendum, NOT_IN_PANEL);
    r.length("pitch_diameter", "pitch (reference) diameter", "基準円直径", d.pitch_diameter, FIRST_OF_ALL);
    r.length("base_diameter", "base diameter", "基礎円直径", d.base_diameter, EVERYWHERE);
    r.length("tip_diameter", "tip diameter", "歯先円直径", d.tip_diameter, FIRST_OF_ALL);
    r.length("root_diameter", "root diameter", "歯底円直径", d.root_diameter, FIRST_OF_ALL);
    r.length("pitch", "pitch", "ピッチ", d.pitch, NOT_IN_PANEL);
    r.length("base_pitch", "base pitch", "法線ピッチ", d.base_pitch, NOT_IN_PANEL);
    r.length("tooth_thickness", "tooth thickness on the pitch circle", "基準円上の歯厚", d.tooth_thickness,
             EVERYWHERE);
    // Thinned by the allowances: the limits as [upper, lower].
    const bool thinned = d.allowance_given;
    r.limits("thickness_allowance", "thickness allowance (upper / lower)", "歯厚の許容差（上 / 下）", thinned,
             d.allowance, "mm");
    r.limits("tooth_thickness_limits", "tooth thickness limits", "歯厚の上下限", thinned,
             d.tooth_thickness_limits, "mm");
    r.length("tip_thickness", "tooth thickness on the tip circle", "歯先円上の歯厚", d.tip_thickness,
             EVERYWHERE);
    if (helix) {
        r.length("normal_tooth_thickness", "normal tooth thickness", "歯直角歯厚", d.normal_tooth_thickness,
                 EVERYWHERE);
        r.length("transverse_tooth_thickness", "transverse tooth thickness", "正面歯厚", d.tooth_thickness,
                 NOT_IN_PANEL);
    }
    r.yes_no("pointed", "pointed tooth", "歯先のとがり", d.pointed, EVERYWHERE);
    r.measure("pointed_diameter", "diameter where the flanks meet", "両側の歯面の交わる直径",
              d.pointed_diameter, EVERYWHERE);
    r.yes_no("undercut", "undercut", "切り下げ", d.undercut, FIRST_OF_ALL);
    r.add("min_shift_no_undercut", "least shift without undercut", "切り下げを避ける最小の転位係数",
          ROW_NUMBER, d.min_shift_no_undercut, "", EVERYWHERE)
        .rounded_up = true;
    r.add("min_teeth_no_undercut", "least teeth without undercut", "切り下げを避ける最小の歯数", ROW_NUMBER,
          d.min_teeth_no_undercut, "", NOT_IN_PANEL)
        .rounded_up = true;
    // Why undercut starts where it does, and the textbooks' figures beside ours.
    r.length("flank_depth", "cutter flank depth", "工具の直線歯面の深さ", d.flank_depth, NOT_IN_PANEL);
    r.list.rows[r.list.count - 1].note = "the cutter's straight flank ends this far below the pitch line";
    r.add("min_teeth_textbook", "least teeth, textbook count", "教科書の数え方の最小歯数", ROW_NUMBER,
          d.min_teeth_textbook, "", EVERYWHERE)
        .rounded_up = true;
    r.list.rows[r.list.count - 1].note = "a generating line at the cutter's addendum, as textbooks take it";
    r.add("min_shift_textbook", "least shift, textbook count", "教科書の数え方の最小転位係数", ROW_NUMBER,
          d.min_shift_textbook, "", EVERYWHERE)
        .rounded_up = true;
    r.list.rows[r.list.count - 1].note = "a generating line at the cutter's addendum, as textbooks take it";
    // A ring's cutter does not undercut it so: the undercut's bounds say nothing of it.
    if (d.internal)
        for (int i = 0; i < r.list.count; ++i) {
            DataRow& row = r.list.rows[i];
            const char* key = row.key;
            if (std::strcmp(key, "min_shift_no_undercut") != 0 &&
                std::strcmp(key, "min_teeth_no_undercut") != 0 && std::strcmp(key, "flank_depth") != 0 &&
                std::strcmp(key, "min_teeth_textbook") != 0 && std::strcmp(key, "min_shift_textbook") != 0)
                continue;
            row.kind = ROW_MEASURE;
            row.known = false;
            row.note = "a ring is not undercut by its cutter's tip";
            row.shown = JSON_ONLY;
        }
    // The depth of the rack's straight flank: a pinion cutter has none.
    if (d.pinion_cutter && !d.internal)
        for (int i = 0; i < r.list.count; ++i) {
            DataRow& row = r.list.rows[i];
            if (std::strcmp(row.key, "flank_depth") != 0) continue;
            row.kind = ROW_MEASURE;
            row.known = false;
            row.note = "a pinion cutter's flank is involute, not straight";
            row.shown = JSON_ONLY;
        }
    const Measure form = d.involute_cut_away ? Measure{false, 0.0, "the undercut removes the whole involute"}
                                             : Measure{true, d.form_diameter, nullptr};
    r.measure("form_diameter", "form diameter (the involute begins)", "インボリュート開始円直径", form,
              EVERYWHERE);
    r.add("span_teeth", "teeth spanned", "またぎ歯数", ROW_WHOLE, d.span_teeth, "", EVERYWHERE);
    r.measure("span", helix ? "span measurement (normal plane)" : "span measurement",
              helix ? "歯直角またぎ歯厚" : "またぎ歯厚", d.span, EVERYWHERE);
    r.limits("span_limits", "span limits", "またぎ歯厚の上下限", thinned, d.span_limits[0], d.span_limits[1],
             "mm");
    if (helix)
        r.measure("span_least_face_width", "least face width for the span", "またぎ歯厚の測定に要る最小歯幅",
                  d.span_least_face_width, NOT_IN_PANEL);
    r.length("pin_diameter", helix ? "ball diameter" : "pin diameter", helix ? "玉径" : "ピン径",
             d.pin_diameter, EVERYWHERE);
    r.measure("over_pins", helix ? "measurement over balls" : "measurement over pins",
              helix ? "オーバーボール寸法" : "オーバーピン寸法", d.over_pins,
              d.internal ? JSON_ONLY : EVERYWHERE);
    r.measure("between_pins", "measurement between pins", "ビトウィーンピン寸法", d.between_pins,
              d.internal ? EVERYWHERE : JSON_ONLY);
    r.limits("over_pins_limits",
             d.internal ? "between pins limits"
             : helix    ? "over balls limits"
                        : "over pins limits",
             d.internal ? "ビトウィーンピン寸法の上下限"
             : helix    ? "オーバーボール寸法の上下限"
                        : "オーバーピン寸法の上下限",
             thinned, d.over_pins_limits[0], d.over_pins_limits[1], "mm");
    // The gear-tooth caliper's: the chord at the reference circle and its height from the tip.
    r.measure("chordal_thickness", "chordal thickness", "弦歯厚", d.chordal_thickness,
              d.internal ? JSON_ONLY : EVERYWHERE);
    r.measure("chordal_height", "chordal height", "弦歯たけ", d.chordal_height,
              d.internal ? JSON_ONLY : EVERYWHERE);
    r.limits("chordal_thickness_limits", "chordal thickness limits", "弦歯厚の上下限", thinned && !d.internal,
             d.chordal_thickness_limits[0], d.chordal_thickness_limits[1], "mm");
    // The cutter at work: the rack's say only that it is the rack.
    const unsigned pinion_rows = d.pinion_cutter ? EVERYWHERE : JSON_ONLY;
    r.add("cutter_kind", "cutter", "工具", ROW_WORD, 0.0, "", d.pinion_cutter ? EVERYWHERE : NOT_IN_PANEL)
        .word = d.pinion_cutter ? "pinion" : "rack";
    r.measure("cutter_teeth", "cutter's number of teeth", "ピニオンカッタの歯数",
              d.pinion_cutter ? Measure{true, static_cast<double>(d.cutter_teeth), nullptr} : RACK_HAS_NONE,
              pinion_rows);
    r.list.rows[r.list.count - 1].kind = d.pinion_cutter ? ROW_WHOLE : ROW_MEASURE;
    r.list.rows[r.list.count - 1].unit = "";
    r.measure("cutter_shift", "cutter's shift coefficient", "ピニオンカッタの転位係数",
              d.pinion_cutter ? Measure{true, d.cutter_shift, nullptr} : RACK_HAS_NONE, pinion_rows);
    r.list.rows[r.list.count - 1].unit = "";
    r.measure("cutting_centre_distance", "cutting centre distance", "切削時の中心距離",
              d.pinion_cutter ? Measure{true, d.cutting_centre_distance, nullptr} : RACK_HAS_NONE,
              pinion_rows);
    r.measure("cutting_pressure_angle", "cutting pressure angle", "切削時のかみあい圧力角",
              d.pinion_cutter ? Measure{true, d.cutting_pressure_angle, nullptr} : RACK_HAS_NONE,
              pinion_rows);
    r.list.rows[r.list.count - 1].unit = "deg";
    r.yes_no("internal", "internal gear (ring)", "内歯車", d.internal, d.internal ? EVERYWHERE : JSON_ONLY);
    return r.list;
}

DataRows pair_rows(const GearData& mate, const PairData& p) {
    RowList r{};
    r.add(nullptr, "mate's number of teeth z2", "相手歯車の歯数 z2", ROW_WHOLE, mate.teeth, "",
          NOT_IN_TABLE | ROW_IN_SMALL_PANEL);
    r.add(nullptr, "mate's shift coefficient x2", "相手歯車の転位係数 x2", ROW_NUMBER, mate.shift, "",
          NOT_IN_TABLE);
    if (p.fault != nullptr) {  // only the default mate gets here: a chosen one that cannot mesh is refused
        r.yes_no(nullptr, "mesh without backlash", "バックラッシなしのかみあい", false, NOT_IN_TABLE);
        r.list.rows[r.list.count - 1].note = p.fault;
        return r.list;
    }
    r.add("working_pressure_angle", "working pressure angle", "かみあい圧力角", ROW_NUMBER,
          p.working_pressure_angle, "deg", EVERYWHERE);
    r.length("centre_distance", "centre distance", "中心距離", p.centre_distance, FIRST_OF_ALL);
    r.add("centre_distance_modification", "centre distance modification y", "中心距離修正係数 y", ROW_NUMBER,
          p.centre_distance_modification, "", NOT_IN_PANEL);
    r.length("tip_reduction", "tip reduction for the clearance", "頂げき確保のための歯先の切り下げ量",
             p.tip_reduction, NOT_IN_PANEL);
    r.length(nullptr, "tip diameter after the reduction", "切り下げ後の歯先円直径", p.reduced_tip_diameter,
             NOT_IN_PANEL);
    r.length(nullptr, "mate's tip diameter after it", "切り下げ後の相手歯車の歯先円直径",
             p.mate_reduced_tip_diameter, NOT_IN_PANEL);
    r.add("contact_ratio", "contact ratio", "かみあい率", ROW_NUMBER, p.contact_ratio, "", FIRST_OF_ALL);
    // A helical pair's, beside the transverse contact ratio above.
    if (p.overlap_ratio.known || p.overlap_ratio.reason != nullptr) {
        r.measure("overlap_ratio", "overlap ratio", "重なりかみあい率", p.overlap_ratio, EVERYWHERE);
        r.list.rows[r.list.count - 1].unit = "";
        r.measure("total_contact_ratio", "total contact ratio", "全かみあい率", p.total_contact_ratio,
                  EVERYWHERE);
        r.list.rows[r.list.count - 1].unit = "";
    }
    // Backlash, [least, greatest], where allowances or a tolerance are given.
    const bool backlash = p.backlash_given;
    const unsigned backlash_rows = backlash ? EVERYWHERE : JSON_ONLY;
    r.measure("centre_distance_tolerance", "centre distance tolerance (±)", "中心距離の許容差（±）",
              Measure{backlash, p.centre_distance_tolerance, nullptr}, backlash_rows);
    r.limits("normal_backlash", "normal backlash (least / greatest)", "法線方向バックラッシ（最小 / 最大）",
             backlash, p.normal_backlash, "mm");
    r.limits("circumferential_backlash", "circumferential backlash", "円周方向バックラッシ", backlash,
             p.circumferential_backlash, "mm");
    r.limits("angular_backlash", "angular backlash of the gear", "歯車の回転方向バックラッシ角", backlash,
             p.angular_backlash, "deg");
    r.limits("mate_angular_backlash", "angular backlash of the mate", "相手歯車の回転方向バックラッシ角",
             backlash, p.mate_angular_backlash, "deg");
    r.measure("least_recommended_backlash", "least recommended normal backlash", "推奨最小法線バックラッシ",
              Measure{backlash, p.least_recommended_backlash, nullptr}, backlash_rows);
    r.list.rows[r.list.count - 1].note = p.backlash_warning;
    r.yes_no("interference", "interference", "干渉", p.interference, EVERYWHERE);
    r.list.rows[r.list.count - 1].note = p.interference ? p.interference_text : nullptr;
    // A pinion inside a ring and its three interferences; false for an external pair.
    const unsigned internal_rows = p.internal ? EVERYWHERE : JSON_ONLY;
    r.yes_no("internal", "internal pair (a pinion inside a ring)", "内歯車とピニオンの組", p.internal,
             internal_rows);
    r.yes_no("involute_interference", "involute interference", "インボリュート干渉", p.involute_interference,
             internal_rows);
    r.yes_no("trochoid_interference", "trochoid interference", "トロコイド干渉", p.trochoid_interference,
             internal_rows);
    r.yes_no("trimming_interference", "trimming interference", "トリミング干渉", p.trimming_interference,
             internal_rows);
    r.list.rows[r.list.count - 1].note = p.trimming_text;
    return r.list;
}

void rows_in_inches(DataRows& rows) {
    for (int i = 0; i < rows.count; ++i) {
        DataRow& row = rows.rows[i];
        if (std::strcmp(row.unit, "mm") != 0) continue;
        row.value /= MM_PER_INCH;
        row.second /= MM_PER_INCH;
        row.unit = "in";
    }
}

void row_value_text(const DataRow& row, char* text, int capacity) {
    const size_t room = static_cast<size_t>(capacity);
    switch (row.kind) {
        case ROW_WHOLE:
            std::snprintf(text, room, "%d", static_cast<int>(row.value));
            return;
        case ROW_YES_NO:
            std::snprintf(text, room, "%s", row.value != 0.0 ? "yes" : "no");
            return;
        case ROW_WORD:
            std::snprintf(text, room, "%s", row.word != nullptr ? row.word : "");
            return;
        case ROW_MEASURE:
            if (!row.known) {
                std::snprintf(text, room, "-");
                return;
            }
            break;
        case ROW_NUMBER:
            break;
        case ROW_LIMITS:
            if (row.known)
                std::snprintf(text, room, "%.4f / %.4f", row.value, row.second);
            else
                std::snprintf(text, room, "-");
            return;
    }
    // A bound goes up to its next ten-thousandth; one that lies on a digit,
    // give or take rounding, stays there.
    const double value = row.rounded_up ? std::ceil(row.value * 1e4 - 1e-6) / 1e4 : row.value;
    const int length = std::snprintf(text, room, "%.4f", value);
    // A figure that rounds to zero is zero, without a sign.
    if (length == 7 && std::strcmp(text, "-0.0000") == 0) std::snprintf(text, room, "0.0000");
}

void row_value_and_unit(const DataRow& row, char* text, int capacity) {
    row_value_text(row, text, capacity);
    if (row.unit[0] == '\0' || !row.known) return;
    const size_t length = std::strlen(text);
    std::snprintf(text + length, static_cast<size_t>(capacity) - length, " %s", row.unit);
}
