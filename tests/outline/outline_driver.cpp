// The gear outline of any cutter, for tests/cli/outline_cut_test.py while the
// command line takes only the cutter rackgen teaches with:
//   outline_driver ANGLE ADDENDUM DEDENDUM TIP_RADIUS Z X MODULE TOLERANCE FILE
// writes FILE (.dxf, else SVG) as --gear would; exit 1 with the reason when
// the cutter or the gear is refused.
#include "outline/outline.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

static Gear gear;  // the gear whose outline is written

int main(int argc, char** argv) {
    if (argc != 10) {
        std::fprintf(stderr, "usage: %s ANGLE ADDENDUM DEDENDUM TIP_RADIUS Z X MODULE TOLERANCE FILE\n",
                     argv[0]);
        return 2;
    }
    const Cutter cutter = {std::atof(argv[1]), std::atof(argv[2]), std::atof(argv[3]), std::atof(argv[4])};
    const int z = std::atoi(argv[5]);
    const double x = std::atof(argv[6]);
    if (const char* refusal = gear_refusal(cutter, z, x)) {
        std::fprintf(stderr, "%s\n", refusal);
        return 1;
    }
    compute_gear(gear, cutter, z, x);
    const GearOutline outline = build_gear_outline(gear, x, std::atof(argv[7]), std::atof(argv[8]));
    const char* name = argv[9];
    const size_t length = std::strlen(name);
    const bool dxf = length > 4 && std::strcmp(name + length - 4, ".dxf") == 0;
    FILE* file = std::fopen(name, "w");
    if (file == nullptr) return 1;
    const bool written = dxf ? write_outlines_dxf_file(&outline, 1, file) : write_outlines_svg_file(&outline, 1, file);
    return std::fclose(file) == 0 && written ? 0 : 1;
}
