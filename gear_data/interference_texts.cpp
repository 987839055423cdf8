// The sentences that say how a pair's teeth interfere, in English and in
// Japanese: one place for the data's notes, the scene's legend and the page.
#include "gear_data/gear_data.hpp"
#include "gear_data/interference_texts.hpp"

const char* const EACH_DIGS = "each gear's tip digs into the other's root";
const char* const MATE_DIGS = "the mate's tip digs into the gear's root";
const char* const GEAR_DIGS = "the gear's tip digs into the mate's root";
const char* const RING_TIP_DIGS = "the ring's tip digs into the pinion's flank below its base circle";
const char* const RING_TIP_MAY_CLEAR =
    "the ring's tip digs into the pinion's flank below its base circle by the rule, though the pinion "
    "is undercut there and may clear it";
const char* const PINION_TIP_HITS = "the pinion's tip hits the ring's tooth as it leaves mesh";
const char* const PINION_GOES_IN_AXIALLY = "the pinion cannot be moved in or out radially: it goes in along its axis";

const char* interference_in_japanese(const char* text) {
    if (text == EACH_DIGS) return "両方の歯車の歯先が互いに相手の歯元に食い込みます";
    if (text == MATE_DIGS) return "相手歯車の歯先がこの歯車の歯元に食い込みます";
    if (text == GEAR_DIGS) return "この歯車の歯先が相手歯車の歯元に食い込みます";
    if (text == RING_TIP_DIGS) return "内歯車の歯先がピニオンの基礎円より内側の歯元に食い込みます";
    if (text == RING_TIP_MAY_CLEAR)
        return "計算上は内歯車の歯先がピニオンの基礎円より内側の歯元に食い込みますが、"
               "ピニオンはそこが切り下げられていて当たらないこともあります";
    if (text == PINION_TIP_HITS) return "かみあいを離れるピニオンの歯先が内歯車の歯に当たります";
    if (text == PINION_GOES_IN_AXIALLY) return "ピニオンは半径方向に抜き差しできず、軸方向に組み付けます";
    return text;
}
