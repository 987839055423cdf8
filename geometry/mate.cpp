// The mate a gear meshes with until the user chooses one. No state.
#include "geometry/geometry.hpp"

int default_mate_teeth(int z) {
    const int twice = 2 * z;
    return twice < DEFAULT_MATE_TEETH_MAX ? twice : DEFAULT_MATE_TEETH_MAX;
}
